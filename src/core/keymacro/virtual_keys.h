#pragma once
// Virtual-key codes of the keys that key macros send and that key forwarding
// looks at. The values are the ones the pages and applets have always seen,
// so the platform layer maps them, not the other way round.

namespace sorvi {

enum VirtualKey : int {
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_SPACE = 0x20,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_DELETE = 0x2E,
  // Letter keys carry the code of their capital letter.
  VK_C = 0x43,
  VK_V = 0x56,
  VK_X = 0x58,
};

}  // namespace sorvi
