// The key macro language: any bytes as a macro (the 0x5C byte escapes even
// as a second byte), parsed and played into a recording sink. Texts pasted
// come from the macro in order, every key pressed is released, the user's
// clipboard comes back, and a play started inside a play is safe.
#include <charconv>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/keymacro/key_macro_parser.h"
#include "core/keymacro/key_macro_runner.h"
#include "core/keymacro/virtual_keys.h"
#include "fuzz_support.h"

namespace sorvi::fuzz {
namespace {

const std::set<int> kMacroKeys = {VK_BACK, VK_TAB,  VK_RETURN, VK_SHIFT, VK_SPACE, VK_END,
                                  VK_HOME, VK_LEFT, VK_UP,     VK_RIGHT, VK_DOWN,  VK_DELETE};

// The number rule, checked against the standard library's reader.
void CheckInteger(std::string_view text) {
  std::string_view digits = text;
  if (digits.starts_with('+')) {
    digits.remove_prefix(1);
    if (digits.starts_with('-')) digits = "x";
  }
  int expected = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), expected);
  const bool whole = !digits.empty() && ec == std::errc() && end == digits.data() + digits.size();
  const std::optional<int> read = ReadKeyMacroInteger(text);
  FUZZ_CHECK(read.has_value() == whole, "a wait number read where none is, or missed");
  if (whole) FUZZ_CHECK(*read == expected, "a wait number read as another");
}

void CheckActions(std::string_view macro, const std::vector<KeyMacroAction>& actions, int interval_default) {
  size_t pos = 0;  // pasted texts come from the macro in order, without overlap
  std::set<int> held;
  for (const KeyMacroAction& a : actions) {
    switch (a.kind) {
      case KeyMacroAction::Kind::PasteText: {
        FUZZ_CHECK(!a.text.empty(), "an empty paste");
        FUZZ_CHECK(a.text == "\\" || a.text.find('\\') == std::string::npos, "a paste holds an escape");
        const size_t at = macro.find(a.text, pos);
        FUZZ_CHECK(at != std::string_view::npos, "a paste that is not the macro's text in order");
        pos = at + a.text.size();
        break;
      }
      case KeyMacroAction::Kind::KeyDown:
        FUZZ_CHECK(kMacroKeys.count(a.key) && held.insert(a.key).second, "odd key pressed");
        break;
      case KeyMacroAction::Kind::KeyUp: FUZZ_CHECK(held.erase(a.key) == 1, "a key released that is not down"); break;
      case KeyMacroAction::Kind::KeysDone: FUZZ_CHECK(held.empty(), "a key token leaves a key down"); break;
      case KeyMacroAction::Kind::Wait:
        if (a.wait_ms != interval_default && a.wait_ms != kKeyMacroBadWaitMs)
          FUZZ_CHECK(macro.find("\\w(") != std::string_view::npos, "a wait length from nowhere");
        break;
      case KeyMacroAction::Kind::PasteSelectedCode: break;
    }
  }
  FUZZ_CHECK(held.empty(), "the macro ends with a key down");
}

struct Snapshot : ClipboardSnapshot {
  std::string text;
  bool Empty() const override { return text.empty(); }
};

class RecordingSink : public KeyMacroSink {
 public:
  RecordingSink(std::string clipboard, std::string caption, std::string_view nested_macro)
      : clipboard_(std::move(clipboard)), caption_(std::move(caption)), nested_macro_(nested_macro) {}

  void KeyDown(int vk) override {
    Step();
    FUZZ_CHECK(held_.insert(vk).second, "a key pressed twice");
  }
  void KeyUp(int vk) override {
    Step();
    FUZZ_CHECK(held_.erase(vk) == 1, "a key released that is not down");
  }
  void ProcessPendingEvents() override {
    Step();
    // Once, a second play from inside the first, as a handler may start one.
    if (!nested_macro_.empty() && !nesting_) {
      nesting_ = true;
      const std::string_view macro = std::exchange(nested_macro_, {});
      KeyMacroRunner(*this, 0, 10).PlayKeyMacro(macro);
      nesting_ = false;
    }
  }
  void SleepMs(int ms) override {
    Step();
    FUZZ_CHECK(ms >= 0, "a negative sleep");
  }
  std::unique_ptr<ClipboardSnapshot> SaveClipboard() override {
    auto s = std::make_unique<Snapshot>();
    s->text = clipboard_;
    return s;
  }
  void RestoreClipboard(const ClipboardSnapshot& s) override { clipboard_ = static_cast<const Snapshot&>(s).text; }
  void SetClipboardText(const std::string& sjis) override {
    Step();
    clipboard_ = sjis;
    pasted_.push_back(sjis);
  }
  bool ClipboardBusy() override { return ++busy_polls_ % 3 != 0; }
  std::string SelectedNodeCaption() override { return caption_; }
  // Long waits are cut short as a user would cut them.
  bool Cancelled() override { return steps_ > kMaxSteps; }

  const std::string& clipboard() const { return clipboard_; }
  const std::vector<std::string>& pasted() const { return pasted_; }
  bool KeysUp() const { return held_.empty(); }
  bool CutShort() const { return steps_ > kMaxSteps; }

 private:
  static constexpr int kMaxSteps = 20000;
  void Step() { ++steps_; }

  std::string clipboard_;
  std::string caption_;
  std::string_view nested_macro_;
  bool nesting_ = false;
  std::set<int> held_;
  std::vector<std::string> pasted_;
  int steps_ = 0;
  int busy_polls_ = 0;
};

void Run(std::string_view macro, std::string_view numbers, std::string_view caption, std::string_view nested) {
  CheckInteger(macro);
  uint32_t raw = 0;
  for (size_t i = 0; i < 4 && i < numbers.size(); ++i) raw = (raw << 8) | static_cast<uint8_t>(numbers[i]);
  const int interval_default = static_cast<int>(raw);
  const std::vector<KeyMacroAction> actions = ParseKeyMacro(macro, interval_default);
  CheckActions(macro, actions, interval_default);

  // Played: every key back up, and the user's clipboard back after pastes.
  const std::string users_clipboard = "\x83\x5C saved";
  RecordingSink sink(users_clipboard, std::string(caption), nested);
  KeyMacroRunner(sink, static_cast<int>(raw >> 20), static_cast<int>(raw % 3000) - 100).PlayKeyMacro(macro);
  FUZZ_CHECK(sink.KeysUp(), "a play left a key down");
  if (!sink.pasted().empty()) FUZZ_CHECK(sink.clipboard() == users_clipboard, "the user's clipboard not put back");
  for (const std::string& text : sink.pasted()) {
    const bool from_caption = caption.starts_with(text) && text.size() <= kStockCodeBytes;
    FUZZ_CHECK(
        from_caption || macro.find(text) != std::string_view::npos || nested.find(text) != std::string_view::npos,
        "a paste of text from nowhere");
  }
}

}  // namespace
}  // namespace sorvi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sorvi::fuzz;
  const std::vector<std::string_view> fields = SplitFields(AsView(data, size), 4);
  const ExactBytes macro(fields[0]), numbers(fields[1]), caption(fields[2]), nested(fields[3]);
  Run(macro.view(), numbers.view(), caption.view(), nested.view());
  return 0;
}
