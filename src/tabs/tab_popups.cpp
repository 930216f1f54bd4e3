// Pages that pages open: the new-window request placing its pop-up at once
// with the name and size the page asked for, the names of the windows pages
// aim at, and the tab of a clicked page's family coming forward. The
// decisions are the navigation policy's; this side makes the widgets follow
// them.
#include <QElapsedTimer>
#include <QTabWidget>

#include "platform/cp932.h"
#include "platform/web_browser.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_lock.h"

namespace sorvi {

namespace {

std::uint64_t TickCount() {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return static_cast<std::uint64_t>(clock.elapsed());
}

}  // namespace

WebBrowser* TabController::CreateBrowser() {
  // The engine keeps its data with the program's other data files.
  if (!WebEngine::IsStarted()) WebEngine::SetStoragePath(exe_dir_ + "WebData");
  WebBrowser* browser = WebBrowser::Create(nullptr);
  browsers_[browser->Id()] = browser;
  WirePolicy(browser);
  return browser;
}

void TabController::WirePolicy(WebBrowser* b) {
  const auto direct = Qt::DirectConnection;
  connect(b, &WebBrowser::BeforeNavigate2, this, &TabController::CppWebBrowserBeforeNavigate2, direct);
  connect(b, &WebBrowser::NewWindow2, this, &TabController::CppWebBrowserNewWindow2, direct);
}

TabsView TabController::MakeTabsView() const {
  TabsView view;
  view.active_index = ActiveIndex();
  for (int i = 0; i < Count(); ++i) {
    const BrowserTab* tab = TabAt(i);
    view.tabs.push_back(TabView{tab->Browser() ? tab->Browser()->Id() : 0, tab->FrameName(), tab->Family()});
  }
  return view;
}

WebBrowser* TabController::BrowserById(BrowserId id) const {
  auto it = browsers_.find(id);
  return it == browsers_.end() ? nullptr : it->second.data();
}

void TabController::Retire(WebBrowser* browser) {
  if (!browser) return;
  browser->DisconnectAll();
  browser->Stop();
  browser->Quit();
}

void TabController::CppWebBrowserNewWindow2(WebBrowser* sender, const NewWindowRequest& request,
                                            WebBrowser** new_browser) {
  WebBrowser* popup = CreateBrowser();
  popup->SetRegisterAsBrowser(options_.LinkTarget);
  PopupRequest popup_request;
  popup_request.opener = sender ? sender->Id() : 0;
  popup_request.popup = popup->Id();
  popup_request.target = QStringToSjis(request.targetName);
  popup_request.url = QStringToSjis(request.url);
  popup_request.has_width = request.width > 0;
  popup_request.has_height = request.height > 0;
  popup_request.client_option = options_.Client;
  const NavigationDecision decision = policy_.OnNewWindow(popup_request, MakeTabsView(), tab_serial_);
  if (decision.action == NavigationDecision::Action::TakeOverActiveTab) {
    TakeOverActiveTab(popup, decision.takeover, sender);
  } else {
    // Kept in a scroll box at the size asked for when it is not to fill.
    if (!decision.new_tab.fill) popup->resize(request.width, request.height);
    PlaceInNewTab(popup, decision.new_tab);
  }
  if (new_browser) *new_browser = popup;
}

void TabController::CppWebBrowserBeforeNavigate2(WebBrowser* sender, const QString&, bool top_level,
                                                 const QString& target_frame_name, bool*) {
  const NavigationDecision decision =
      policy_.OnBeforeNavigate(sender->Id(), top_level, QStringToSjis(target_frame_name), MakeTabsView());
  if (decision.has_frame_name_update) {
    if (BrowserTab* tab = TabAt(decision.frame_name_update.tab_index))
      tab->SetFrameName(decision.frame_name_update.name);
  }
  if (decision.activate_tab >= 0) SwitchWithBookkeeping(decision.activate_tab, sender);
}

void TabController::PlaceInNewTab(WebBrowser* popup, const NewTabPlacement& place) {
  LeaveActiveTab(nullptr);
  lock_->Clear();
  BrowserTab* tab = AddTab(popup, place.fill, place.insert_index, std::string());
  tab->SetFrameName(place.frame_name);
  tab->SetReturnIndex(place.return_index);
  tab->SetFamily(place.family);
  OnTabsShown();
  ActivateTab(tab);
}

void TabController::TakeOverActiveTab(WebBrowser* popup, const Takeover& takeover, WebBrowser* sender) {
  BrowserTab* tab = TabAt(takeover.tab_index);
  if (!tab) return;
  Retire(tab->Browser());
  tab->TakeOver(popup);
  popup->SetSilent(options_.Silent);
  SwitchWithBookkeeping(takeover.tab_index, sender);
}

void TabController::OnPagePressed() {
  BrowserTab* tab = ActiveTab();
  policy_.OnPageClick(tab ? tab->Family() : 0, TickCount());
  lock_->PageClick();
}

void TabController::PolicyIdleSteps() {
  for (BrowserId id : policy_.OnIdle(TickCount())) {
    if (WebBrowser* browser = BrowserById(id)) {
      browser->DisconnectAll();
      // Outside every notification now, but possibly inside a nested loop
      // one of them started: let the event loop pick the moment.
      browser->deleteLater();
    }
  }
  // Forget the browsers that are gone (the list keeps those still waiting
  // for their deletion, so that the window's end can delete them).
  for (auto it = browsers_.begin(); it != browsers_.end();) {
    it = it->second ? std::next(it) : browsers_.erase(it);
  }
}

}  // namespace sorvi
