#include "core/keymacro/key_macro_runner.h"

#include <algorithm>

#include "core/keymacro/key_macro_parser.h"
#include "core/keymacro/virtual_keys.h"

namespace sorvi {

KeyMacroRunner::KeyMacroRunner(KeyMacroSink& sink, int interval_paste_ms, int interval_default_ms)
    : sink_(sink), interval_paste_ms_(interval_paste_ms), interval_default_ms_(interval_default_ms) {}

void KeyMacroRunner::PlayKeyMacro(std::string_view macro) const {
  if (macro.empty()) return;
  const std::vector<KeyMacroAction> actions = ParseKeyMacro(macro, interval_default_ms_);

  // The user's clipboard, put back once the macro's pastes are done.
  const std::unique_ptr<ClipboardSnapshot> snapshot = sink_.SaveClipboard();
  bool pasted = false;

  for (const KeyMacroAction& action : actions) {
    if (sink_.Cancelled()) break;
    switch (action.kind) {
      case KeyMacroAction::Kind::KeyDown: sink_.KeyDown(action.key); break;
      case KeyMacroAction::Kind::KeyUp: sink_.KeyUp(action.key); break;
      case KeyMacroAction::Kind::KeysDone: sink_.ProcessPendingEvents(); break;
      case KeyMacroAction::Kind::PasteText:
        Paste(action.text);
        pasted = true;
        break;
      case KeyMacroAction::Kind::PasteSelectedCode: {
        // No selection: nothing to paste, and the clipboard is left alone.
        // A short caption is pasted whole.
        const std::string caption = sink_.SelectedNodeCaption();
        if (caption.empty()) break;
        Paste(caption.substr(0, kStockCodeBytes));
        pasted = true;
        break;
      }
      case KeyMacroAction::Kind::Wait: Wait(action.wait_ms); break;
    }
  }

  if (pasted && snapshot && !snapshot->Empty()) {
    sink_.ProcessPendingEvents();
    sink_.SleepMs(kClipboardRestoreDelayMs);
    sink_.RestoreClipboard(*snapshot);
  }
}

void KeyMacroRunner::Paste(const std::string& text) const {
  sink_.SetClipboardText(text);
  sink_.KeyDown(VK_CONTROL);
  sink_.KeyDown(VK_V);
  sink_.KeyUp(VK_V);
  sink_.KeyUp(VK_CONTROL);
  sink_.ProcessPendingEvents();

  // The page or applet needs time to take the text; give it more while some
  // program still has the clipboard open, but not forever.
  const int pause = std::clamp(interval_paste_ms_, 0, kMaxPastePauseMs);
  sink_.SleepMs(pause);
  const int step = std::max(pause, kWaitSliceMs);  // a zero pause must still make progress
  int extra = 0;
  while (extra < kClipboardBusyWaitLimitMs && !sink_.Cancelled() && sink_.ClipboardBusy()) {
    const int ms = std::min(step, kClipboardBusyWaitLimitMs - extra);
    sink_.SleepMs(ms);
    extra += ms;
  }
}

void KeyMacroRunner::Wait(int ms) const {
  // Sliced so that the window keeps answering during long waits.
  while (ms > 0 && !sink_.Cancelled()) {
    sink_.ProcessPendingEvents();
    sink_.SleepMs(kWaitSliceMs);
    ms -= kWaitSliceMs;
  }
}

}  // namespace sorvi
