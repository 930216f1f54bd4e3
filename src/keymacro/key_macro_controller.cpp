#include "keymacro/key_macro_controller.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QThread>

#include "core/bookmarks/stock_selection.h"
#include "core/keymacro/key_macro_runner.h"
#include "core/settings/app_options.h"
#include "keymacro/qt_key_macro_sink.h"
#include "platform/confirm_box.h"
#include "platform/web_browser.h"

namespace sorvi {

namespace {

// How long ForceForeground waits for the window system to confirm the
// activation, so that the macro's first keys find the window's focus.
constexpr int kActivationWaitMs = 500;

// Navigation keys always, the clipboard shortcuts only with Ctrl.
bool IsForwardedKey(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down: return true;
    case Qt::Key_C:
    case Qt::Key_V:
    case Qt::Key_X: return key.modifiers().testFlag(Qt::ControlModifier);
    default: return false;
  }
}

}  // namespace

// One play: it types into the page of the tab that was active at its
// start, and only into it.
class KeyMacroController::Play final : public KeyMacroPlayHost {
 public:
  Play(KeyMacroController& player, QWidget* page) : player_(player), page_(page) {}

  WebBrowser* PlayBrowser() override { return page_ ? player_.pages_.BrowserOfPage(page_) : nullptr; }
  void PlayPageGone() override { player_.CancelPlay(QStringLiteral("タブが閉じられたため、キーマクロを中止しました")); }
  bool PlayCancelled() override { return player_.cancel_; }
  void PlayWaitsForFocus() override {
    emit player_.StatusNote(QStringLiteral("キーマクロはページにフォーカスが戻るのを待っています（Escで中止）"));
  }
  std::string PlaySelectedCaption() override { return player_.selection_.SelectedNodeCaption(); }

 private:
  KeyMacroController& player_;
  const QPointer<QWidget> page_;
};

KeyMacroController::KeyMacroController(ActivePageHost& pages, const StockSelection& selection,
                                       const AppOptions& options, QWidget* window)
    : QObject(window), pages_(pages), selection_(selection), options_(options), window_(window) {
  qApp->installEventFilter(this);
}

KeyMacroController::~KeyMacroController() {
  if (qApp) qApp->removeEventFilter(this);
}

void KeyMacroController::PlayKeyMacro(const std::string& macro) {
  QWidget* page = pages_.ActivePage();
  if (!page || macro.empty()) return;
  Play play(*this, page);
  QtKeyMacroSink sink(play);
  const KeyMacroRunner runner(sink, options_.IntervalPaste, options_.IntervalDefault);
  ++plays_;
  try {
    runner.PlayKeyMacro(macro);
  } catch (const KeyMacroError& error) {
    if (--plays_ == 0) cancel_ = false;
    ShowError(QString::fromUtf8(error.what()));
    return;
  }
  if (--plays_ == 0) cancel_ = false;
}

void KeyMacroController::CancelPlay(const QString& note) {
  if (plays_ == 0 || cancel_) return;
  cancel_ = true;
  emit StatusNote(note);
}

bool KeyMacroController::WatchForCancel(QObject* receiver, QEvent* event) {
  if (plays_ == 0) return false;
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
  if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) return false;
  if (!receiver->isWidgetType() || static_cast<QWidget*>(receiver)->window() != window_) return false;
  if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) return false;
  CancelPlay(QStringLiteral("キーマクロを中止しました"));
  event->accept();
  return true;
}

void KeyMacroController::ShowError(const QString& text) { ShowErrorBox(window_, text); }

void KeyMacroController::HandOver(QWidget* page, const std::string& macro) {
  macro_tab_ = page;
  macro_text_ = macro;
  pages_.SetMacroWaiting(page);
}

void KeyMacroController::IdleMacroStep() {
  if (macro_text_.empty()) return;
  const std::string macro = std::exchange(macro_text_, std::string());
  QWidget* tab = macro_tab_;
  macro_tab_ = nullptr;
  pages_.SetMacroWaiting(nullptr);
  // A macro for a tab that is gone or no longer shown is dropped.
  if (!tab || tab != pages_.ActivePage()) return;
  if (QApplication::activeWindow() != window_) ForceForeground();
  PlayKeyMacro(macro);
}

void KeyMacroController::ForceForeground() {
  if (QApplication::activeModalWidget()) return;
  window_->raise();
  window_->activateWindow();
  // X11 activates asynchronously; until the window system answers, the
  // focus widget is still the previous window's.
  QDeadlineTimer deadline(kActivationWaitMs);
  while (QApplication::activeWindow() != window_ && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (QApplication::activeWindow() != window_) QThread::msleep(1);
  }
}

bool KeyMacroController::eventFilter(QObject* watched, QEvent* event) {
  if (WatchForCancel(watched, event)) return true;
  return ApplicationEventsMessage(watched, event);
}

// The web engine's input widget takes Tab, Backtab, Enter, the arrows,
// Backspace and Ctrl+C/V/X itself: unlike browser controls hosted in a
// window whose dialog handling takes such keys before the page sees them,
// Qt diverts none of these keys once they are delivered to that widget.
// Where Qt does divert them, and what is handled here:
// - A widget around the input widget (the view, before the page has
//   rendered or when it has the focus itself) turns Tab and Backtab into
//   focus moves (QWidget::focusNextPrevChild) and ignores the other keys:
//   such keys are delivered to the input widget instead.
// - Shortcuts of the window are matched before a key is delivered, unless
//   the focus widget claims the key in its ShortcutOverride; the engine
//   claims the editing keys but not Backtab. What it does not claim is
//   claimed here for every forwarded key.
// - Enter is delivered as a Return press carrying the character 13, so that
//   the page always gets its keypress. It is delivered at once rather than
//   posted, so the page still sees press before release.
bool KeyMacroController::ApplicationEventsMessage(QObject* receiver, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
  if (event == delivering_) return false;
  QWidget* page = pages_.ActivePage();
  if (!page) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (!IsForwardedKey(*key)) return false;
  if (!receiver->isWidgetType()) return false;
  WebBrowser* browser = pages_.BrowserOfPage(page);
  if (!browser) return false;
  auto* widget = static_cast<QWidget*>(receiver);
  if (widget != browser && !browser->isAncestorOf(widget)) return false;
  if (browser->Busy()) return false;
  QWidget* input = browser->InputWidget();
  if (!input) return false;

  if (type == QEvent::ShortcutOverride) {
    // The engine's widget sees its own override first: it turns the editing
    // shortcuts into edit commands sent with the key. What it leaves
    // unclaimed comes up here and is claimed for the page.
    if (widget == input) return false;
    key->accept();
    return true;
  }
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  if (widget == input && !enter) return false;

  QKeyEvent forwarded(QEvent::KeyPress, enter ? int(Qt::Key_Return) : key->key(), key->modifiers(),
                      key->nativeScanCode(), key->nativeVirtualKey(), key->nativeModifiers(),
                      enter ? QStringLiteral("\r") : key->text(), key->isAutoRepeat(), key->count());
  const QEvent* outer = delivering_;
  delivering_ = &forwarded;
  QCoreApplication::sendEvent(input, &forwarded);
  delivering_ = outer;
  return true;
}

}  // namespace sorvi
