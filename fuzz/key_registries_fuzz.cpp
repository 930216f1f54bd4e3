// The function-key (KeyFunc) and stock-code (KeyCode) sections: any bytes as
// Sorvi.ini. What is read keeps its limits, saves and reads back the same,
// and saving one section leaves the other sections as they read.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/keymacro/key_code_registry.h"
#include "core/keymacro/key_func_registry.h"
#include "core/settings/settings_file.h"
#include "fuzz_support.h"

namespace sorvi::fuzz {
namespace {

void CheckText(const std::string& text) {
  FUZZ_CHECK(text.size() <= kMaxSettingsValueBytes, "an entry over the read limit");
  FUZZ_CHECK(text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos, "an entry holds a line end");
}

void CheckLimits(const KeyFuncRegistry& keys, const KeyCodeRegistry& codes) {
  for (int n = 0; n < kFunctionKeyCount; ++n) {
    FUZZ_CHECK(keys.KeyFuncKind[n] == kKeyFuncSelect || keys.KeyFuncKind[n] == kKeyFuncDirect, "odd key kind");
    FUZZ_CHECK(keys.KeyFuncList[n].size() <= static_cast<size_t>(kMaxKeyFuncEntriesRead), "too many key entries");
    for (const KeyFuncEntry& e : keys.KeyFuncList[n]) {
      CheckText(e.Macro);
      CheckText(e.Label);
    }
  }
  FUZZ_CHECK(codes.Entries.size() <= static_cast<size_t>(kMaxKeyCodeEntriesRead), "too many code entries");
  FUZZ_CHECK(codes.Default >= 0 && static_cast<size_t>(codes.Default) <= codes.Entries.size(),
             "default names no entry");
  for (const KeyCodeEntry& e : codes.Entries) {
    CheckText(e.Name);
    CheckText(e.Macro);
  }
}

// Values of other sections, which a registry save must not touch.
std::vector<std::string> Others(const SettingsFile& file) {
  std::vector<std::string> values;
  for (const char* section : {"Option", "Window", "URL", "S"})
    for (const char* key : {"Editor", "Top", "Count", "1", "C", "k"})
      values.push_back(file.ReadString(section, key, "\x01"));
  return values;
}

void Run(std::string_view file_bytes) {
  const std::string path = (ScratchDir() / "Sorvi.ini").string();
  WriteFileBytes(path, file_bytes);
  const SettingsFile file(path);
  const KeyFuncRegistry keys = ReadKeyFuncRegistry(file);
  const KeyCodeRegistry codes = ReadKeyCodeRegistry(file);
  const KeyFuncWindowSettings key_window = ReadKeyFuncWindowSettings(file);
  const KeyCodeWindowSettings code_window = ReadKeyCodeWindowSettings(file);
  CheckLimits(keys, codes);
  const std::vector<std::string> others = Others(file);

  {
    SettingsFile saving(path);
    WriteKeyFuncRegistry(saving, keys);
    FUZZ_CHECK(!saving.Commit().Failed(), "a save was refused");
  }
  {
    const SettingsFile saved(path);
    FUZZ_CHECK(ReadKeyFuncRegistry(saved) == keys, "function keys saved read back otherwise");
    FUZZ_CHECK(ReadKeyCodeRegistry(saved) == codes, "saving function keys changed the code macros");
    FUZZ_CHECK(Others(saved) == others, "saving function keys changed another section");
  }
  {
    SettingsFile saving(path);
    WriteKeyCodeRegistry(saving, codes);
    FUZZ_CHECK(!saving.Commit().Failed(), "a save was refused");
  }
  SettingsFile saved(path);
  FUZZ_CHECK(ReadKeyCodeRegistry(saved) == codes, "code macros saved read back otherwise");
  FUZZ_CHECK(ReadKeyFuncRegistry(saved) == keys, "saving code macros changed the function keys");
  FUZZ_CHECK(Others(saved) == others, "saving code macros changed another section");

  // The window sizes go into the same sections, after the entries.
  WriteKeyFuncWindowSettings(saved, keys.KeyFuncKind[0], key_window);
  WriteKeyCodeWindowSettings(saved, code_window);
  FUZZ_CHECK(!saved.Commit().Failed(), "a save was refused");
  const SettingsFile last(path);
  FUZZ_CHECK(ReadKeyFuncRegistry(last) == keys && ReadKeyCodeRegistry(last) == codes,
             "window sizes changed the entries");
  FUZZ_CHECK(ReadKeyCodeWindowSettings(last).Width == code_window.Width, "window width reads back otherwise");
}

}  // namespace
}  // namespace sorvi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const sorvi::fuzz::ExactBytes input(sorvi::fuzz::AsView(data, size));
  sorvi::fuzz::Run(input.view());
  return 0;
}
