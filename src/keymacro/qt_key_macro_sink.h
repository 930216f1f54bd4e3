#pragma once
// The key macro player's connection to Qt: keys become QKeyEvents for the
// widget with the keyboard focus, pastes go through the system clipboard and
// a Ctrl+V, pauses block the UI thread.
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "core/keymacro/key_macro_runner.h"

class QWidget;

namespace sorvi {

class PasteMimeData;
class PasteWatch;

// The event processing after a paste goes on until the focused widget has
// taken the paste, but no longer than this.
inline constexpr int kPasteTakeLimitMs = 1000;
// A page that read the clipboard but hides its key releases from the
// program is taken to be done once it has not read it again for this long.
inline constexpr int kPasteSettleMs = 100;
// A widget that handed the paste keys back without reading the clipboard is
// given this long to read it still.
inline constexpr int kPasteLateMs = 300;

// The Qt key and the text a keyboard would give for virtual key `vk` with
// Shift and Ctrl as given. Key 0 for a code this program never sends.
struct QtKeyStroke {
  int key = 0;
  QString text;
};
QtKeyStroke QtKeyForVirtualKey(int vk, bool shift, bool control);

class QtKeyMacroSink : public KeyMacroSink {
 public:
  // `fallback_target` receives the keys while no widget of the program has
  // the keyboard focus (the program is not the active one); it may return
  // null, and the keys are then dropped. `selected_caption` gives the
  // Shift-JIS caption of the code tree's selected node ("" for none).
  QtKeyMacroSink(std::function<QWidget*()> fallback_target, std::function<std::string()> selected_caption);
  ~QtKeyMacroSink() override;

  void KeyDown(int vk) override;
  void KeyUp(int vk) override;
  // One pass over the queued events; after a paste, as many as it takes for
  // the focused widget to take the pasted text.
  void ProcessPendingEvents() override;
  void SleepMs(int ms) override;

  bool ClipboardHasText() override;
  std::string ClipboardText() override;
  void SetClipboardText(const std::string& sjis) override;
  bool ClipboardBusy() override;

  std::string SelectedNodeCaption() override;

 private:
  void PostKey(bool press, int vk);
  void AwaitPasteTaken();

  std::function<QWidget*()> fallback_target_;
  std::function<std::string()> selected_caption_;
  // Modifier keys this sink holds down; later keys carry them.
  bool shift_down_ = false;
  bool control_down_ = false;
  // What this sink last put on the clipboard; null once another owner has
  // taken the clipboard.
  QPointer<PasteMimeData> clip_;
  // A Ctrl+V sent and not yet taken.
  std::unique_ptr<PasteWatch> paste_;
};

}  // namespace sorvi
