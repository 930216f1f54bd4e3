#include <gtest/gtest.h>
#include <cerrno>

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/settings/app_options.h"
#include "core/settings/option_rules.h"
#include "core/settings/settings_file.h"
#include "temp_dir.h"

namespace sorvi {
namespace {

namespace fs = std::filesystem;

// What the dialog hands over when the user changes nothing.
OptionDialogInput Unchanged(const AppOptions& o, bool editor_exists) {
  OptionDialogInput in;
  in.editor_text = o.Editor;
  in.editor_exists = editor_exists;
  in.interval_paste = IntervalShown(o.IntervalPaste);
  in.interval_default = IntervalShown(o.IntervalDefault);
  in.link_target = o.LinkTarget;
  in.client = o.Client;
  in.silent = o.Silent;
  in.focus_lock = o.FocusLock;
  in.auto_save = o.AutoSave;
  in.restore_session = o.RestoreSession;
  in.mark_stocks = o.MarkStocks;
  return in;
}

TEST(OptionIntervals, StoredValuesAreShownOnTheStepsWithinTheRange) {
  // Stored value, value shown.
  const int rows[][2] = {{300, 300},   {100, 100},   {3000, 3000},      {0, 100},         {-500, 100},
                         {3001, 3000}, {5000, 3000}, {INT32_MAX, 3000}, {INT32_MIN, 100}, {249, 200},
                         {250, 300},   {2990, 3000}, {149, 100}};
  for (const auto& row : rows) EXPECT_EQ(IntervalShown(row[0]), row[1]) << row[0];
}

TEST(OptionEditor, OnlyAnExistingFileIsKeptEverythingElseBecomesNotepad) {
  EXPECT_EQ(EditorToStore("/usr/bin/mousepad", true), "/usr/bin/mousepad");
  EXPECT_EQ(EditorToStore("/usr/bin/no-such-editor", false), "Notepad");
  EXPECT_EQ(EditorToStore("", false), "Notepad");
  EXPECT_EQ(EditorToStore("", true), "Notepad");
  EXPECT_EQ(EditorToStore("gedit", false), "Notepad");
}

TEST(OptionDialogOk, WithoutChangesWritesAllEightKeysAndCreatesTheSection) {
  TempDir ini;
  WriteRaw(ini.File(), "[Window]\r\nTop=10\r\n");
  // Every key off its default, so that each one is seen to be written.
  AppOptions current;
  current.Editor = "/bin/sh";
  current.IntervalPaste = 1200;
  current.IntervalDefault = 400;
  current.LinkTarget = false;
  current.Client = true;
  current.Silent = true;
  current.FocusLock = true;
  current.AutoSave = false;

  const OptionDialogResult result = ApplyOptionDialog(current, Unchanged(current, true));
  EXPECT_FALSE(result.link_target_changed);
  EXPECT_FALSE(result.later_tabs_changed);
  SettingsFile file(ini.File());
  StoreOptionDialogResult(file, result);
  ASSERT_FALSE(file.Commit().Failed());

  EXPECT_EQ(ReadRaw(ini.File()),
            "[Window]\r\nTop=10\r\n"
            "[Option]\r\nEditor=/bin/sh\r\nIntervalPaste=1200\r\nIntervalDefault=400\r\n"
            "LinkTarget=0\r\nClient=1\r\nSilent=1\r\nFocusLock=1\r\nAutoSave=0\r\n");
  const AppOptions back = ReadAppOptions(SettingsFile(ini.File()));
  EXPECT_EQ(back.Editor, "/bin/sh");
  EXPECT_EQ(back.IntervalPaste, 1200);
  EXPECT_EQ(back.IntervalDefault, 400);
  EXPECT_FALSE(back.LinkTarget || back.AutoSave);
  EXPECT_TRUE(back.Client && back.Silent && back.FocusLock);
}

TEST(OptionDialogOk, OffStepStoredIntervalIsWrittenOnlyAsShown) {
  AppOptions current;
  current.IntervalPaste = 5000;
  current.IntervalDefault = 33;
  const OptionDialogResult result = ApplyOptionDialog(current, Unchanged(current, false));
  EXPECT_EQ(result.options.IntervalPaste, 3000);
  EXPECT_EQ(result.options.IntervalDefault, 100);
  // A caller handing over a raw value still cannot store an off-step one.
  OptionDialogInput raw = Unchanged(current, false);
  raw.interval_paste = 1234;
  EXPECT_EQ(ApplyOptionDialog(current, raw).options.IntervalPaste, 1200);
}

TEST(OptionDialogOk, ClearedEditorBecomesNotepadInMemoryAndInTheFile) {
  TempDir ini;
  AppOptions current;
  current.Editor = "/bin/sh";
  OptionDialogInput in = Unchanged(current, true);
  in.editor_text.clear();
  in.editor_exists = false;
  const OptionDialogResult result = ApplyOptionDialog(current, in);
  EXPECT_EQ(result.options.Editor, "Notepad");
  SettingsFile file(ini.File());
  StoreOptionDialogResult(file, result);
  ASSERT_FALSE(file.Commit().Failed());
  EXPECT_EQ(SettingsFile(ini.File()).ReadString("Option", "Editor", "?"), "Notepad");
}

TEST(OptionDialogOk, TellsWhichChangesReachOpenTabsAndWhichOnlyLaterOnes) {
  AppOptions current;  // LinkTarget on, the rest off
  OptionDialogInput in = Unchanged(current, false);
  in.link_target = false;
  OptionDialogResult r = ApplyOptionDialog(current, in);
  EXPECT_TRUE(r.link_target_changed);
  EXPECT_FALSE(r.later_tabs_changed);
  EXPECT_FALSE(r.options.LinkTarget);

  for (auto field : {&OptionDialogInput::client, &OptionDialogInput::silent, &OptionDialogInput::focus_lock}) {
    OptionDialogInput changed = Unchanged(current, false);
    changed.*field = true;
    r = ApplyOptionDialog(current, changed);
    EXPECT_FALSE(r.link_target_changed);
    EXPECT_TRUE(r.later_tabs_changed);
  }

  in = Unchanged(current, false);
  in.auto_save = false;
  in.interval_paste = 900;
  r = ApplyOptionDialog(current, in);
  EXPECT_FALSE(r.link_target_changed);
  EXPECT_FALSE(r.later_tabs_changed);
  EXPECT_FALSE(r.options.AutoSave);
  EXPECT_EQ(r.options.IntervalPaste, 900);
}

// The marks option is on by default: its section appears once it was off.
TEST(OptionDialogOk, SessionAndMarksOptionsAreWrittenOnlyOnceOffTheirDefault) {
  for (const bool before : {false, true}) {
    for (const bool after : {false, true}) {
      TempDir ini;
      AppOptions current;
      current.RestoreSession = before;
      current.MarkStocks = !before;
      OptionDialogInput in = Unchanged(current, false);
      in.restore_session = after;
      in.mark_stocks = !after;
      SettingsFile file(ini.File());
      StoreOptionDialogResult(file, ApplyOptionDialog(current, in));
      ASSERT_FALSE(file.Commit().Failed());
      const bool written = ReadRaw(ini.File()).find("[Session]\r\nRestore=") != std::string::npos;
      EXPECT_EQ(written, before || after);
      EXPECT_EQ(ReadAppOptions(SettingsFile(ini.File())).RestoreSession, after);
      EXPECT_EQ(ReadRaw(ini.File()).find("[PageMarks]\r\nMark=") != std::string::npos, before || after);
      EXPECT_EQ(ReadAppOptions(SettingsFile(ini.File())).MarkStocks, !after);
    }
  }
}

TEST(OptionDialogOk, RefusedWriteIsReportedWithThePathAndLeavesTheFileAsItWas) {
  TempDir ini;
  WriteRaw(ini.File(), "[Option]\r\nEditor=x\r\n");
  SettingsFile file(ini.File());
  // A directory in the place of the save copy makes every write fail, even
  // for root.
  fs::create_directory(ini.File() + ".___");
  AppOptions current;
  StoreOptionDialogResult(file, ApplyOptionDialog(current, Unchanged(current, false)));
  const FileReport report = file.Commit();
  EXPECT_EQ(report.step, FileStep::kWriteFailed);
  EXPECT_EQ(report.error, EISDIR);
  EXPECT_EQ(report.path, ini.File());
  EXPECT_EQ(ReadRaw(ini.File()), "[Option]\r\nEditor=x\r\n");
}

}  // namespace
}  // namespace sorvi
