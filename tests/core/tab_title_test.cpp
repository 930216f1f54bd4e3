#include <gtest/gtest.h>

#include <string>

#include "core/tabs/tab_title.h"

namespace sorvi {
namespace {

TEST(TabCaptionTest, LongAddressTitleIsCut) {
  const std::string title = "http://www.example.com/charts/12345678.htm";  // 42
  ASSERT_EQ(title.size(), 42u);
  const std::string at44 = title + "#x";
  EXPECT_EQ(TabCaptionFromTitle(at44), at44.substr(0, 36) + " ...");
  const std::string file = "file:///home/user/charts/index_of_everything.html";
  EXPECT_EQ(TabCaptionFromTitle(file), file.substr(0, 36) + " ...");
}

TEST(TabCaptionTest, TitlesShownWhole) {
  const std::string forty(40, 'x');
  EXPECT_EQ(TabCaptionFromTitle("http" + forty.substr(4)), "http" + forty.substr(4));
  const std::string capitals = "HTTP://WWW.EXAMPLE.COM/CHARTS/12345678.HTM#X";
  EXPECT_EQ(TabCaptionFromTitle(capitals), capitals);
  const std::string document = "\x8A\x94\x89\xBF\x83\x60\x83\x83\x81\x5B\x83\x67 " + std::string(60, 'y');
  EXPECT_EQ(TabCaptionFromTitle(document), document);
  EXPECT_EQ(TabCaptionFromTitle("htt"), "htt");
  EXPECT_EQ(TabCaptionFromTitle(""), "");
}

TEST(TabCaptionTest, CutMovesBeforeADoubleByteCharacter) {
  const std::string kanji = "\x8A\x94";  // 株
  // The character takes bytes 35 and 36: the cut goes back to 35 bytes.
  const std::string straddling = "http" + std::string(31, 'a') + kanji + "bbbbbb";
  EXPECT_EQ(TabCaptionFromTitle(straddling), straddling.substr(0, 35) + " ...");
  // Ending exactly at byte 36 it is kept.
  const std::string fitting = "http" + std::string(30, 'a') + kanji + "bbbbbb";
  EXPECT_EQ(TabCaptionFromTitle(fitting), fitting.substr(0, 36) + " ...");
}

}  // namespace
}  // namespace sorvi
