#pragma once
// Tells a user's presses of a key from the repeats of a held key. X repeats
// a held key as a release and a press stamped with the same moment, and the
// toolkit does not mark every such press as a repeat: a press is a repeat
// while its key is known to be down, and when it follows the key's release
// at once.
#include <cstdint>
#include <map>
#include <optional>

namespace sorvi {

// A release and a press of one key at most this far apart (window-system
// milliseconds) are a held key's repeat: no finger lifts and presses a key
// again that fast.
inline constexpr uint32_t kRepeatPairMs = 10;

class HeldKeys {
 public:
  // `time_ms`: the window system's time of the event, 0 when it is not
  // known (such a release is final). `marked_repeat`: the toolkit saw a
  // repeat. True for a new press, false for a repeat.
  bool Press(int key, uint32_t time_ms, bool marked_repeat);
  void Release(int key, uint32_t time_ms);
  // Forgets every key, e.g. when the program loses the keyboard and the
  // releases go elsewhere.
  void Clear() { keys_.clear(); }

 private:
  struct KeyState {
    bool down = false;
    // When the key was last released, if that moment is known.
    std::optional<uint32_t> released_at;
  };
  std::map<int, KeyState> keys_;
};

}  // namespace sorvi
