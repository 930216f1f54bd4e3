#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/tabs/session.h"
#include "temp_dir.h"

namespace sorvi {
namespace {

OpenTab Tab(std::string address, bool help = false) {
  return {{std::move(address), "c", false, 0, false, false}, help};
}

TEST(SessionToKeep, LeavesOutBlankHelpAndUnstorableTabsAndKeepsTheCurrentNearby) {
  const std::string long_address = "http://x/" + std::string(kMaxSettingsValueBytes, 'a');
  const struct {
    std::vector<OpenTab> open;
    int active;
    std::vector<std::string> kept;
    int current;
  } rows[] = {
      {{Tab("http://a/"), Tab("about:blank"), Tab("http://c/")}, 2, {"http://a/", "http://c/"}, 1},
      {{Tab("http://a/"), Tab("ABOUT:blank#blocked"), Tab("http://c/")}, 1, {"http://a/", "http://c/"}, 0},
      {{Tab("/usr/share/sorvi/Sorvi.htm", true), Tab("http://b/")}, 0, {"http://b/"}, 0},
      {{Tab(""), Tab(long_address), Tab("http://a/\nb")}, 0, {}, 0},
  };
  for (const auto& row : rows) {
    const Session s = SessionToKeep(row.open, row.active);
    std::vector<std::string> kept;
    for (const SessionTab& t : s.tabs) kept.push_back(t.address);
    EXPECT_EQ(kept, row.kept);
    EXPECT_EQ(s.current, row.current);
  }
}

TEST(SessionFile, WritesBesideTheProgramsSectionsAndReadsBackByteForByte) {
  TempDir dir;
  WriteRaw(dir.File(), "[Window]\r\nTop=1\r\n[Session]\r\nCount=4\r\n[SessionTab4]\r\nAddress=http://old/\r\n");
  SettingsFile file(dir.File());
  Session session;
  session.tabs = {{"http://a/?n=\x83\x5C\x8A\x94 ",
                   " \x83\x67\x83\x88\x83\x5E ",
                   true,
                   4,
                   true,
                   false,
                   {false, {" \x8E\xE5\x97\xCD", "B"}}},
                  {"file:///tmp/x.htm", "x", false, 0, false, true, {true, {}}},  // no reload: no watch kept
                  {"http://c/", "c", false, 20, false, false, {true, {}}}};
  session.current = 1;
  WriteSession(file, session);
  ASSERT_FALSE(file.Commit().Failed());

  const SettingsFile back(dir.File());
  EXPECT_EQ(back.ReadString("Window", "Top", "") + back.ReadString("SessionTab4", "Address", "gone"), "1gone");
  EXPECT_TRUE(ReadRestoreOption(back));
  const Session read = ReadSession(back);
  ASSERT_EQ(read.tabs.size(), 3u);
  EXPECT_EQ(read.current, 1);
  for (size_t i = 0; i < 3; ++i) {
    const SessionTab &a = session.tabs[i], &b = read.tabs[i];
    EXPECT_EQ(std::tie(a.address, a.caption, a.fixed_caption, a.reload_interval, a.silent, a.locked),
              std::tie(b.address, b.caption, b.fixed_caption, b.reload_interval, b.silent, b.locked));
    EXPECT_EQ(b.watch, i == 1 ? StockWatch{} : a.watch) << i;
  }
  EXPECT_EQ(back.ReadString("SessionTab2", "WatchAll", "none"), "none");

  SettingsFile off(dir.File());
  ForgetSession(off);
  ASSERT_FALSE(off.Commit().Failed());
  EXPECT_EQ(ReadRaw(dir.File()), "[Window]\r\nTop=1\r\n[Session]\r\nRestore=0\r\n");
}

TEST(SessionFile, OddValuesAreSkippedOrBroughtBack) {
  TempDir dir;
  WriteRaw(dir.File(),
           "[Session]\r\nCount=99999\r\nCurrent=2\r\n"
           "[SessionTab1]\r\nAddress=http://a/\r\nReload=3\r\nFixed=1\r\n"
           "[SessionTab2]\r\nCaption=no address\r\n"
           "[SessionTab3]\r\nAddress=http://c/\r\nReload=-4\r\nCaption=c\r\nFixed=1\r\nLock=2\r\n"
           "[SessionTab4]\r\nAddress=http://d/\r\nReload=20\r\n");
  const Session read = ReadSession(SettingsFile(dir.File()));
  std::string seen;  // address, reload, fixed, lock of each tab read
  for (const SessionTab& t : read.tabs)
    seen +=
        t.address + " " + std::to_string(t.reload_interval) + (t.fixed_caption ? "F" : "-") + (t.locked ? "L;" : "-;");
  // Reload 3 is no menu interval, -4 none; a fixed caption needs a caption.
  EXPECT_EQ(seen, "http://a/ 0--;http://c/ 0FL;http://d/ 20--;");
  EXPECT_EQ(read.current, 1);  // the third entry, second read
  WriteRaw(dir.File(), "[Session]\r\nCount=2\r\nCurrent=7\r\n[SessionTab2]\r\nAddress=x\r\n");
  EXPECT_EQ(ReadSession(SettingsFile(dir.File())).current, 0);
}

}  // namespace
}  // namespace sorvi
