// What the pages report: title, status text, progress, back/forward state,
// the end of a load (and the load key macro's hand-over) and a page's wish
// to close its window.
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>
#include <QToolButton>

#include "app/main_window.h"
#include "core/tabs/tab_title.h"
#include "platform/cp932.h"
#include "platform/web_browser.h"
#include "tabs/tab_controller.h"

namespace sorvi {

namespace {

// The caption for a page title; titles the rule leaves whole keep every
// character, also those code page 932 cannot hold.
QString CaptionFromTitle(const QString& title) {
  const std::string bytes = QStringToSjis(title);
  const std::string caption = TabCaptionFromTitle(bytes);
  return caption == bytes ? title : SjisToQString(caption);
}

}  // namespace

void TabController::CppWebBrowserProgressChange(WebBrowser* sender, int progress, int progress_max) {
  if (!IsActiveBrowser(sender)) return;
  QProgressBar* bar = form_.ProgressBar;
  if (progress > 0) {
    if (progress_max > 0) bar->setValue(static_cast<int>(static_cast<long long>(progress) * 100 / progress_max));
    bar->show();
  } else {
    bar->hide();
  }
}

void TabController::CppWebBrowserStatusTextChange(WebBrowser* sender, const QString& text) {
  if (!IsActiveBrowser(sender)) return;
  form_.StatusPanel0->setText(text);
}

void TabController::CppWebBrowserTitleChange(WebBrowser* sender, const QString& text) {
  TabSheet* sheet = TabSheetOfBrowser(sender);
  if (!sheet || sheet->Tag()->FixedCaption) return;
  form_.PageControl->setTabText(form_.PageControl->indexOf(sheet), CaptionFromTitle(text));
}

void TabController::CppWebBrowserCommandStateChange(WebBrowser* sender, int command, bool enable) {
  if (!IsActiveBrowser(sender)) return;
  BrowserTab* record = ActiveRecord();
  switch (command) {
    case WebBrowser::kCommandAll:
      form_.ToolButtonStop->setEnabled(sender->Busy());
      break;
    case WebBrowser::kCommandForward:
      form_.ToolButtonGoFoward->setEnabled(enable);
      record->CanGoForward = enable;
      break;
    case WebBrowser::kCommandBack:
      form_.ToolButtonGoBack->setEnabled(enable);
      record->CanGoBack = enable;
      break;
    default:
      break;
  }
}

void TabController::CppWebBrowserDownloadBegin(WebBrowser* sender) {
  if (!IsActiveBrowser(sender) || !policy_.navigating()) return;
  lock_.DownloadBegin();
  ShowLock();
}

void TabController::CppWebBrowserDownloadComplete(WebBrowser* sender) {
  // Any tab: the engine names no target window, so the page's own name is
  // what later links and pop-ups aimed at it will use.
  ReadFrameName(sender);
  if (!IsActiveBrowser(sender)) return;
  const QString location = sender->LocationURL();
  if (location.isEmpty()) return;
  form_.ComboBoxURL->setEditText(location);
  form_.ToolButtonStop->setEnabled(false);
  if (policy_.EndNavigating()) {
    lock_.DownloadComplete();
    SyncLockTarget();
    ShowLock();
  }
  BrowserTab* record = ActiveRecord();
  if (!record->LoadKeyMacro.empty() && form_.ComboBoxURL->currentText() == record->LoadKeyMacroAddress) {
    MacroText = record->LoadKeyMacro;
    record->LoadKeyMacro.clear();
    MacroTab = ActiveSheet();
  }
}

void TabController::CppWebBrowserWindowClosing(WebBrowser* sender, bool* cancel) {
  TabSheet* sheet = TabSheetOfBrowser(sender);
  if (sheet) {
    if (sheet != ActiveSheet()) ActivateSheet(sheet);
    CloseRequested = true;
  }
  if (cancel) *cancel = true;
}

}  // namespace sorvi
