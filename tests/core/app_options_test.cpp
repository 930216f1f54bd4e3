#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings/app_options.h"
#include "core/settings/settings_file.h"
#include "temp_dir.h"

namespace sorvi {
namespace {

TEST(AppOptions, AbsentFileGivesDefaults) {
  TempDir dir;
  const AppOptions o = ReadAppOptions(SettingsFile(dir.File()));
  EXPECT_EQ(o.Editor, "Notepad");
  EXPECT_EQ(o.IntervalPaste, 300);
  EXPECT_EQ(o.IntervalDefault, 100);
  EXPECT_TRUE(o.LinkTarget);
  EXPECT_FALSE(o.Client);
  EXPECT_FALSE(o.Silent);
  EXPECT_FALSE(o.FocusLock);
  EXPECT_TRUE(o.AutoSave);
}

TEST(AppOptions, ReadsOddValues) {
  TempDir dir;
  WriteRaw(dir.File(),
           "[option]\r\nEditor=\r\nIntervalPaste=0x1F4\r\nIntervalDefault=abc\r\n"
           "linktarget=2\r\nClient=1\r\nSilent=x\r\nautosave=0\r\n");
  const AppOptions o = ReadAppOptions(SettingsFile(dir.File()));
  EXPECT_EQ(o.Editor, "");
  EXPECT_EQ(o.IntervalPaste, 500);
  EXPECT_EQ(o.IntervalDefault, 100);
  EXPECT_TRUE(o.LinkTarget);
  EXPECT_TRUE(o.Client);
  EXPECT_FALSE(o.Silent);
  EXPECT_FALSE(o.AutoSave);

  WriteRaw(dir.File(), "[Option]\r\nEditor=\"C:\\e d\\ed.exe\"\r\nIntervalPaste=\r\n");
  const AppOptions q = ReadAppOptions(SettingsFile(dir.File()));
  EXPECT_EQ(q.Editor, "C:\\e d\\ed.exe");
  EXPECT_EQ(q.IntervalPaste, 300);
}

}  // namespace
}  // namespace sorvi
