// Pages that pages open: the new-window request, the pop-up's size, its
// placement at its first navigation, and the tab of a clicked page's family
// coming forward. The decisions are the navigation policy's; this side
// makes the widgets follow them.
#include <QElapsedTimer>
#include <QPalette>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "platform/cp932.h"
#include "platform/web_browser.h"
#include "tabs/tab_controller.h"

namespace sorvi {

namespace {

std::uint64_t TickCount() {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return static_cast<std::uint64_t>(clock.elapsed());
}

QScrollArea* ScrollBoxOf(const WebBrowser* browser) {
  QWidget* viewport = browser->parentWidget();
  return viewport ? qobject_cast<QScrollArea*>(viewport->parentWidget()) : nullptr;
}

}  // namespace

TabsView TabController::MakeTabsView() const {
  TabsView view;
  view.active_index = ActiveIndex();
  for (int i = 0; i < form_.PageControl->count(); ++i) {
    const BrowserTab* record = RecordAt(i);
    view.tabs.push_back(TabView{record->Browser ? record->Browser->Id() : 0, record->FrameName, record->Family});
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
  TFormMain& f = form_;
  // An earlier pop-up that never navigated is given up.
  if (policy_.new_window_pending()) Retire(BrowserById(policy_.pending_popup()));
  WebBrowser* popup = CreateBrowser(nullptr);
  PopupBrowser = popup;
  WireHandlers(popup);
  if (!f.Options.Client) WireSizeHandlers(popup);
  popup->SetRegisterAsBrowser(f.Options.LinkTarget);
  if (new_browser) *new_browser = popup;
  policy_.OnNewWindow(sender ? sender->Id() : 0, popup->Id(), f.Options.Client);
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
  const NavigationDecision decision =
      policy_.OnBeforeNavigate(sender->Id(), top_level, QStringToSjis(target_frame_name), QStringToSjis(url),
                               MakeTabsView(), form_.TabSerial);
  using Action = NavigationDecision::Action;
  WebBrowser* popup = decision.action == Action::Proceed ? nullptr : BrowserById(decision.popup);
  if (decision.action != Action::Proceed && popup) {
    if (decision.action == Action::TakeOverActiveTab) {
      TakeOverActiveTab(popup, decision.takeover, sender);
    } else {
      PlaceInNewTab(popup, decision.new_tab);
    }
    PopupBrowser = nullptr;
    if (decision.reissue_navigation) {
      // Loaded afresh: the announced request's post data, headers and
      // target are not carried over.
      popup->Navigate2(url);
      if (cancel) *cancel = true;
    }
    return;
  }
  if (decision.has_frame_name_update) {
    if (BrowserTab* record = RecordAt(decision.frame_name_update.tab_index))
      record->FrameName = decision.frame_name_update.name;
  }
  if (decision.activate_tab >= 0) SwitchWithBookkeeping(decision.activate_tab, sender);
}

void TabController::PlaceInNewTab(WebBrowser* popup, const NewTabPlacement& place) {
  TFormMain& f = form_;
  bool allow = true;
  PageControlChanging(nullptr, allow);
  PopupMenuTabLockClearClick();

  auto* sheet = new TabSheet(form_.PageControl);
  if (place.fill) {
    UnwireSizeHandlers(popup);
    popup->setParent(sheet);
    popup->SetFillsParent(true);
  } else {
    // The page keeps the size it asked for, scrolled when the tab is
    // smaller.
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* box = new QScrollArea(sheet);
    box->setObjectName(QStringLiteral("ScrollBox"));
    box->setBackgroundRole(QPalette::Window);
    box->viewport()->setBackgroundRole(QPalette::Window);
    box->viewport()->setAutoFillBackground(true);
    layout->addWidget(box);
    const QSize size = popup->size();
    box->setWidget(popup);
    popup->resize(size);
  }
  popup->show();
  popup->SetSilent(f.Options.Silent);

  BrowserTab* record = sheet->Tag();
  InitRecord(*record, popup);
  record->FrameName = place.frame_name;
  record->ReturnIndex = place.return_index;
  record->LoadKeyMacro.clear();
  record->LoadKeyMacroAddress.clear();
  record->Family = place.family;
  ++switching_by_code_;
  f.PageControl->insertTab(place.insert_index, sheet, QString());
  --switching_by_code_;
  ApplyPendingCaption(sheet);
  EnableTabControls();
  ActivateSheet(sheet);
}

void TabController::TakeOverActiveTab(WebBrowser* popup, const Takeover& takeover, WebBrowser* sender) {
  TFormMain& f = form_;
  TabSheet* sheet = SheetAt(takeover.tab_index);
  if (!sheet) return;
  BrowserTab* record = sheet->Tag();
  WebBrowser* old = record->Browser;
  UnwireSizeHandlers(popup);
  Retire(old);

  QScrollArea* box = old ? ScrollBoxOf(old) : nullptr;
  if (!box) {
    popup->setParent(sheet);
    popup->SetFillsParent(true);
    if (old) old->hide();
  } else {
    const QSize size = old->size();
    box->takeWidget();
    old->hide();
    box->setWidget(popup);
    popup->resize(size);
  }
  popup->show();
  popup->raise();
  popup->SetSilent(f.Options.Silent);
  record->Browser = popup;
  record->ActiveObject = nullptr;

  SwitchWithBookkeeping(takeover.tab_index, sender);
  // The new browser has no history yet; the engine reports only changes.
  record->CanGoBack = record->CanGoForward = false;
  f.ToolButtonGoBack->setEnabled(false);
  f.ToolButtonGoFoward->setEnabled(false);
}

void TabController::SwitchWithBookkeeping(int index, QObject* sender) {
  bool allow = true;
  PageControlChanging(sender, allow);
  ActivateSheet(form_.PageControl->widget(index));
  PageControlChange(sender);
}

void TabController::PageControlPagePressed(WebBrowser*) {
  BrowserTab* record = ActiveRecord();
  policy_.OnPageClick(record ? record->Family : 0, TickCount());
  LockPageClick();
}

void TabController::ReadFrameName(WebBrowser* browser) {
  if (!TabSheetOfBrowser(browser)) return;
  browser->RunJavaScript(QStringLiteral("window.name"), [this, browser](const QVariant& name) {
    // Called only while the browser lives; it may have left its tab since.
    if (TabSheet* sheet = TabSheetOfBrowser(browser)) sheet->Tag()->FrameName = QStringToSjis(name.toString());
  });
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
