#include "core/settings/window_settings.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace sorvi {
namespace {

TEST(WindowSettings, CloseWritesEveryKeyInOrderAndReadsItBack) {
  TempDir dir;
  WriteRaw(dir.File(), "[Window]\r\nExpand=-+\r\nTarget=0\r\n[URL]\r\nCount=0\r\n");
  SettingsFile file(dir.File());
  WindowSettings s = ReadWindowSettings(file, "/data/");
  EXPECT_EQ(s.Expand, "-+");
  EXPECT_EQ(s.Target, NavigateMode::Overwrite);
  EXPECT_EQ(s.IniDir, "/data/");
  s = {7, 8, 900, 1000, 2, 300, 200, NavigateMode::Overwrite, {19, 100, 0, 5}, "+-", "/srv"};
  WriteWindowSettings(file, s);
  ASSERT_FALSE(file.Commit().Failed());
  // Keys already there keep their place; the mode is stored as 1 or 2.
  EXPECT_EQ(ReadRaw(dir.File()),
            "[Window]\r\nExpand=+-\r\nTarget=2\r\nTop=7\r\nLeft=8\r\nHeight=900\r\nWidth=1000\r\nState=2\r\n"
            "SplitteL=300\r\nSplitteU=200\r\nCLM-0=19\r\nCLM-1=100\r\nCLM-2=0\r\nCLM-3=5\r\nIniDir=/srv\r\n"
            "[URL]\r\nCount=0\r\n");
  const WindowSettings back = ReadWindowSettings(SettingsFile(dir.File()), "/data/");
  EXPECT_EQ(back.Columns, s.Columns);
  EXPECT_EQ(back.Height, 900);
  EXPECT_EQ(back.IniDir, "/srv");
}

}  // namespace
}  // namespace sorvi
