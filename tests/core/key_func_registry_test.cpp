#include "core/keymacro/key_func_registry.h"

#include <gtest/gtest.h>
#include <cerrno>

#include <filesystem>
#include <string>

#include "core/keymacro/address_pattern.h"
#include "temp_dir.h"

namespace sorvi {
namespace {

FileReport SaveRegistry(const std::string& path, const KeyFuncRegistry& registry) {
  SettingsFile file(path);
  WriteKeyFuncRegistry(file, registry);
  return file.Commit();
}

namespace fs = std::filesystem;
using KeyFuncRead = ScratchTest;
using KeyFuncWrite = ScratchTest;
using KeyFuncWindow = ScratchTest;

// "ソ表": both characters end in the byte 0x5C.
const std::string kSoHyo = "\x83\x5C\x95\x5C";

// ---- reading -------------------------------------------------------------------

TEST_F(KeyFuncRead, AbsentSectionGivesTwelveEmptyDirectKeys) {
  const KeyFuncRegistry registry = ReadKeyFuncRegistry(SettingsFile(dir.File()));
  for (int n = 0; n < kFunctionKeyCount; ++n) {
    EXPECT_EQ(registry.KeyFuncKind[n], kKeyFuncDirect);
    EXPECT_TRUE(registry.KeyFuncList[n].empty());
  }
}

TEST_F(KeyFuncRead, CountsKindsAndHoles) {
  WriteRaw(dir.File(),
           "[KeyFunc]\r\n"
           // Odd count: 5 strings read as three entries, the third from
           // whatever M1-3 and U1-3 hold (only the macro here).
           "C1=5\r\nK1=0\r\nM1-1=a\r\nU1-1=A\r\nM1-2=b\r\nU1-2=B\r\nM1-3=c\r\n"
           // A hole in the numbering: entry 2 is missing and reads empty,
           // and an entry beyond the count is not read.
           "C2=6\r\nK2=1\r\nM2-1=x\r\nM2-3=z\r\nU2-3=http://z/\r\nM2-4=beyond\r\n"
           // Kinds other than 0 and 1 are direct; negative counts read nothing.
           "C3=1\r\nK3=7\r\nM3-1=only\r\n"
           "C4=-4\r\nK4=-1\r\nM4-1=never\r\n"
           "K5=abc\r\n");
  const KeyFuncRegistry r = ReadKeyFuncRegistry(SettingsFile(dir.File()));

  EXPECT_EQ(r.KeyFuncKind[0], kKeyFuncSelect);
  EXPECT_EQ(r.KeyFuncList[0], (std::vector<KeyFuncEntry>{{"a", "A"}, {"b", "B"}, {"c", ""}}));
  EXPECT_EQ(r.KeyFuncKind[1], kKeyFuncDirect);
  EXPECT_EQ(r.KeyFuncList[1], (std::vector<KeyFuncEntry>{{"x", ""}, {"", ""}, {"z", "http://z/"}}));
  EXPECT_EQ(r.KeyFuncKind[2], kKeyFuncDirect);
  EXPECT_EQ(r.KeyFuncList[2], (std::vector<KeyFuncEntry>{{"only", ""}}));
  EXPECT_EQ(r.KeyFuncKind[3], kKeyFuncDirect);
  EXPECT_TRUE(r.KeyFuncList[3].empty());
  EXPECT_EQ(r.KeyFuncKind[4], kKeyFuncDirect);
}

TEST_F(KeyFuncRead, HugeCountIsBounded) {
  WriteRaw(dir.File(), "[KeyFunc]\r\nC12=2147483647\r\nM12-1=m\r\n");
  const KeyFuncRegistry r = ReadKeyFuncRegistry(SettingsFile(dir.File()));
  ASSERT_EQ(r.KeyFuncList[11].size(), size_t(kMaxKeyFuncEntriesRead));
  EXPECT_EQ(r.KeyFuncList[11][0].Macro, "m");
}

// ---- writing -------------------------------------------------------------------

TEST_F(KeyFuncWrite, ErasesAndRewritesTheSectionInOrder) {
  WriteRaw(dir.File(),
           "[Option]\r\nEditor=vi\r\n[KeyFunc]\r\nC1=2\r\nM1-1=old\r\nU1-1=gone\r\nHeight=300\r\n"
           "[Window]\r\nTop=5\r\n");
  KeyFuncRegistry registry;
  registry.KeyFuncKind[0] = kKeyFuncSelect;
  registry.KeyFuncList[0] = {{"1234\\r", kSoHyo}, {"\\c\\r", "two"}};
  registry.KeyFuncList[11] = {{kSoHyo, "http://x/"}};
  ASSERT_FALSE(SaveRegistry(dir.File(), registry).Failed());

  std::string expected = "[Option]\r\nEditor=vi\r\n[Window]\r\nTop=5\r\n[KeyFunc]\r\n";
  expected += "C1=4\r\nK1=0\r\nM1-1=1234\\r\r\nU1-1=" + kSoHyo + "\r\nM1-2=\\c\\r\r\nU1-2=two\r\n";
  for (int n = 2; n <= 11; ++n) {
    expected += "C" + std::to_string(n) + "=0\r\nK" + std::to_string(n) + "=1\r\n";
  }
  expected += "C12=2\r\nK12=1\r\nM12-1=" + kSoHyo + "\r\nU12-1=http://x/\r\n";
  EXPECT_EQ(ReadRaw(dir.File()), expected);

  // What was written reads back as it was, 0x5C trail bytes included.
  EXPECT_EQ(ReadKeyFuncRegistry(SettingsFile(dir.File())), registry);
}

TEST_F(KeyFuncWrite, RefusedWriteLeavesTheFileAsItWas) {
  const std::string before = "[KeyFunc]\r\nC1=2\r\nK1=0\r\nM1-1=m\r\nU1-1=u\r\n";
  WriteRaw(dir.File(), before);
  // The replacement copy's name is taken by a directory: even root cannot
  // replace the file.
  fs::create_directory(dir.File() + ".___");
  KeyFuncRegistry registry;
  registry.KeyFuncList[0] = {{"new", ""}};
  const FileReport report = SaveRegistry(dir.File(), registry);
  EXPECT_EQ(report.step, FileStep::kWriteFailed);
  EXPECT_EQ(report.error, EISDIR);
  EXPECT_EQ(ReadRaw(dir.File()), before);
}

// Found by fuzzing: a damaged file claiming thousands of entries took one
// synced rewrite of the whole file per key when saved (minutes on a disk).
TEST_F(KeyFuncWrite, FullestRegistryADamagedFileGivesSavesAndReadsBack) {
  std::string damaged = "[Option]\r\nEditor=vi\r\n[KeyFunc]\r\n";
  for (int n = 1; n <= kFunctionKeyCount; ++n) damaged += "C" + std::to_string(n) + "=99999\r\n";
  damaged += "M12-1000=" + kSoHyo + " \r\n";
  WriteRaw(dir.File(), damaged);
  const KeyFuncRegistry registry = ReadKeyFuncRegistry(SettingsFile(dir.File()));
  ASSERT_EQ(registry.KeyFuncList[11].size(), size_t(kMaxKeyFuncEntriesRead));
  EXPECT_EQ(registry.KeyFuncList[11].back().Macro, kSoHyo);

  ASSERT_FALSE(SaveRegistry(dir.File(), registry).Failed());
  const SettingsFile saved(dir.File());
  EXPECT_EQ(ReadKeyFuncRegistry(saved), registry);
  EXPECT_EQ(saved.ReadString("Option", "Editor", ""), "vi");
  EXPECT_EQ(saved.ReadInteger("KeyFunc", "C12", 0), 2 * kMaxKeyFuncEntriesRead);
}

TEST_F(KeyFuncWindow, SizeAndTheActivePageColumns) {
  KeyFuncWindowSettings defaults = ReadKeyFuncWindowSettings(SettingsFile(dir.File()));
  EXPECT_EQ(defaults.Height, 260);
  EXPECT_EQ(defaults.Width, 515);
  EXPECT_EQ(defaults.Clm1, 200);

  SettingsFile file(dir.File());
  WriteKeyFuncWindowSettings(file, kKeyFuncDirect, {300, 600, 11, 22, 33});
  ASSERT_FALSE(file.Commit().Failed());
  EXPECT_EQ(ReadRaw(dir.File()), "[KeyFunc]\r\nHeight=300\r\nWidth=600\r\nClm2=22\r\nClm3=33\r\n");
  WriteKeyFuncWindowSettings(file, kKeyFuncSelect, {1, 2, 44, 55, 66});
  ASSERT_FALSE(file.Commit().Failed());
  const KeyFuncWindowSettings s = ReadKeyFuncWindowSettings(SettingsFile(dir.File()));
  EXPECT_EQ(s.Clm1, 44);
  EXPECT_EQ(s.Clm2, 55);
  EXPECT_EQ(s.Clm3, 33);
}

// ---- address patterns ----------------------------------------------------------

TEST(KeyFuncAddressPattern, ExactThenPrefixThenAnything) {
  const std::string x = "http://chart.example/applet?c=1";
  const std::string p = "http://chart.example/";
  const std::vector<KeyFuncEntry> f3 = {{"A", "*" + x}, {"B", p}, {"C", ""}};

  EXPECT_EQ(FindDirectEntry(f3, x)->Macro, "A");
  EXPECT_EQ(FindDirectEntry(f3, p + "other")->Macro, "B");
  EXPECT_EQ(FindDirectEntry(f3, "http://elsewhere/")->Macro, "C");
  EXPECT_EQ(FindDirectEntry(f3, x + "/more")->Macro, "B");

  // Without the catch-all nothing plays for an unrelated address.
  const std::vector<KeyFuncEntry> no_empty(f3.begin(), f3.end() - 1);
  EXPECT_EQ(FindDirectEntry(no_empty, "http://elsewhere/"), nullptr);
  EXPECT_EQ(FindDirectEntry({}, x), nullptr);
}

TEST(KeyFuncAddressPattern, BytesAndCaseCount) {
  EXPECT_FALSE(AddressPatternMatches("HTTP://a/", "http://a/"));
  EXPECT_FALSE(AddressPatternMatches("*http://a/", "http://a"));
  EXPECT_TRUE(AddressPatternMatches("*", ""));
  EXPECT_FALSE(AddressPatternMatches("*", "http://a/"));
  EXPECT_TRUE(AddressPatternMatches("file:///" + kSoHyo, "file:///" + kSoHyo + "/x.htm"));
  EXPECT_FALSE(AddressPatternMatches("http://a/b", "http://a/"));
}

}  // namespace
}  // namespace sorvi
