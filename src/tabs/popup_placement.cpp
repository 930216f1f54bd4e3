#include "tabs/popup_placement.h"

#include <QElapsedTimer>
#include <algorithm>

#include "platform/cp932.h"
#include "platform/web_browser.h"
#include "tabs/browser_tab.h"

namespace sorvi {

namespace {

std::uint64_t TickCount() {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return static_cast<std::uint64_t>(clock.elapsed());
}

}  // namespace

PopupPlacement::PopupPlacement(PopupHost& host, const AppOptions& options, const QString& data_dir, QObject* parent)
    : QObject(parent), host_(host), options_(options), data_dir_(data_dir) {}

WebBrowser* PopupPlacement::CreateBrowser() {
  // The engine keeps its data with the program's other data files.
  if (!WebEngine::IsStarted()) WebEngine::SetStoragePath(data_dir_ + "WebData");
  WebBrowser* browser = WebBrowser::Create(this);
  browsers_[browser->Id()] = browser;
  return browser;
}

void PopupPlacement::DeleteBrowsers() {
  for (auto& [id, browser] : browsers_) {
    if (browser) {
      browser->DisconnectAll();
      delete browser.data();
    }
  }
  browsers_.clear();
}

WebBrowser* PopupPlacement::BrowserById(BrowserId id) const {
  auto it = browsers_.find(id);
  return it == browsers_.end() ? nullptr : it->second.data();
}

void PopupPlacement::Retire(WebBrowser* browser) {
  if (!browser) return;
  browser->DisconnectAll();
  browser->Stop();
  browser->Quit();
}

BrowserTab* PopupPlacement::SleepingTarget(const WebBrowser* opener, const QString& name) const {
  if (!opener || name.isEmpty() || !options_.LinkTarget) return nullptr;
  const TabsView view = host_.PolicyView();
  const std::string frame_name = QStringToSjis(name);
  auto by_browser = [&view](BrowserId id) {
    return std::find_if(view.tabs.begin(), view.tabs.end(), [id](const TabView& t) { return t.browser == id; });
  };
  const auto opener_tab = by_browser(opener->Id());
  if (opener_tab == view.tabs.end()) return nullptr;
  for (size_t i = 0; i < view.tabs.size(); ++i) {
    const TabView& t = view.tabs[i];
    if (t.browser == 0 && t.family == opener_tab->family && t.frame_name == frame_name) {
      BrowserTab* tab = host_.TabAt(int(i));
      if (tab && tab->PageWaiting()) return tab;
    }
  }
  return nullptr;
}

WebBrowser* PopupPlacement::NewWindow2(WebBrowser* sender, const NewWindowRequest& request) {
  WebBrowser* popup = CreateBrowser();
  popup->SetRegisterAsBrowser(options_.LinkTarget);
  // A named window asleep: its tab takes the navigation, as a live page
  // of that name would have.
  if (BrowserTab* target = SleepingTarget(sender, request.targetName)) {
    host_.WakeWith(target, popup);
    return popup;
  }
  PopupRequest popup_request;
  popup_request.opener = sender ? sender->Id() : 0;
  popup_request.popup = popup->Id();
  popup_request.target = QStringToSjis(request.targetName);
  popup_request.url = QStringToSjis(request.url);
  popup_request.has_width = request.width > 0;
  popup_request.has_height = request.height > 0;
  popup_request.client_option = options_.Client;
  const NavigationDecision decision = policy_.OnNewWindow(popup_request, host_.PolicyView(), tab_serial_);
  if (decision.action == NavigationDecision::Action::TakeOverActiveTab) {
    TakeOverActiveTab(popup, decision.takeover, sender);
  } else {
    // Kept in a scroll box at the size asked for when it is not to fill.
    if (!decision.new_tab.fill) popup->resize(request.width, request.height);
    host_.AddPopupTab(popup, decision.new_tab);
  }
  return popup;
}

bool PopupPlacement::BeforeNavigate2(WebBrowser* sender, const QString&, bool top_level,
                                     const QString& target_frame_name) {
  const NavigationDecision decision =
      policy_.OnBeforeNavigate(sender->Id(), top_level, QStringToSjis(target_frame_name), host_.PolicyView());
  if (decision.has_frame_name_update) {
    if (BrowserTab* tab = host_.TabAt(decision.frame_name_update.tab_index))
      tab->SetFrameName(decision.frame_name_update.name);
  }
  if (decision.activate_tab >= 0) host_.SwitchWithBookkeeping(decision.activate_tab, sender);
  return true;
}

void PopupPlacement::TakeOverActiveTab(WebBrowser* popup, const Takeover& takeover, WebBrowser* sender) {
  BrowserTab* tab = host_.TabAt(takeover.tab_index);
  if (!tab) return;
  Retire(tab->Browser());
  tab->TakeOver(popup);
  popup->SetSilent(options_.Silent);
  host_.SwitchWithBookkeeping(takeover.tab_index, sender);
}

void PopupPlacement::PageClicked(int active_family) { policy_.OnPageClick(active_family, TickCount()); }

void PopupPlacement::IdleStep() {
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
