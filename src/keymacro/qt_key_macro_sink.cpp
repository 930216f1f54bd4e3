#include "keymacro/qt_key_macro_sink.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QThread>
#include <QWidget>
#include <utility>
#include <vector>

#include "core/keymacro/virtual_keys.h"
#include "platform/cp932.h"
#include "platform/web_browser.h"

namespace sorvi {

namespace {

// How long a play that waits for the focus sleeps between looks.
constexpr int kFocusPollMs = 10;

// Every format the clipboard held, as bytes, and its picture, which Qt
// keeps as an image rather than as bytes of a format.
class MimeSnapshot : public ClipboardSnapshot {
 public:
  explicit MimeSnapshot(const QMimeData* data) {
    if (!data) return;
    if (data->hasImage()) image_ = data->imageData();
    for (const QString& format : data->formats()) {
      if (format == QLatin1String("application/x-qt-image")) continue;
      formats_.emplace_back(format, data->data(format));
    }
  }

  bool Empty() const override {
    if (image_.isValid()) return false;
    for (const auto& format : formats_) {
      if (!format.second.isEmpty()) return false;
    }
    return true;
  }

  QMimeData* Copy() const {
    auto* data = new QMimeData;
    for (const auto& [format, bytes] : formats_) data->setData(format, bytes);
    if (image_.isValid()) data->setImageData(image_);
    return data;
  }

 private:
  std::vector<std::pair<QString, QByteArray>> formats_;
  QVariant image_;
};

}  // namespace

// Clipboard text that notes when it is read.
class PasteMimeData : public QMimeData {
 public:
  // Reads before this are the sink's own.
  void Arm() {
    armed_ = true;
    read_ = false;
  }
  bool Read() const { return read_; }
  qint64 MsSinceRead() const { return since_read_.elapsed(); }

 protected:
  QVariant retrieveData(const QString& mime_type, QMetaType type) const override {
    if (armed_ && mime_type.startsWith(QLatin1String("text/plain"))) {
      read_ = true;
      since_read_.start();
    }
    return QMimeData::retrieveData(mime_type, type);
  }

 private:
  bool armed_ = false;
  mutable bool read_ = false;
  mutable QElapsedTimer since_read_;
};

// Watches one Ctrl+V until the widget it went to has taken it.
//
// The web engine takes a paste asynchronously: its renderer gets the keys
// some time after they were delivered, and asks this thread for the
// clipboard text (once or more) only while events are being processed here.
// Once it has handled the keys it hands those the page left alone back to
// the view's parent. Normally the text is read while the renderer handles
// the V, so the release of Ctrl, the paste's last key, coming back means the
// reads are over. A page that has only just loaded may not take the V
// itself: the keys come back first and the engine pastes a little later,
// reading the clipboard more than once. A plain widget pastes at once,
// while it takes the V, and passes a Ctrl release it has no use for to its
// parent.
class PasteWatch : public QObject {
 public:
  PasteWatch(PasteMimeData* data, QWidget* target) : data_(data), target_(target) {
    data->Arm();
    qApp->installEventFilter(this);
  }
  ~PasteWatch() override { qApp->removeEventFilter(this); }

  bool Taken() const {
    if (!data_) return true;  // the clipboard has another owner now
    if (data_->Read()) {
      // Read while the keys were handled: done. Read after they came back,
      // or without their coming back at all (a page that keeps its key
      // releases to itself): done once no read has come for a while.
      if (handed_back_ && !read_late_) return true;
      return data_->MsSinceRead() >= kPasteSettleMs;
    }
    // Keys back and nothing read yet: the page may still paste late, or the
    // focus is where nothing can be pasted.
    return handed_back_ && since_handed_back_.elapsed() >= kPasteLateMs;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (handed_back_ || event->type() != QEvent::KeyRelease || !watched->isWidgetType() ||
        static_cast<QKeyEvent*>(event)->key() != Qt::Key_Control) {
      return false;
    }
    // A Ctrl release coming back from the engine or passed up to a parent;
    // or reaching the target after it has read the text.
    if (watched != target_ || (data_ && data_->Read())) {
      handed_back_ = true;
      read_late_ = !data_ || !data_->Read();
      since_handed_back_.start();
    }
    return false;
  }

 private:
  QPointer<PasteMimeData> data_;
  QPointer<QWidget> target_;
  bool handed_back_ = false;
  bool read_late_ = false;
  QElapsedTimer since_handed_back_;
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

QtKeyMacroSink::QtKeyMacroSink(KeyMacroPlayHost& host) : host_(host) {}

QtKeyMacroSink::~QtKeyMacroSink() = default;

void QtKeyMacroSink::KeyDown(int vk) { PostKey(true, vk); }

void QtKeyMacroSink::KeyUp(int vk) { PostKey(false, vk); }

void QtKeyMacroSink::PostKey(bool press, int vk) {
  // The modifier's own event already carries its new state, as the
  // keyboard's does: Shift down comes with Shift, Shift up without.
  if (vk == VK_SHIFT) shift_down_ = press;
  if (vk == VK_CONTROL) control_down_ = press;

  const QtKeyStroke stroke = QtKeyForVirtualKey(vk, shift_down_, control_down_);
  if (stroke.key == 0) return;
  QWidget* target = AwaitTarget();
  if (!target) return;

  if (press && vk == VK_V && control_down_ && clip_) paste_ = std::make_unique<PasteWatch>(clip_, target);

  Qt::KeyboardModifiers modifiers;
  if (shift_down_) modifiers |= Qt::ShiftModifier;
  if (control_down_) modifiers |= Qt::ControlModifier;
  // Posted, like keys from the keyboard: they queue behind what is already
  // there and reach the target, through the application's key filter, at
  // the next pass of event processing, in the order they were made.
  QCoreApplication::postEvent(
      target, new QKeyEvent(press ? QEvent::KeyPress : QEvent::KeyRelease, stroke.key, modifiers, stroke.text));
}

QWidget* QtKeyMacroSink::AwaitTarget() {
  // A key typed into a dialog or a menu would act there (Enter would press
  // a dialog's default button): keys go only into the play's page.
  for (bool told = false;; told = true) {
    if (Cancelled()) return nullptr;
    WebBrowser* page = host_.PlayBrowser();
    const bool unblocked = !QApplication::activeModalWidget() && !QApplication::activePopupWidget();
    QWidget* focus = QApplication::focusWidget();
    if (unblocked && focus && (focus == page || page->isAncestorOf(focus))) return focus;
    if (unblocked && !focus) {
      const QWidget* active = QApplication::activeWindow();
      if (!active || active == page->window()) {
        if (QWidget* input = page->InputWidget()) return input;
      }
    }
    if (!told) host_.PlayWaitsForFocus();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QThread::msleep(kFocusPollMs);
  }
}

bool QtKeyMacroSink::Cancelled() {
  if (host_.PlayCancelled()) return true;
  if (host_.PlayBrowser()) return false;
  if (!gone_) {
    gone_ = true;
    host_.PlayPageGone();
  }
  return true;
}

void QtKeyMacroSink::ProcessPendingEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (paste_) AwaitPasteTaken();
}

void QtKeyMacroSink::AwaitPasteTaken() {
  // The pause after a paste processes no events; if the page had not taken
  // the text before it, it would read the clipboard only after the next
  // paste (or the restore of the user's text) had replaced it.
  QElapsedTimer timer;
  timer.start();
  while (!paste_->Taken() && !Cancelled() && timer.elapsed() < kPasteTakeLimitMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (!paste_->Taken()) QThread::msleep(1);
  }
  paste_.reset();
}

void QtKeyMacroSink::SleepMs(int ms) {
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

std::unique_ptr<ClipboardSnapshot> QtKeyMacroSink::SaveClipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  return std::make_unique<MimeSnapshot>(clipboard ? clipboard->mimeData() : nullptr);
}

void QtKeyMacroSink::RestoreClipboard(const ClipboardSnapshot& snapshot) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) throw KeyMacroError(kClipboardOpenFailedMessage);
  clip_ = nullptr;
  clipboard->setMimeData(static_cast<const MimeSnapshot&>(snapshot).Copy());  // the clipboard owns it
}

void QtKeyMacroSink::SetClipboardText(const std::string& sjis) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) throw KeyMacroError(kClipboardOpenFailedMessage);
  const QString text = SjisToQString(sjis);
  auto* data = new PasteMimeData;
  data->setText(text);
  clipboard->setMimeData(data);  // the clipboard owns it from here
  clip_ = data;
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

std::string QtKeyMacroSink::SelectedNodeCaption() { return host_.PlaySelectedCaption(); }

}  // namespace sorvi
