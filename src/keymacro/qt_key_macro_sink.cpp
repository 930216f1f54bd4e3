#include "keymacro/qt_key_macro_sink.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QThread>
#include <cstdio>
#include <QWidget>

#include "core/keymacro/virtual_keys.h"
#include "platform/cp932.h"

namespace sorvi {

// Clipboard text that notices when someone reads it after a Ctrl+V.
class PasteMimeData : public QMimeData {
 public:
  void Arm() {
    armed_ = true;
    fetched_ = false;
  }
  bool Fetched() const { return fetched_; }

 protected:
  QVariant retrieveData(const QString& mime_type, QMetaType type) const override {
    fprintf(stderr, "DBG retrieve %s armed=%d\n", qPrintable(mime_type), armed_);
    if (armed_ && mime_type.startsWith(QLatin1String("text/plain"))) fetched_ = true;
    return QMimeData::retrieveData(mime_type, type);
  }

 private:
  bool armed_ = false;
  mutable bool fetched_ = false;
};

QtKeyStroke QtKeyForVirtualKey(int vk, bool shift, bool control) {
  switch (vk) {
    case VK_BACK: return {Qt::Key_Backspace, "\b"};
    // Shift+Tab comes from the keyboard as Backtab without text; widgets
    // and the web engine both expect it so.
    case VK_TAB: return shift ? QtKeyStroke{Qt::Key_Backtab, {}} : QtKeyStroke{Qt::Key_Tab, "\t"};
    case VK_RETURN: return {Qt::Key_Return, "\r"};
    case VK_SHIFT: return {Qt::Key_Shift, {}};
    case VK_CONTROL: return {Qt::Key_Control, {}};
    case VK_SPACE: return {Qt::Key_Space, " "};
    case VK_END: return {Qt::Key_End, {}};
    case VK_HOME: return {Qt::Key_Home, {}};
    case VK_LEFT: return {Qt::Key_Left, {}};
    case VK_UP: return {Qt::Key_Up, {}};
    case VK_RIGHT: return {Qt::Key_Right, {}};
    case VK_DOWN: return {Qt::Key_Down, {}};
    case VK_DELETE: return {Qt::Key_Delete, {}};
    default: break;
  }
  if (vk >= '0' && vk <= '9') return {vk, QString(QChar(vk))};
  if (vk >= 'A' && vk <= 'Z') {
    // Ctrl with a letter types the control character, as a keyboard does.
    if (control) return {vk, QString(QChar(vk - 'A' + 1))};
    return {vk, QString(QChar(shift ? vk : vk - 'A' + 'a'))};
  }
  return {};
}

QtKeyMacroSink::QtKeyMacroSink(std::function<QWidget*()> fallback_target,
                               std::function<std::string()> selected_caption)
    : fallback_target_(std::move(fallback_target)), selected_caption_(std::move(selected_caption)) {}

QtKeyMacroSink::~QtKeyMacroSink() = default;

void QtKeyMacroSink::KeyDown(int vk) { PostKey(true, vk); }

void QtKeyMacroSink::KeyUp(int vk) { PostKey(false, vk); }

void QtKeyMacroSink::PostKey(bool press, int vk) {
  // The modifier's own event already carries its new state, as the
  // keyboard's does: Shift down comes with Shift, Shift up without.
  if (vk == VK_SHIFT) shift_down_ = press;
  if (vk == VK_CONTROL) control_down_ = press;
  if (press && vk == VK_V && control_down_ && clip_) {
    paste_ = clip_;
    paste_->Arm();
  }

  const QtKeyStroke stroke = QtKeyForVirtualKey(vk, shift_down_, control_down_);
  if (stroke.key == 0) return;
  QWidget* target = QApplication::focusWidget();
  if (!target && fallback_target_) target = fallback_target_();
  if (!target) return;

  Qt::KeyboardModifiers modifiers;
  if (shift_down_) modifiers |= Qt::ShiftModifier;
  if (control_down_) modifiers |= Qt::ControlModifier;
  // Posted, like keys from the keyboard: they queue behind what is already
  // there and reach the target, through the application's key filter, at
  // the next pass of event processing, in the order they were made.
  QCoreApplication::postEvent(
      target, new QKeyEvent(press ? QEvent::KeyPress : QEvent::KeyRelease, stroke.key, modifiers, stroke.text));
}

void QtKeyMacroSink::ProcessPendingEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  AwaitPasteFetch();
}

void QtKeyMacroSink::AwaitPasteFetch() {
  // The web engine's renderer takes a paste asynchronously: it asks this
  // thread for the clipboard text some time after the Ctrl+V was
  // delivered, and only while events are being processed. The pause after a
  // paste processes nothing, so without this the page would read the
  // clipboard only at the next token, after the next paste (or the restore
  // of the user's text) had replaced it. A widget that pastes synchronously
  // has read the text by now; one that ignores Ctrl+V costs the limit.
  QElapsedTimer timer;
  timer.start();
  while (paste_ && !paste_->Fetched() && timer.elapsed() < kPasteFetchLimitMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (paste_ && !paste_->Fetched()) QThread::msleep(1);
  }
  fprintf(stderr, "DBG await %lld ms fetched=%d\n", (long long)timer.elapsed(), paste_ ? paste_->Fetched() : -1);
  paste_ = nullptr;
}

void QtKeyMacroSink::SleepMs(int ms) {
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

bool QtKeyMacroSink::ClipboardHasText() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  return data && data->hasText();
}

std::string QtKeyMacroSink::ClipboardText() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard ? QStringToSjis(clipboard->text()) : std::string();
}

void QtKeyMacroSink::SetClipboardText(const std::string& sjis) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) throw KeyMacroError(kClipboardOpenFailedMessage);
  const QString text = SjisToQString(sjis);
  auto* data = new PasteMimeData;
  data->setText(text);
  clipboard->setMimeData(data);  // the clipboard owns it from here
  clip_ = data;
  paste_ = nullptr;
  // There is no clipboard to open here: the only sign of a clipboard that
  // cannot be used is one that does not hold what was just put into it (the
  // X selection could not be taken, or another program took it at once).
  const QMimeData* now = clipboard->mimeData();
  if (now != data && (!now || now->text() != text)) {
    clip_ = nullptr;
    throw KeyMacroError(kClipboardOpenFailedMessage);
  }
}

bool QtKeyMacroSink::ClipboardBusy() {
  // The X11 clipboard is a selection owned by one client and handed out on
  // request; nobody can hold it "open", so there is never anything to wait
  // for.
  return false;
}

std::string QtKeyMacroSink::SelectedNodeCaption() { return selected_caption_ ? selected_caption_() : std::string(); }

}  // namespace sorvi
