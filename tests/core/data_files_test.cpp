#include "core/files/data_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "temp_dir.h"

namespace sorvi {
namespace {

namespace fs = std::filesystem;

std::string DirOf(const TempDir& dir) { return fs::path(dir.File()).parent_path().string() + "/"; }

TEST(RecoverDataFilesTest, EveryDataFileGetsItsCopyTakenOverOrDropped) {
  TempDir dir;
  // The settings file and the code list were cut off before their first
  // rename; the bookmark list has an old copy beside it.
  WriteRaw(dir.File("Sorvi.ini.___"), "[Window]\r\nTop=5\r\n");
  WriteRaw(dir.File("SV_Code.txt.___"), "[G]\r\n");
  WriteRaw(dir.File("SV_List.txt"), "[a]\r\nhttp://a/\r\n");
  WriteRaw(dir.File("SV_List.txt.___"), "[b]\r\n");
  RecoverDataFiles(DirOf(dir));
  EXPECT_EQ(ReadRaw(dir.File("Sorvi.ini")), "[Window]\r\nTop=5\r\n");
  EXPECT_EQ(ReadRaw(dir.File("SV_Code.txt")), "[G]\r\n");
  EXPECT_EQ(ReadRaw(dir.File("SV_List.txt")), "[a]\r\nhttp://a/\r\n");
  for (const char* copy : {"Sorvi.ini.___", "SV_Code.txt.___", "SV_List.txt.___"})
    EXPECT_FALSE(fs::exists(dir.File(copy))) << copy;

  // A half copy beside the settings file is an old save's: it goes.
  WriteRaw(dir.File("Sorvi.ini.___"), "[Opt");
  RecoverDataFiles(DirOf(dir));
  EXPECT_EQ(ReadRaw(dir.File("Sorvi.ini")), "[Window]\r\nTop=5\r\n");
  EXPECT_FALSE(fs::exists(dir.File("Sorvi.ini.___")));
}

}  // namespace
}  // namespace sorvi
