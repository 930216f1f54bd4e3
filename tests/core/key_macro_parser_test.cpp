// The parser on its own: which actions a macro text becomes, and how the
// number of a wait token is read.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/keymacro/key_macro_parser.h"
#include "core/keymacro/virtual_keys.h"

namespace sorvi {

void PrintTo(const KeyMacroAction& a, std::ostream* os) {
  using K = KeyMacroAction::Kind;
  switch (a.kind) {
    case K::KeyDown: *os << "down " << a.key; break;
    case K::KeyUp: *os << "up " << a.key; break;
    case K::KeysDone: *os << "keys-done"; break;
    case K::PasteText: *os << "paste \"" << a.text << '"'; break;
    case K::PasteSelectedCode: *os << "paste-code"; break;
    case K::Wait: *os << "wait " << a.wait_ms; break;
  }
}

namespace {

constexpr int kDefaultMs = 70;
using K = KeyMacroAction::Kind;
using Actions = std::vector<KeyMacroAction>;

KeyMacroAction Text(std::string t) { return KeyMacroAction::Paste(std::move(t)); }
KeyMacroAction Wait(int ms) { return KeyMacroAction::Wait(ms); }

TEST(ReadKeyMacroIntegerTest, AcceptsSignedDecimalWithinInt) {
  EXPECT_EQ(ReadKeyMacroInteger("500"), 500);
  EXPECT_EQ(ReadKeyMacroInteger("+7"), 7);
  EXPECT_EQ(ReadKeyMacroInteger("-5"), -5);
  EXPECT_EQ(ReadKeyMacroInteger("007"), 7);
  EXPECT_EQ(ReadKeyMacroInteger("0"), 0);
  EXPECT_EQ(ReadKeyMacroInteger("2147483647"), INT_MAX);
  EXPECT_EQ(ReadKeyMacroInteger("-2147483648"), INT_MIN);
}

TEST(ReadKeyMacroIntegerTest, RejectsEverythingElse) {
  for (const char* text : {"", "+", "-", "+-1", " 5", "5 ", "$1F", "0x10", "1e3", "5.0", "50\\r", "2147483648",
                           "-2147483649", "99999999999999999999999"}) {
    EXPECT_EQ(ReadKeyMacroInteger(text), std::nullopt) << '"' << text << '"';
  }
  EXPECT_EQ(ReadKeyMacroInteger(std::string("1\0"
                                            "2",
                                            3)),
            std::nullopt);
}

TEST(ParseKeyMacroTest, ActionsOfEachToken) {
  const struct {
    std::string macro;
    int default_ms;
    Actions actions;
  } rows[] = {
      // A key token ends with one pass; the selected code is left to the player.
      {"\\r", kDefaultMs, {KeyMacroAction::Down(VK_RETURN), KeyMacroAction::Up(VK_RETURN), KeyMacroAction::Done()}},
      {"\\cx", kDefaultMs, {KeyMacroAction::PasteCode(), Text("x")}},
      {"\\w", 0, {Wait(0)}},
      {"\\w()", kDefaultMs, {Wait(kKeyMacroBadWaitMs)}},
      {"\\w(2147483648)", kDefaultMs, {Wait(kKeyMacroBadWaitMs)}},
      // A "(" not right after "\w" is plain text.
      {"\\wx(5)", kDefaultMs, {Wait(kDefaultMs), Text("x(5)")}},
      // The first ")" closes, even one that belongs to a later token; each wait
      // finds its own.
      {"\\w(\\w(5)x", kDefaultMs, {Wait(kKeyMacroBadWaitMs), Text("x")}},
      {"\\w(30)\\w(40)", kDefaultMs, {Wait(30), Wait(40)}},
      {"\\w(30)\\w(4", kDefaultMs, {Wait(30), Wait(kDefaultMs), Text("(4")}},
      {"\\w(\\w(", kDefaultMs, {Wait(kDefaultMs), Text("("), Wait(kDefaultMs), Text("(")}},
      // Text keeps every byte but the escape: a NUL; a backslash, then a lead
      // byte whose second byte is the backslash again.
      {std::string("a\0b", 3), kDefaultMs, {Text(std::string("a\0b", 3))}},
      {"\\\x83\x5C", kDefaultMs, {Text("\x83")}},
  };
  for (const auto& row : rows) EXPECT_EQ(ParseKeyMacro(row.macro, row.default_ms), row.actions) << row.macro;
}

// What the page gets from a macro played with `code` selected: its keys and
// waits, and its text with the boundaries between pastes left out.
Actions Typed(std::string_view macro, const std::string& code) {
  Actions typed;
  for (KeyMacroAction a : ParseKeyMacro(macro, kDefaultMs)) {
    if (a.kind == K::PasteSelectedCode) a = Text(code);
    if (a.kind == K::PasteText && a.text.empty()) continue;
    if (a.kind == K::PasteText && !typed.empty() && typed.back().kind == K::PasteText) {
      typed.back().text += a.text;
    } else {
      typed.push_back(a);
    }
  }
  return typed;
}

TEST(ResolveSelectedCodeTest, BoundMacroTypesItsStocksCodeWhateverIsSelected) {
  struct Row {
    std::string macro, code, resolved;  // resolved "": only compared by what it types
  };
  const Row rows[] = {
      {"\\w(500)\\c\\r", "7203", "\\w(500)7203\\r"},
      {"\\c\\t\\c", "6758", "6758\\t6758"},
      {"no code\\r", "6758", "no code\\r"},
      {"a\\cb", "", "ab"},                        // no stock: nothing pasted
      {"\\c", "12", "12"},                        // a short caption
      {"\\\\c", "7203", "\\\\c"},                 // an escaped backslash, then text
      {"\\w(\\c)x", "7203", "\\w(\\c)x"},         // inside a wait's parentheses
      {"\\c", "\x83\x5C\x31\x32", "\x83\\\\12"},  // a backslash byte in the code: "ソ12"
      {"\\w\\c", "(5)1", ""},                     // a "(" after a bare wait
      {"\\w(x\\c\\r", "1)23", ""},                // a ")" after a "(" that nothing closed
      {"\\w(\\w(\\c", "1)2", ""},
      {"\\qa\\cb\\", "9984", ""},
  };
  for (const Row& row : rows) {
    const std::string resolved = ResolveSelectedCode(row.macro, row.code);
    if (!row.resolved.empty()) EXPECT_EQ(resolved, row.resolved) << row.macro;
    EXPECT_EQ(Typed(resolved, "0000"), Typed(row.macro, row.code)) << row.macro << " -> " << resolved;
  }
}

}  // namespace
}  // namespace sorvi
