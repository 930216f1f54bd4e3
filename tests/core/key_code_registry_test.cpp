#include "core/keymacro/key_code_registry.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace sorvi {
namespace {

namespace fs = std::filesystem;
using KeyCodeRead = ScratchTest;
using KeyCodeWrite = ScratchTest;

KeyCodeRegistry Read(const TempDir& dir) { return ReadKeyCodeRegistry(SettingsFile(dir.File())); }

// "表示": the first character ends in the byte 0x5C.
const std::string kHyoji = "\x95\x5C\x8E\xA6";

TEST_F(KeyCodeRead, EntriesDefaultAndHoles) {
  WriteRaw(dir.File(),
           "[KeyCode]\r\nC=3\r\nD=2\r\nN1=" + kHyoji + "\r\nM1=\\c\\r\r\nN2=two\r\nM3=\\t\\c\r\nN4=beyond\r\n");
  const KeyCodeRegistry r = Read(dir);
  EXPECT_EQ(r.Entries, (std::vector<KeyCodeEntry>{{kHyoji, "\\c\\r"}, {"two", ""}, {"", "\\t\\c"}}));
  EXPECT_EQ(r.Default, 2);
}

TEST_F(KeyCodeRead, DefaultNamingNoEntryIsTheUrlAction) {
  WriteRaw(dir.File(), "[KeyCode]\r\nC=2\r\nD=3\r\nN1=a\r\nN2=b\r\n");
  EXPECT_EQ(Read(dir).Default, 0);
  WriteRaw(dir.File(), "[KeyCode]\r\nC=2\r\nD=-1\r\n");
  EXPECT_EQ(Read(dir).Default, 0);
  EXPECT_EQ(Read(dir).Entries.size(), 2u);
  // No count, no entries, whatever D says.
  WriteRaw(dir.File(), "[KeyCode]\r\nD=1\r\nN1=a\r\n");
  EXPECT_EQ(Read(dir), KeyCodeRegistry{});
  WriteRaw(dir.File(), "[KeyCode]\r\nC=999999999\r\n");
  EXPECT_EQ(Read(dir).Entries.size(), size_t(kMaxKeyCodeEntriesRead));
}

TEST_F(KeyCodeWrite, ErasesAndRewritesInOrder) {
  WriteRaw(dir.File(), "[KeyCode]\r\nC=5\r\nN5=old\r\nWidth=400\r\n[URL]\r\nCount=0\r\n");
  const KeyCodeRegistry registry{{{kHyoji, "\\c\\r"}, {"b", "x\\\\y"}}, 2};
  {
    SettingsFile file(dir.File());
    WriteKeyCodeRegistry(file, registry);
    ASSERT_FALSE(file.Commit().Failed());
  }
  EXPECT_EQ(ReadRaw(dir.File()),
            "[URL]\r\nCount=0\r\n[KeyCode]\r\nC=2\r\nD=2\r\nN1=" + kHyoji + "\r\nM1=\\c\\r\r\nN2=b\r\nM2=x\\\\y\r\n");
  EXPECT_EQ(Read(dir), registry);

  // The window's close adds its size after the entries.
  SettingsFile file(dir.File());
  WriteKeyCodeWindowSettings(file, {1, 2, 3, 4});
  ASSERT_FALSE(file.Commit().Failed());
  EXPECT_TRUE(ReadRaw(dir.File()).ends_with("M2=x\\\\y\r\nHeight=1\r\nWidth=2\r\nClm2=3\r\nClm3=4\r\n"));
  const KeyCodeWindowSettings s = ReadKeyCodeWindowSettings(SettingsFile(dir.File()));
  EXPECT_EQ(s.Clm3, 4);
}

TEST_F(KeyCodeWrite, RefusedWriteLeavesTheFileAsItWas) {
  const std::string before = "[KeyCode]\r\nC=1\r\nD=1\r\nN1=a\r\nM1=m\r\n";
  WriteRaw(dir.File(), before);
  fs::create_directory(dir.File() + ".___");
  SettingsFile file(dir.File());
  WriteKeyCodeRegistry(file, KeyCodeRegistry{});
  EXPECT_EQ(file.Commit().step, FileStep::kWriteFailed);
  EXPECT_EQ(ReadRaw(dir.File()), before);
  EXPECT_EQ(Read(dir), (KeyCodeRegistry{{{"a", "m"}}, 1}));
}

TEST_F(KeyCodeWrite, FreshFileIsCreated) {
  SettingsFile file(dir.File());
  WriteKeyCodeRegistry(file, KeyCodeRegistry{});
  ASSERT_FALSE(file.Commit().Failed());
  EXPECT_EQ(ReadRaw(dir.File()), "[KeyCode]\r\nC=0\r\nD=0\r\n");
}

}  // namespace
}  // namespace sorvi
