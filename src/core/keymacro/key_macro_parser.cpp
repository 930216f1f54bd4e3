#include "core/keymacro/key_macro_parser.h"

#include <climits>
#include <span>

#include "core/keymacro/virtual_keys.h"

namespace sorvi {
namespace {

constexpr char kEscape = '\\';

struct KeyStroke {
  bool down;
  int key;
};

// The presses and releases of a key command, or an empty list when `letter`
// names no key command.
std::span<const KeyStroke> KeyCommand(char letter) {
  static constexpr KeyStroke kEnter[] = {{true, VK_RETURN}, {false, VK_RETURN}};
  static constexpr KeyStroke kTab[] = {{true, VK_TAB}, {false, VK_TAB}};
  static constexpr KeyStroke kShiftTab[] = {
      {true, VK_SHIFT}, {true, VK_TAB}, {false, VK_TAB}, {false, VK_SHIFT}};
  static constexpr KeyStroke kBack[] = {{true, VK_BACK}, {false, VK_BACK}};
  static constexpr KeyStroke kDelete[] = {{true, VK_DELETE}, {false, VK_DELETE}};
  static constexpr KeyStroke kSpace[] = {{true, VK_SPACE}, {false, VK_SPACE}};
  static constexpr KeyStroke kLeft[] = {{true, VK_LEFT}, {false, VK_LEFT}};
  static constexpr KeyStroke kRight[] = {{true, VK_RIGHT}, {false, VK_RIGHT}};
  static constexpr KeyStroke kUp[] = {{true, VK_UP}, {false, VK_UP}};
  static constexpr KeyStroke kDown[] = {{true, VK_DOWN}, {false, VK_DOWN}};
  static constexpr KeyStroke kHome[] = {{true, VK_HOME}, {false, VK_HOME}};
  static constexpr KeyStroke kEnd[] = {{true, VK_END}, {false, VK_END}};
  // Home, then Shift+End: selects the field's line.
  static constexpr KeyStroke kSelectLine[] = {{true, VK_HOME},  {false, VK_HOME},
                                              {true, VK_SHIFT}, {true, VK_END},
                                              {false, VK_END},  {false, VK_SHIFT}};
  auto list = [](const auto& strokes) { return std::span<const KeyStroke>(strokes); };
  switch (letter) {
    case 'r': return list(kEnter);
    case 't': return list(kTab);
    case 'T': return list(kShiftTab);
    case 'b': return list(kBack);
    case 'd': return list(kDelete);
    case 's': return list(kSpace);
    case 'L': return list(kLeft);
    case 'R': return list(kRight);
    case 'U': return list(kUp);
    case 'D': return list(kDown);
    case 'h': return list(kHome);
    case 'e': return list(kEnd);
    case 'S': return list(kSelectLine);
    default: return {};
  }
}

}  // namespace

std::optional<int> ReadKeyMacroInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // Accumulate towards the negative side, which holds one more value.
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 - (c - '0');
    if (value < INT_MIN) return std::nullopt;
  }
  if (!negative) {
    if (value < -static_cast<long long>(INT_MAX)) return std::nullopt;
    value = -value;
  }
  return static_cast<int>(value);
}

std::vector<KeyMacroAction> ParseKeyMacro(std::string_view macro, int interval_default_ms) {
  std::vector<KeyMacroAction> actions;
  auto paste = [&](std::string_view text) {
    actions.push_back(KeyMacroAction::Paste(std::string(text)));
  };

  // Position of the first ")" not before the scan position, kept between
  // "\w(" tokens so that a long macro without ")" is not searched again and
  // again.
  size_t close = 0;
  bool close_known = false;

  size_t pos = 0;
  while (pos < macro.size()) {
    const std::string_view rest = macro.substr(pos);
    if (rest[0] != kEscape) {
      const size_t end = rest.find(kEscape);
      const std::string_view run = rest.substr(0, end);
      paste(run);
      pos += run.size();
      continue;
    }
    if (rest.size() < 2) break;  // a lone backslash at the end is dropped

    const char command = rest[1];
    if (const auto strokes = KeyCommand(command); !strokes.empty()) {
      for (const KeyStroke& s : strokes) {
        actions.push_back(s.down ? KeyMacroAction::Down(s.key) : KeyMacroAction::Up(s.key));
      }
      actions.push_back(KeyMacroAction::Done());
      pos += 2;
    } else if (command == 'c') {
      actions.push_back(KeyMacroAction::PasteCode());
      pos += 2;
    } else if (command == 'w') {
      int wait_ms = interval_default_ms;
      size_t consumed = 2;
      if (rest.size() > 2 && rest[2] == '(') {
        if (!close_known || (close != std::string_view::npos && close < pos)) {
          close = macro.find(')', pos);
          close_known = true;
        }
        if (close != std::string_view::npos) {
          const size_t number_begin = pos + 3;
          const auto number = ReadKeyMacroInteger(macro.substr(number_begin, close - number_begin));
          wait_ms = number.value_or(kKeyMacroBadWaitMs);
          consumed = close + 1 - pos;
        }
      }
      actions.push_back(KeyMacroAction::Wait(wait_ms));
      pos += consumed;
    } else if (command == kEscape) {
      paste(rest.substr(0, 1));
      pos += 2;
    } else {
      pos += 1;  // unknown command: only the backslash goes
    }
  }
  return actions;
}

}  // namespace sorvi
