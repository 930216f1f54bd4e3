#pragma once
// Plays a key macro into whatever has the keyboard focus: keys as synthetic
// presses and releases, text through the clipboard and Ctrl+V. Everything
// that touches the system goes through a KeyMacroSink, so the player itself
// runs (and is tested) without a window system.
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sorvi {

// The clipboard could not be opened. The play stops at that token.
class KeyMacroError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Message of the KeyMacroError thrown when the clipboard cannot be opened.
inline constexpr const char* kClipboardOpenFailedMessage = "クリップボードを開けません";

// A copy of the user's clipboard taken before a play, in whatever form the
// sink keeps it (every format it held, not only text).
class ClipboardSnapshot {
 public:
  virtual ~ClipboardSnapshot() = default;
  // Nothing worth putting back: no content, or only an empty text.
  virtual bool Empty() const = 0;
};

class KeyMacroSink {
 public:
  virtual ~KeyMacroSink() = default;

  // Virtual-key codes as in virtual_keys.h.
  virtual void KeyDown(int vk) = 0;
  virtual void KeyUp(int vk) = 0;
  // Dispatches everything queued without waiting for more. May run any
  // handler of the program, including another play.
  virtual void ProcessPendingEvents() = 0;
  // Blocks without processing events.
  virtual void SleepMs(int ms) = 0;

  // The user's clipboard as it is now; never null.
  virtual std::unique_ptr<ClipboardSnapshot> SaveClipboard() = 0;
  // Puts a saved clipboard back exactly. Throws KeyMacroError when the
  // clipboard cannot be opened.
  virtual void RestoreClipboard(const ClipboardSnapshot& snapshot) = 0;
  // Clipboard texts to paste are Shift-JIS bytes. Throws KeyMacroError when
  // the clipboard cannot be opened.
  virtual void SetClipboardText(const std::string& sjis) = 0;
  // True while another program holds the clipboard open.
  virtual bool ClipboardBusy() = 0;

  // Caption of the node selected in the stock code tree; empty when none.
  virtual std::string SelectedNodeCaption() = 0;

  // True once the play is to stop (the user cancelled it, or what it types
  // into is gone). Asked before every token and every slice of a wait; the
  // user's clipboard is still put back.
  virtual bool Cancelled() { return false; }
};

// Longest extra pause, on top of the pause after a paste, spent waiting for
// another program to let go of the clipboard. Past it the play goes on.
inline constexpr int kClipboardBusyWaitLimitMs = 5000;
// Longest pause after a paste, the options dialog's largest interval.
// Nothing is processed during the pause, so a value from a damaged or
// hand-edited settings file (2147483647) would freeze the window for weeks.
inline constexpr int kMaxPastePauseMs = 3000;
// Pause before the user's clipboard text is put back after a play.
inline constexpr int kClipboardRestoreDelayMs = 100;
// Slice of a wait token; events are processed between slices.
inline constexpr int kWaitSliceMs = 10;
// Number of leading caption bytes that "\c" pastes: the stock code.
inline constexpr size_t kStockCodeBytes = 4;

class KeyMacroRunner {
 public:
  KeyMacroRunner(KeyMacroSink& sink, int interval_paste_ms, int interval_default_ms);

  // Plays `macro` synchronously. Holds no state between plays, so a play
  // started from inside another one (through ProcessPendingEvents) is safe.
  // A KeyMacroError from the clipboard ends the play at that token, leaves
  // the clipboard as it is and reaches the caller. A play the sink cancels
  // stops before its next token or wait slice.
  void PlayKeyMacro(std::string_view macro) const;

 private:
  void Paste(const std::string& text) const;
  void Wait(int ms) const;

  KeyMacroSink& sink_;
  int interval_paste_ms_;
  int interval_default_ms_;
};

}  // namespace sorvi
