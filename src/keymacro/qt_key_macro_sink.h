#pragma once
// The key macro player's connection to Qt: keys become QKeyEvents for the
// widget with the keyboard focus inside the play's page, pastes go through
// the system clipboard and a Ctrl+V, pauses block the UI thread.
#include <QPointer>
#include <QString>
#include <memory>
#include <string>

#include "core/keymacro/key_macro_runner.h"

class QWidget;

namespace sorvi {

class WebBrowser;

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

// What a play asks of whoever runs it.
class KeyMacroPlayHost {
 public:
  // The browser the play types into; null once its tab is gone (the play
  // then ends and PlayPageGone is called once).
  virtual WebBrowser* PlayBrowser() = 0;
  virtual void PlayPageGone() = 0;
  // True ends the play.
  virtual bool PlayCancelled() = 0;
  // Called once each time a key has to wait for the focus to come back.
  virtual void PlayWaitsForFocus() = 0;
  // The Shift-JIS caption of the code tree's selected node ("" for none).
  virtual std::string PlaySelectedCaption() = 0;

 protected:
  ~KeyMacroPlayHost() = default;
};

class QtKeyMacroSink : public KeyMacroSink {
 public:
  // Keys go to the focused widget inside the host's browser; while the
  // focus is elsewhere (a dialog, a menu, another widget of the window) the
  // play waits. While no widget of the program has the focus (the
  // activation is on its way) they go to the page's input widget.
  explicit QtKeyMacroSink(KeyMacroPlayHost& host);
  ~QtKeyMacroSink() override;

  void KeyDown(int vk) override;
  void KeyUp(int vk) override;
  // One pass over the queued events; after a paste, as many as it takes for
  // the focused widget to take the pasted text.
  void ProcessPendingEvents() override;
  void SleepMs(int ms) override;

  std::unique_ptr<ClipboardSnapshot> SaveClipboard() override;
  void RestoreClipboard(const ClipboardSnapshot& snapshot) override;
  void SetClipboardText(const std::string& sjis) override;
  bool ClipboardBusy() override;

  std::string SelectedNodeCaption() override;
  bool Cancelled() override;

 private:
  void PostKey(bool press, int vk);
  // The widget a key is to go to, once there is one; null when the play
  // ended meanwhile.
  QWidget* AwaitTarget();
  void AwaitPasteTaken();

  KeyMacroPlayHost& host_;
  bool gone_ = false;
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
