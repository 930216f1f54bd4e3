// The settings file: any bytes as Sorvi.ini, then reads and writes of every
// kind. Checks that writes read back, touch no other line, that the file on
// disk always reads like the object, and that the program's own sections
// survive being written back.
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/file_io.h"
#include "core/settings/app_options.h"
#include "core/settings/internet_settings.h"
#include "core/settings/settings_file.h"
#include "core/settings/url_history.h"
#include "core/tabs/session.h"
#include "core/text/sjis.h"
#include "fuzz_support.h"

namespace sorvi::fuzz {
namespace {

// Names the program uses, and a few more with double-byte characters (one
// ends in "]", one in the backslash byte).
const std::vector<std::string> kSections = {"Option",   "Window",   "URL",         "KeyFunc", "KeyCode",
                                            "Internet", "Session",  "SessionTab1", "S",       "s",
                                            "",         "\x83\x5D", "\x95\x5C"};
const std::vector<std::string> kKeys = {
    "Editor",  "IntervalPaste", "AutoSave", "Top", "IniDir", "Expand",   "Count",   "1",         "2",         "C1",
    "K1",      "M1-1",          "U1-1",     "C",   "D",      "N1",       "Proxy",   "ProxyHost", "Languages", "Address",
    "Current", "Reload",        "k",        "K",   "",       "\x83\x41", "\x95\x5C"};

constexpr std::string_view kMissing = "\x01missing";
constexpr size_t kMaxOperations = 16;

using Snapshot = std::vector<std::string>;

Snapshot TakeSnapshot(const SettingsFile& file) {
  Snapshot values;
  for (const std::string& s : kSections)
    for (const std::string& k : kKeys) values.push_back(file.ReadString(s, k, kMissing));
  return values;
}

std::vector<std::string> DiskLines(const std::string& path) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  return bytes ? SplitLines(*bytes, NulByte::kKeptInLine) : std::vector<std::string>{};
}

// What every read gives: no line ends or NUL, never more than the limit.
void CheckReadValue(const std::string& value) {
  FUZZ_CHECK(value.size() <= kMaxSettingsValueBytes, "read value over the limit");
  FUZZ_CHECK(value.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
             "read value holds a line end or NUL");
}

// A value that is exactly the decimal form of an int32 reads as that number.
void CheckIntegerRead(const SettingsFile& file, const std::string& section, const std::string& key) {
  const std::string text = file.ReadString(section, key, kMissing);
  const int32_t a = file.ReadInteger(section, key, 7);
  const int32_t b = file.ReadInteger(section, key, 8);
  int32_t n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec == std::errc() && end == text.data() + text.size() && std::to_string(n) == text) {
    FUZZ_CHECK(a == n && b == n, "decimal value read as another number");
  }
  // A text that is no number gives the default, whichever it is.
  if (a != b) FUZZ_CHECK(a == 7 && b == 8, "an unparsed number read as neither default");
}

// After a write of (section, key) every other name reads as before.
void CheckOthersKept(const Snapshot& before, const Snapshot& after, const std::string& section,
                     const std::string* key) {
  size_t i = 0;
  for (const std::string& s : kSections) {
    for (const std::string& k : kKeys) {
      const bool same_section = SjisEqualsIgnoringCase(s, section);
      const bool written = same_section && (key == nullptr || SjisEqualsIgnoringCase(k, *key));
      if (!written) FUZZ_CHECK(before[i] == after[i], "a write changed another value");
      ++i;
    }
  }
}

// A single write changes one line, or adds one line, or adds a section
// header and its line at the end; every other line stays byte for byte.
void CheckOneLineChanged(const std::vector<std::string>& before, const std::vector<std::string>& after) {
  if (after.size() == before.size()) {
    size_t changed = 0;
    for (size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
    FUZZ_CHECK(changed <= 1, "a write changed more than one line");
  } else if (after.size() == before.size() + 1) {
    size_t i = 0;
    while (i < before.size() && before[i] == after[i]) ++i;
    for (; i < before.size(); ++i) FUZZ_CHECK(before[i] == after[i + 1], "an insert moved other lines");
  } else {
    FUZZ_CHECK(after.size() == before.size() + 2, "a write added more than two lines");
    for (size_t i = 0; i < before.size(); ++i) FUZZ_CHECK(before[i] == after[i], "a new section moved lines");
  }
}

// Erasing only removes lines.
void CheckOnlyRemoved(const std::vector<std::string>& before, const std::vector<std::string>& after) {
  size_t j = 0;
  for (size_t i = 0; i < before.size() && j < after.size(); ++i) j += before[i] == after[j];
  FUZZ_CHECK(j == after.size(), "an erase changed or added lines");
}

class Operations {
 public:
  explicit Operations(std::string_view bytes) : bytes_(bytes) {}
  bool Empty() const { return bytes_.empty(); }
  uint8_t Byte() {
    if (bytes_.empty()) return 0;
    const auto b = static_cast<uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return b;
  }
  std::string_view Text() {
    const size_t n = std::min<size_t>(Byte() * 17u, bytes_.size());  // long values too
    const std::string_view t = bytes_.substr(0, n);
    bytes_.remove_prefix(n);
    return t;
  }
  int32_t Integer() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return static_cast<int32_t>(v);
  }

 private:
  std::string_view bytes_;
};

void Run(std::string_view file_bytes, std::string_view operation_bytes) {
  const std::string path = (ScratchDir() / "Sorvi.ini").string();
  WriteFileBytes(path, file_bytes);
  SettingsFile file(path);
  FUZZ_CHECK(!file.Unreadable(), "a plain file reads as unreadable");

  for (const std::string& s : kSections) {
    for (const std::string& k : kKeys) {
      CheckReadValue(file.ReadString(s, k, ""));
      CheckIntegerRead(file, s, k);
    }
  }

  Operations ops(operation_bytes);
  for (size_t n = 0; n < kMaxOperations && !ops.Empty(); ++n) {
    const uint8_t op = ops.Byte() % 9;
    const std::string& section = kSections[ops.Byte() % kSections.size()];
    const std::string& key = kKeys[ops.Byte() % kKeys.size()];
    const Snapshot before = TakeSnapshot(file);
    const std::vector<std::string> lines_before = DiskLines(path);
    const bool existed = FileExists(path);
    bool erased = false;
    switch (op) {
      case 0:
      case 1: {
        const std::string_view value = ops.Text();
        file.WriteString(section, key, value);
        const std::string_view kept = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
        const std::string back = file.ReadString(section, key, kMissing);
        if (kept.size() <= kMaxSettingsValueBytes) {
          FUZZ_CHECK(back == kept, "a written string reads back otherwise");
        } else {
          FUZZ_CHECK(back == SjisPrefix(kept, kMaxSettingsValueBytes), "a long string reads back otherwise");
        }
        break;
      }
      case 2: {
        const int32_t value = ops.Integer();
        file.WriteInteger(section, key, value);
        FUZZ_CHECK(file.ReadInteger(section, key, value ^ 1) == value, "a written integer reads back otherwise");
        break;
      }
      case 3: {
        const bool value = ops.Byte() & 1;
        file.WriteBool(section, key, value);
        FUZZ_CHECK(file.ReadBool(section, key, !value) == value, "a written bool reads back otherwise");
        break;
      }
      case 4:
        file.EraseSection(section);
        FUZZ_CHECK(file.ReadString(section, key, kMissing) == kMissing, "an erased section still reads");
        erased = true;
        break;
      case 5: {
        const AppOptions options = ReadAppOptions(file);
        WriteAppOptions(file, options);
        const AppOptions again = ReadAppOptions(file);
        FUZZ_CHECK(!file.Commit().Failed(), "a commit was refused");
        FUZZ_CHECK(again.Editor == options.Editor && again.IntervalPaste == options.IntervalPaste &&
                       again.IntervalDefault == options.IntervalDefault && again.LinkTarget == options.LinkTarget &&
                       again.Client == options.Client && again.Silent == options.Silent &&
                       again.FocusLock == options.FocusLock && again.AutoSave == options.AutoSave,
                   "options written back read otherwise");
        continue;
      }
      case 6: {
        const InternetSettings settings = ReadInternetSettings(file);
        WriteInternetSettings(file, settings);
        const InternetSettings again = ReadInternetSettings(file);
        FUZZ_CHECK(!file.Commit().Failed(), "a commit was refused");
        FUZZ_CHECK(again.proxy == settings.proxy && again.proxy_host == settings.proxy_host &&
                       again.proxy_port == settings.proxy_port && again.languages == settings.languages,
                   "Internet settings written back read otherwise");
        continue;
      }
      case 7: {
        const Session session = ReadSession(file);
        WriteSession(file, session);
        const Session again = ReadSession(file);
        FUZZ_CHECK(!file.Commit().Failed(), "a commit was refused");
        bool same = again.current == session.current && again.tabs.size() == session.tabs.size();
        for (size_t i = 0; same && i < session.tabs.size(); ++i) {
          const SessionTab &a = session.tabs[i], &b = again.tabs[i];
          same = a.address == b.address && a.caption == b.caption && a.fixed_caption == b.fixed_caption &&
                 a.reload_interval == b.reload_interval && a.silent == b.silent && a.locked == b.locked;
        }
        FUZZ_CHECK(same, "the kept tabs written back read otherwise");
        continue;
      }
      default: {
        const std::vector<std::string> history = ReadUrlHistory(file);
        WriteUrlHistory(file, history);
        std::vector<std::string> kept;
        for (const std::string& entry : history)
          if (!entry.empty()) kept.push_back(entry);
        FUZZ_CHECK(ReadUrlHistory(file) == kept, "the address history written back reads otherwise");
        FUZZ_CHECK(!file.Commit().Failed(), "a commit was refused");
        continue;
      }
    }
    CheckOthersKept(before, TakeSnapshot(file), section, erased ? nullptr : &key);
    FUZZ_CHECK(!file.Commit().Failed(), "a commit was refused");
    // Reads kept up across changes match a fresh read of what was written.
    FUZZ_CHECK(TakeSnapshot(SettingsFile(path)) == TakeSnapshot(file), "the object reads otherwise than its file");
    const std::vector<std::string> lines_after = DiskLines(path);
    if (erased) {
      CheckOnlyRemoved(lines_before, lines_after);
    } else if (existed) {
      CheckOneLineChanged(lines_before, lines_after);
    }
  }

  // What is on disk reads exactly like the object that wrote it.
  const SettingsFile reread(path);
  FUZZ_CHECK(TakeSnapshot(reread) == TakeSnapshot(file), "the file on disk reads otherwise than the object");
}

}  // namespace
}  // namespace sorvi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sorvi::fuzz;
  const ExactBytes input(AsView(data, size));
  const std::vector<std::string_view> fields = SplitFields(input.view(), 2);
  Run(fields[0], fields[1]);
  return 0;
}
