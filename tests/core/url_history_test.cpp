#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings/settings_file.h"
#include "core/settings/url_history.h"
#include "temp_dir.h"

namespace sorvi {
namespace {

TEST(UrlHistory, MissingKeysBecomeEmptyEntriesAndAreDroppedOnWrite) {
  TempDir dir;
  WriteRaw(dir.File(), "[URL]\r\nCount=3\r\n1=http://a/\r\n3=http://c/\r\n7=stale\r\n[Window]\r\nTop=1\r\n");
  SettingsFile file(dir.File());
  const std::vector<std::string> history = ReadUrlHistory(file);
  EXPECT_EQ(history, (std::vector<std::string>{"http://a/", "", "http://c/"}));

  WriteUrlHistory(file, history);
  ASSERT_FALSE(file.Commit().Failed());
  EXPECT_EQ(ReadRaw(dir.File()), "[Window]\r\nTop=1\r\n[URL]\r\n1=http://a/\r\n2=http://c/\r\nCount=2\r\n");
  EXPECT_EQ(ReadUrlHistory(SettingsFile(dir.File())), (std::vector<std::string>{"http://a/", "http://c/"}));
}

TEST(UrlHistory, CountOutOfRange) {
  TempDir dir;
  EXPECT_TRUE(ReadUrlHistory(SettingsFile(dir.File())).empty());
  WriteRaw(dir.File(), "[URL]\r\nCount=-2\r\n1=a\r\n");
  EXPECT_TRUE(ReadUrlHistory(SettingsFile(dir.File())).empty());
  WriteRaw(dir.File(), "[URL]\r\nCount=2000000000\r\n1=a\r\n");
  const std::vector<std::string> capped = ReadUrlHistory(SettingsFile(dir.File()));
  ASSERT_EQ(capped.size(), static_cast<size_t>(kMaxUrlHistoryRead));
  EXPECT_EQ(capped[0], "a");
  EXPECT_EQ(capped[1], "");
}

TEST(UrlHistory, EmptyHistoryWritesCountZero) {
  TempDir dir;
  SettingsFile file(dir.File());
  WriteUrlHistory(file, {"", ""});
  ASSERT_FALSE(file.Commit().Failed());
  EXPECT_EQ(ReadRaw(dir.File()), "[URL]\r\nCount=0\r\n");
}

}  // namespace
}  // namespace sorvi
