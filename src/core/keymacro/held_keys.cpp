#include "core/keymacro/held_keys.h"

namespace sorvi {

bool HeldKeys::Press(int key, uint32_t time_ms, bool marked_repeat) {
  KeyState& state = keys_[key];
  // Unsigned arithmetic keeps the distance right across the clock's wrap.
  const bool pair = state.released_at && time_ms != 0 && uint32_t(time_ms - *state.released_at) <= kRepeatPairMs;
  const bool repeat = marked_repeat || state.down || pair;
  state.down = true;
  state.released_at.reset();
  return !repeat;
}

void HeldKeys::Release(int key, uint32_t time_ms) {
  KeyState& state = keys_[key];
  state.down = false;
  if (time_ms != 0) {
    state.released_at = time_ms;
  } else {
    state.released_at.reset();
  }
}

}  // namespace sorvi
