#pragma once
// The key macro language: a Shift-JIS byte string turned into plain actions
// that KeyMacroRunner plays. Parsing needs nothing from the outside world;
// the selected stock's code ("\c") is looked up when it is played, unless
// the macro was bound to a stock before.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sorvi {

struct KeyMacroAction {
  enum class Kind {
    KeyDown,            // key
    KeyUp,              // key
    KeysDone,           // end of a key token: one pass of pending events
    PasteText,          // text
    PasteSelectedCode,  // "\c", resolved at play time
    Wait,               // wait_ms; 0 or less waits nothing
  };

  Kind kind = Kind::KeysDone;
  int key = 0;
  std::string text;
  int wait_ms = 0;

  static KeyMacroAction Down(int vk) { return {Kind::KeyDown, vk, {}, 0}; }
  static KeyMacroAction Up(int vk) { return {Kind::KeyUp, vk, {}, 0}; }
  static KeyMacroAction Done() { return {Kind::KeysDone, 0, {}, 0}; }
  static KeyMacroAction Paste(std::string t) { return {Kind::PasteText, 0, std::move(t), 0}; }
  static KeyMacroAction PasteCode() { return {Kind::PasteSelectedCode, 0, {}, 0}; }
  static KeyMacroAction Wait(int ms) { return {Kind::Wait, 0, {}, ms}; }

  bool operator==(const KeyMacroAction&) const = default;
};

// Wait length of "\w(...)" when the text between the parentheses is no number.
inline constexpr int kKeyMacroBadWaitMs = 100;

// Reads the number of a "\w(n)" token: an optional "+" or "-" followed by one
// or more decimal digits and nothing else (no blanks, no hex), within the
// range of int. Anything else is no number.
std::optional<int> ReadKeyMacroInteger(std::string_view text);

// Splits `macro` into actions, left to right, byte by byte. The backslash
// byte 0x5C is the escape wherever it stands, also as the second byte of a
// double-byte character. `interval_default_ms` is the length of a bare "\w".
std::vector<KeyMacroAction> ParseKeyMacro(std::string_view macro, int interval_default_ms);

// `macro` bound to one stock: each "\c" becomes `code`, the text "\c" would
// paste with that stock selected, so that the macro no longer reads the
// tree's selection when it plays. It plays the same keys, waits and text;
// the code may be pasted together with the text around it.
std::string ResolveSelectedCode(std::string_view macro, std::string_view code);

}  // namespace sorvi
