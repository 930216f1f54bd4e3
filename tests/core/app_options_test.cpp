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

TEST(AppOptions, WritesTheEightKeysInOrder) {
  TempDir dir;
  WriteRaw(dir.File(), "[Window]\r\nTop=1\r\n");
  SettingsFile file(dir.File());
  AppOptions o;
  o.Editor = "/usr/bin/ed";
  o.IntervalPaste = 1500;
  o.IntervalDefault = 200;
  o.LinkTarget = false;
  o.Client = true;
  o.Silent = true;
  o.FocusLock = true;
  o.AutoSave = false;
  WriteAppOptions(file, o);
  file.Commit();
  EXPECT_EQ(ReadRaw(dir.File()),
            "[Window]\r\nTop=1\r\n[Option]\r\nEditor=/usr/bin/ed\r\nIntervalPaste=1500\r\n"
            "IntervalDefault=200\r\nLinkTarget=0\r\nClient=1\r\nSilent=1\r\nFocusLock=1\r\n"
            "AutoSave=0\r\n");
  const AppOptions back = ReadAppOptions(SettingsFile(dir.File()));
  EXPECT_EQ(back.Editor, o.Editor);
  EXPECT_EQ(back.IntervalPaste, 1500);
  EXPECT_EQ(back.IntervalDefault, 200);
  EXPECT_FALSE(back.LinkTarget);
  EXPECT_TRUE(back.Client && back.Silent && back.FocusLock);
  EXPECT_FALSE(back.AutoSave);
}

}  // namespace
}  // namespace sorvi
