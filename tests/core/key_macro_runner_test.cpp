// Plays macros into a recording sink and compares the exact sequence of
// keys, clipboard writes, event passes and sleeps.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/keymacro/key_macro_runner.h"
#include "core/keymacro/virtual_keys.h"

namespace sorvi {
namespace {

constexpr int kPasteMs = 300;
// Deliberately not 100, so a fallback to 100 cannot pass for the default.
constexpr int kDefaultMs = 70;

using Log = std::vector<std::string>;

std::string KeyEvent(const char* what, int vk) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%s %02X", what, vk);
  return buf;
}

struct TextSnapshot : ClipboardSnapshot {
  std::optional<std::string> text;
  bool Empty() const override { return !text || text->empty(); }
};

class RecordingSink : public KeyMacroSink {
 public:
  Log log;
  std::optional<std::string> clipboard;  // nothing: no text (empty or a picture)
  std::string caption;
  int busy_polls = 0;   // ClipboardBusy answers true this many times; -1 always
  int fail_on_set = 0;  // SetClipboardText call (1-based) that fails; 0 none
  std::function<void()> on_process;
  int cancel_after_processes = -1;  // Cancelled() turns true after this many passes; -1 never

  void KeyDown(int vk) override { log.push_back(KeyEvent("down", vk)); }
  void KeyUp(int vk) override { log.push_back(KeyEvent("up", vk)); }
  void ProcessPendingEvents() override {
    log.push_back("process");
    ++processes_;
    if (on_process) std::exchange(on_process, nullptr)();
  }
  void SleepMs(int ms) override { log.push_back("sleep " + std::to_string(ms)); }
  std::unique_ptr<ClipboardSnapshot> SaveClipboard() override {
    auto snapshot = std::make_unique<TextSnapshot>();
    snapshot->text = clipboard;
    return snapshot;
  }
  void RestoreClipboard(const ClipboardSnapshot& snapshot) override {
    SetClipboardText(*static_cast<const TextSnapshot&>(snapshot).text);
  }
  void SetClipboardText(const std::string& sjis) override {
    if (++sets_ == fail_on_set) throw KeyMacroError(kClipboardOpenFailedMessage);
    log.push_back("set " + sjis);
    clipboard = sjis;
  }
  bool ClipboardBusy() override {
    if (busy_polls == 0) return false;
    if (busy_polls > 0) --busy_polls;
    return true;
  }
  std::string SelectedNodeCaption() override { return caption; }
  bool Cancelled() override { return cancel_after_processes >= 0 && processes_ >= cancel_after_processes; }

 private:
  int sets_ = 0;
  int processes_ = 0;
};

// Expected event groups.
Log Keys(std::initializer_list<std::pair<bool, int>> strokes) {
  Log out;
  for (auto [down, vk] : strokes) out.push_back(KeyEvent(down ? "down" : "up", vk));
  out.push_back("process");
  return out;
}
Log Key(int vk) { return Keys({{true, vk}, {false, vk}}); }
Log Paste(const std::string& text) {
  return {"set " + text, "down 11", "down 56", "up 56", "up 11", "process", "sleep " + std::to_string(kPasteMs)};
}
Log WaitSlices(int slices) {
  Log out;
  for (int i = 0; i < slices; ++i) out.insert(out.end(), {"process", "sleep 10"});
  return out;
}
Log Restore(const std::string& text) { return {"process", "sleep 100", "set " + text}; }
Log Join(std::initializer_list<Log> parts) {
  Log out;
  for (const Log& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

struct PlayRow {
  const char* name;
  std::string macro;
  std::optional<std::string> clipboard;  // before the play
  std::string caption;
  Log expected;
  std::optional<std::string> clipboard_after;
};

void PrintTo(const PlayRow& row, std::ostream* os) { *os << row.name; }

class KeyMacroPlayTest : public testing::TestWithParam<PlayRow> {};

TEST_P(KeyMacroPlayTest, SendsExactEvents) {
  const PlayRow& row = GetParam();
  RecordingSink sink;
  sink.clipboard = row.clipboard;
  sink.caption = row.caption;
  KeyMacroRunner(sink, kPasteMs, kDefaultMs).PlayKeyMacro(row.macro);
  EXPECT_EQ(sink.log, row.expected);
  EXPECT_EQ(sink.clipboard, row.clipboard_after);
}

const std::string kSo = "\x83\x5C";  // katakana so: its second byte is the backslash

INSTANTIATE_TEST_SUITE_P(
    Macros, KeyMacroPlayTest,
    testing::Values(
        PlayRow{"CodeThenEnterRestoresClipboard", "7203\\r", "saved", "",
                Join({Paste("7203"), Key(VK_RETURN), Restore("saved")}), "saved"},
        PlayRow{"NoTextOnClipboardIsNotRestored", "7203\\r", std::nullopt, "", Join({Paste("7203"), Key(VK_RETURN)}),
                "7203"},
        PlayRow{"EmptyClipboardTextIsNotRestored", "7203\\r", "", "", Join({Paste("7203"), Key(VK_RETURN)}), "7203"},
        PlayRow{"SelectedCodeThenEnter", "\\c\\r", std::nullopt, "7203 \x83\x67\x83\x88\x83\x5E",
                Join({Paste("7203"), Key(VK_RETURN)}), "7203"},
        PlayRow{"ShortCaptionPastedWhole", "\\c", std::nullopt, "72", Paste("72"), "72"},
        PlayRow{"NoSelectionPastesNothing", "\\c\\r", "saved", "", Key(VK_RETURN), "saved"},
        PlayRow{"WaitWithNumber", "\\w(500)x", std::nullopt, "", Join({WaitSlices(50), Paste("x")}), "x"},
        PlayRow{"WaitRoundsUpToSlices", "\\w(41)", std::nullopt, "", WaitSlices(5), std::nullopt},
        PlayRow{"WaitWithLettersIs100", "\\w(abc)", std::nullopt, "", WaitSlices(10), std::nullopt},
        PlayRow{"WaitWithoutCloseUsesDefault", "\\w(12ab", std::nullopt, "", Join({WaitSlices(7), Paste("(12ab")}),
                "(12ab"},
        PlayRow{"BareWaitUsesDefault", "\\w", std::nullopt, "", WaitSlices(7), std::nullopt},
        PlayRow{"NegativeWaitDoesNotWait", "\\w(-5)x", std::nullopt, "", Paste("x"), "x"},
        PlayRow{"CloseAfterEscapeStillEndsNumber", "\\w(50\\r)", std::nullopt, "", WaitSlices(10), std::nullopt},
        PlayRow{"DoubleBackslashIsOwnPaste", "a\\\\b", std::nullopt, "", Join({Paste("a"), Paste("\\"), Paste("b")}),
                "b"},
        PlayRow{"UnknownEscapeDropsBackslash", "\\qabc\\r", std::nullopt, "", Join({Paste("qabc"), Key(VK_RETURN)}),
                "qabc"},
        PlayRow{"TrailingBackslashDropped", "abc\\", std::nullopt, "", Paste("abc"), "abc"},
        PlayRow{"ShiftTabOrder", "\\T", std::nullopt, "",
                Keys({{true, VK_SHIFT}, {true, VK_TAB}, {false, VK_TAB}, {false, VK_SHIFT}}), std::nullopt},
        PlayRow{"SelectLineOrder", "\\S", std::nullopt, "",
                Keys({{true, VK_HOME},
                      {false, VK_HOME},
                      {true, VK_SHIFT},
                      {true, VK_END},
                      {false, VK_END},
                      {false, VK_SHIFT}}),
                std::nullopt},
        PlayRow{"KeyLettersAreCaseSensitive", "\\t\\b\\d\\s\\L\\R\\U\\D\\h\\e\\r", std::nullopt, "",
                Join({Key(VK_TAB), Key(VK_BACK), Key(VK_DELETE), Key(VK_SPACE), Key(VK_LEFT), Key(VK_RIGHT), Key(VK_UP),
                      Key(VK_DOWN), Key(VK_HOME), Key(VK_END), Key(VK_RETURN)}),
                std::nullopt},
        PlayRow{"KeysAndWaitsLeaveClipboardAlone", "\\t\\w(20)\\r", "saved", "",
                Join({Key(VK_TAB), WaitSlices(2), Key(VK_RETURN)}), "saved"},
        PlayRow{"SecondByteBackslashEscapes", kSo + "r" + kSo + "1", std::nullopt, "",
                Join({Paste("\x83"), Key(VK_RETURN), Paste("\x83"), Paste("1")}), "1"},
        PlayRow{"EmptyMacroDoesNothing", "", "saved", "", {}, "saved"}),
    [](const testing::TestParamInfo<PlayRow>& info) { return std::string(info.param.name); });

TEST(KeyMacroRunnerTest, BusyClipboardProlongsPauseAfterPaste) {
  RecordingSink sink;
  sink.busy_polls = 2;
  KeyMacroRunner(sink, kPasteMs, kDefaultMs).PlayKeyMacro("ab\\r");
  EXPECT_EQ(sink.log, Join({Paste("ab"), {"sleep 300", "sleep 300"}, Key(VK_RETURN)}));
}

TEST(KeyMacroRunnerTest, BusyClipboardWaitIsBounded) {
  RecordingSink sink;
  sink.busy_polls = -1;
  KeyMacroRunner(sink, kPasteMs, kDefaultMs).PlayKeyMacro("ab\\r");
  Log extra(kClipboardBusyWaitLimitMs / kPasteMs, "sleep 300");
  extra.push_back("sleep " + std::to_string(kClipboardBusyWaitLimitMs % kPasteMs));
  EXPECT_EQ(sink.log, Join({Paste("ab"), extra, Key(VK_RETURN)}));
}

TEST(KeyMacroRunnerTest, ZeroPasteIntervalStillEndsBusyWait) {
  RecordingSink sink;
  sink.busy_polls = -1;
  KeyMacroRunner(sink, 0, kDefaultMs).PlayKeyMacro("a");
  int slept = 0;
  for (const std::string& e : sink.log) {
    if (e.rfind("sleep ", 0) == 0) slept += std::stoi(e.substr(6));
  }
  EXPECT_EQ(slept, kClipboardBusyWaitLimitMs);
}

TEST(KeyMacroRunnerTest, PastePauseBeyondTheDialogsRangeIsCapped) {
  // Read as it stands from a settings file edited by hand.
  RecordingSink sink;
  KeyMacroRunner(sink, 2147483647, kDefaultMs).PlayKeyMacro("ab\\r");
  EXPECT_EQ(sink.log,
            Join({{"set ab", "down 11", "down 56", "up 56", "up 11", "process", "sleep 3000"}, Key(VK_RETURN)}));
}

TEST(KeyMacroRunnerTest, ClipboardFailureStopsPlayWithoutRestore) {
  RecordingSink sink;
  sink.clipboard = "saved";
  sink.fail_on_set = 2;
  KeyMacroRunner runner(sink, kPasteMs, kDefaultMs);
  EXPECT_THROW(runner.PlayKeyMacro("ab\\r\\\\cd\\r"), KeyMacroError);
  EXPECT_EQ(sink.log, Join({Paste("ab"), Key(VK_RETURN)}));
  EXPECT_EQ(sink.clipboard, "ab");
}

TEST(KeyMacroRunnerTest, CancelStopsAWaitAndTheRestButRestoresTheClipboard) {
  RecordingSink sink;
  sink.clipboard = "saved";
  sink.cancel_after_processes = 4;  // the paste's pass, then three wait slices
  KeyMacroRunner(sink, kPasteMs, kDefaultMs).PlayKeyMacro("a\\w(2147483647)b\\r");
  EXPECT_EQ(sink.log, Join({Paste("a"), WaitSlices(3), Restore("saved")}));
  EXPECT_EQ(sink.clipboard, "saved");
}

TEST(KeyMacroRunnerTest, PlayStartedDuringPlayKeepsItsOwnState) {
  RecordingSink sink;
  sink.clipboard = "saved";
  KeyMacroRunner runner(sink, kPasteMs, kDefaultMs);
  // A function key pressed while the first paste is being taken.
  sink.on_process = [&] { runner.PlayKeyMacro("x"); };
  runner.PlayKeyMacro("a\\rb");
  Log paste_a = Paste("a");
  paste_a.pop_back();  // the nested play runs inside the pass before the pause
  EXPECT_EQ(sink.log,
            Join({paste_a, Paste("x"), Restore("a"), {"sleep 300"}, Key(VK_RETURN), Paste("b"), Restore("saved")}));
  EXPECT_EQ(sink.clipboard, "saved");
}

}  // namespace
}  // namespace sorvi
