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
  static constexpr KeyStroke kShiftTab[] = {{true, VK_SHIFT}, {true, VK_TAB}, {false, VK_TAB}, {false, VK_SHIFT}};
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
  static constexpr KeyStroke kSelectLine[] = {{true, VK_HOME}, {false, VK_HOME}, {true, VK_SHIFT},
                                              {true, VK_END},  {false, VK_END},  {false, VK_SHIFT}};
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

namespace {

// Reads the macro token by token, as the player does.
class TokenReader {
 public:
  TokenReader(std::string_view macro, int interval_default_ms)
      : macro_(macro), interval_default_ms_(interval_default_ms) {}

  bool AtEnd() const { return pos_ >= macro_.size(); }
  size_t Pos() const { return pos_; }
  // "\w(" without any ")" after it: a wait of the default length, the "("
  // and what follows it being text.
  bool LastWasUnclosedWait() const { return unclosed_wait_; }

  // Appends the actions of the token at the read position and moves past it.
  void Next(std::vector<KeyMacroAction>& actions) {
    unclosed_wait_ = false;
    const std::string_view rest = macro_.substr(pos_);
    if (rest[0] != kEscape) {
      const std::string_view run = rest.substr(0, rest.find(kEscape));
      actions.push_back(KeyMacroAction::Paste(std::string(run)));
      pos_ += run.size();
      return;
    }
    if (rest.size() < 2) {  // a lone backslash at the end is dropped
      pos_ = macro_.size();
      return;
    }
    const char command = rest[1];
    if (const auto strokes = KeyCommand(command); !strokes.empty()) {
      for (const KeyStroke& s : strokes) {
        actions.push_back(s.down ? KeyMacroAction::Down(s.key) : KeyMacroAction::Up(s.key));
      }
      actions.push_back(KeyMacroAction::Done());
      pos_ += 2;
    } else if (command == 'c') {
      actions.push_back(KeyMacroAction::PasteCode());
      pos_ += 2;
    } else if (command == 'w') {
      int wait_ms = interval_default_ms_;
      size_t consumed = 2;
      if (rest.size() > 2 && rest[2] == '(') {
        if (!close_known_ || (close_ != std::string_view::npos && close_ < pos_)) {
          close_ = macro_.find(')', pos_);
          close_known_ = true;
        }
        if (close_ != std::string_view::npos) {
          const size_t number_begin = pos_ + 3;
          const auto number = ReadKeyMacroInteger(macro_.substr(number_begin, close_ - number_begin));
          wait_ms = number.value_or(kKeyMacroBadWaitMs);
          consumed = close_ + 1 - pos_;
        } else {
          unclosed_wait_ = true;
        }
      }
      actions.push_back(KeyMacroAction::Wait(wait_ms));
      pos_ += consumed;
    } else if (command == kEscape) {
      actions.push_back(KeyMacroAction::Paste(std::string(rest.substr(0, 1))));
      pos_ += 2;
    } else {
      pos_ += 1;  // unknown command: only the backslash goes
    }
  }

 private:
  std::string_view macro_;
  int interval_default_ms_;
  size_t pos_ = 0;
  // Position of the first ")" not before the read position, kept between
  // "\w(" tokens so that a long macro without ")" is not searched again and
  // again.
  size_t close_ = 0;
  bool close_known_ = false;
  bool unclosed_wait_ = false;
};

}  // namespace

std::vector<KeyMacroAction> ParseKeyMacro(std::string_view macro, int interval_default_ms) {
  std::vector<KeyMacroAction> actions;
  TokenReader reader(macro, interval_default_ms);
  while (!reader.AtEnd()) reader.Next(actions);
  return actions;
}

std::string ResolveSelectedCode(std::string_view macro, std::string_view code) {
  std::string out;
  out.reserve(macro.size() + code.size());
  TokenReader reader(macro, 0);
  std::vector<KeyMacroAction> actions;
  while (!reader.AtEnd()) {
    const size_t begin = reader.Pos();
    actions.clear();
    reader.Next(actions);
    const std::string_view token = macro.substr(begin, reader.Pos() - begin);
    if (actions.size() == 1 && actions[0].kind == KeyMacroAction::Kind::PasteSelectedCode) {
      for (size_t i = 0; i < code.size(); ++i) {
        // A backslash is pasted through its escape; a leading "(" must not
        // become the number of a bare "\w" before it.
        if (code[i] == kEscape || (i == 0 && code[i] == '(')) out += kEscape;
        out += code[i];
      }
    } else if (reader.LastWasUnclosedWait()) {
      // The same wait, written so that a ")" in a code pasted later does
      // not close it.
      out += "\\w\\";
    } else {
      out.append(token);
    }
  }
  return out;
}

}  // namespace sorvi
