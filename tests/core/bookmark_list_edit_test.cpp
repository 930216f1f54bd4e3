#include "core/bookmarks/bookmark_list_edit.h"

#include <gtest/gtest.h>

namespace sorvi {
namespace {

UrlBookmark Named(std::string name) {
  UrlBookmark b;
  b.name = std::move(name);
  b.url_macro = "http://x/" + b.name;
  return b;
}

std::vector<UrlBookmark> Three() { return {Named("one"), Named("two"), Named("three")}; }

std::string Names(const std::vector<UrlBookmark>& list) {
  std::string out;
  for (const UrlBookmark& b : list) out += (out.empty() ? "" : ",") + b.name;
  return out;
}

TEST(BookmarkKeyMacroPartTest, EmptyTextMeansNoKeyMacroWhateverTheBox) {
  UrlBookmark b = Named("n");
  SetKeyMacroPart(b, "\\c\\r", true);
  EXPECT_EQ(b.key_macro_state, 1);
  SetKeyMacroPart(b, "\\t", false);
  EXPECT_EQ(b.key_macro_state, 0);
  EXPECT_EQ(SerializeBookmarkList({b}), "[n]\r\n-\\t\r\nhttp://x/n\r\n");
  SetKeyMacroPart(b, "", true);
  EXPECT_EQ(b.key_macro_state, -1);
  EXPECT_EQ(SerializeBookmarkList({b}), "[n]\r\nhttp://x/n\r\n");
}

TEST(BookmarkAddTest, NewOneFollowsTheSelection) {
  std::vector<UrlBookmark> list = Three();
  EXPECT_EQ(AddBookmark(list, 0, Named("new")), 1);
  EXPECT_EQ(Names(list), "one,new,two,three");
  EXPECT_EQ(AddBookmark(list, std::nullopt, Named("end")), 4);
  EXPECT_EQ(AddBookmark(list, 4, Named("last")), 5);
  EXPECT_EQ(Names(list), "one,new,two,three,end,last");
  std::vector<UrlBookmark> empty;
  EXPECT_EQ(AddBookmark(empty, std::nullopt, Named("first")), 0);
}

TEST(BookmarkDuplicateTest, LastOneLeavesTheCopySecondToLast) {
  std::vector<UrlBookmark> list = Three();
  list[2].fixed_title = 1;
  list[2].title = "%CD%";
  SetKeyMacroPart(list[2], "\\r", true);
  EXPECT_EQ(DuplicateBookmark(list, 2), 3);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[2], list[3]);
  EXPECT_EQ(Names(list), "one,two,three,three");
  EXPECT_EQ(DuplicateBookmark(list, 4), std::nullopt);
}

TEST(BookmarkDeleteTest, RemovesOnlyThatRow) {
  std::vector<UrlBookmark> list = Three();
  EXPECT_TRUE(DeleteBookmark(list, 1));
  EXPECT_EQ(Names(list), "one,three");
  EXPECT_FALSE(DeleteBookmark(list, 2));
}

std::string Drag(std::vector<UrlBookmark> list, int from, int target) {
  if (const std::optional<int> to = PlanBookmarkDrop(int(list.size()), from, target)) MoveBookmark(list, from, *to);
  return Names(list);
}

TEST(BookmarkDropTest, MovesOntoAnotherRowButNotOntoItselfOrOutside) {
  EXPECT_EQ(Drag(Three(), 0, 2), "two,three,one");
  EXPECT_EQ(Drag(Three(), 2, 0), "three,one,two");
  EXPECT_EQ(Drag(Three(), 1, 2), "one,three,two");
  EXPECT_EQ(PlanBookmarkDrop(3, 1, 1), std::nullopt);
  EXPECT_EQ(PlanBookmarkDrop(3, 0, 3), std::nullopt);
  EXPECT_EQ(PlanBookmarkDrop(3, -1, 0), std::nullopt);
}

}  // namespace
}  // namespace sorvi
