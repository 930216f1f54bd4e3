// Pages that pages open: the new-window request, the pop-up's size, its
// placement at its first navigation, and the tab of a clicked page's family
// coming forward. The decisions are the navigation policy's; this side
// makes the widgets follow them.
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
  // The engine keeps its data beside the program's other files.
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

void TabController::WireSizeHandlers(WebBrowser* b) {
  connect(b, &WebBrowser::WindowSetWidth, this, &TabController::CppWebBrowserWindowSetWidth, Qt::DirectConnection);
  connect(b, &WebBrowser::WindowSetHeight, this, &TabController::CppWebBrowserWindowSetHeight, Qt::DirectConnection);
}

void TabController::UnwireSizeHandlers(WebBrowser* b) {
  disconnect(b, &WebBrowser::WindowSetWidth, this, nullptr);
  disconnect(b, &WebBrowser::WindowSetHeight, this, nullptr);
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

void TabController::CppWebBrowserNewWindow2(WebBrowser* sender, WebBrowser** new_browser) {
  // An earlier pop-up that never navigated is given up.
  if (policy_.new_window_pending()) Retire(BrowserById(policy_.pending_popup()));
  WebBrowser* popup = CreateBrowser();
  popup_browser_ = popup;
  if (!options_.Client) WireSizeHandlers(popup);
  popup->SetRegisterAsBrowser(options_.LinkTarget);
  if (new_browser) *new_browser = popup;
  policy_.OnNewWindow(sender ? sender->Id() : 0, popup->Id(), options_.Client);
}

void TabController::CppWebBrowserWindowSetWidth(WebBrowser* sender, int width) {
  disconnect(sender, &WebBrowser::WindowSetWidth, this, nullptr);
  if (!policy_.OnSizeRequest(sender->Id(), PageSize::Width)) return;
  sender->resize(width, sender->height());
}

void TabController::CppWebBrowserWindowSetHeight(WebBrowser* sender, int height) {
  disconnect(sender, &WebBrowser::WindowSetHeight, this, nullptr);
  if (!policy_.OnSizeRequest(sender->Id(), PageSize::Height)) return;
  sender->resize(sender->width(), height);
}

void TabController::CppWebBrowserBeforeNavigate2(WebBrowser* sender, const QString& url, bool top_level,
                                                 const QString& target_frame_name, bool* cancel) {
  const NavigationDecision decision = policy_.OnBeforeNavigate(
      sender->Id(), top_level, QStringToSjis(target_frame_name), QStringToSjis(url), MakeTabsView(), tab_serial_);
  using Action = NavigationDecision::Action;
  WebBrowser* popup = decision.action == Action::Proceed ? nullptr : BrowserById(decision.popup);
  if (decision.action != Action::Proceed && popup) {
    if (decision.action == Action::TakeOverActiveTab) {
      TakeOverActiveTab(popup, decision.takeover, sender);
    } else {
      PlaceInNewTab(popup, decision.new_tab);
    }
    popup_browser_ = nullptr;
    if (decision.reissue_navigation) {
      // Loaded afresh: the announced request's post data, headers and
      // target are not carried over.
      popup->Navigate2(url);
      if (cancel) *cancel = true;
    }
    return;
  }
  if (decision.has_frame_name_update) {
    if (BrowserTab* tab = TabAt(decision.frame_name_update.tab_index))
      tab->SetFrameName(decision.frame_name_update.name);
  }
  if (decision.activate_tab >= 0) SwitchWithBookkeeping(decision.activate_tab, sender);
}

void TabController::PlaceInNewTab(WebBrowser* popup, const NewTabPlacement& place) {
  LeaveActiveTab(nullptr);
  lock_->Clear();
  // A sized page keeps the size it asked for, scrolled when the tab is
  // smaller.
  if (place.fill) UnwireSizeHandlers(popup);
  BrowserTab* tab = AddTab(popup, place.fill, place.insert_index);
  tab->SetFrameName(place.frame_name);
  tab->SetReturnIndex(place.return_index);
  tab->SetFamily(place.family);
  tab->SetFixedCaption(std::string());
  OnTabsShown();
  ActivateTab(tab);
}

void TabController::TakeOverActiveTab(WebBrowser* popup, const Takeover& takeover, WebBrowser* sender) {
  BrowserTab* tab = TabAt(takeover.tab_index);
  if (!tab) return;
  UnwireSizeHandlers(popup);
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
