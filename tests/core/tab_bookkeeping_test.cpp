#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/tabs/address_history.h"
#include "core/tabs/navigate_mode.h"
#include "core/tabs/tab_close.h"
#include "core/tabs/tab_switch.h"
#include "core/tabs/tab_title.h"

namespace sorvi {
namespace {

using Entries = std::vector<std::string>;

// ---- address box history ---------------------------------------------------

TEST(AddressHistoryTest, NewAddressGoesFirstWithoutSelecting) {
  Entries entries{"http://b/", "http://c/"};
  int selected = -1;
  AddToHistory(entries, "http://a/", kAddressHistoryLimit, &selected);
  EXPECT_EQ(entries, (Entries{"http://a/", "http://b/", "http://c/"}));
  EXPECT_EQ(selected, -1);
}

TEST(AddressHistoryTest, EmptyTextChangesNothing) {
  Entries entries{"http://a/"};
  int selected = -1;
  AddToHistory(entries, "", kAddressHistoryLimit, &selected);
  EXPECT_EQ(entries, Entries{"http://a/"});
  EXPECT_EQ(selected, -1);
}

TEST(AddressHistoryTest, MatchIgnoringCaseMovesToTopWrittenAsTyped) {
  Entries entries{"http://a/", "http://Example.com/X", "http://c/"};
  int selected = -1;
  AddToHistory(entries, "HTTP://example.COM/x", kAddressHistoryLimit, &selected);
  EXPECT_EQ(entries, (Entries{"HTTP://example.COM/x", "http://a/", "http://c/"}));
  EXPECT_EQ(selected, 0);
}

TEST(AddressHistoryTest, RepeatingTheFirstEntryKeepsOneCopy) {
  Entries entries{"http://a/", "http://b/"};
  AddToHistory(entries, "http://a/", kAddressHistoryLimit);
  EXPECT_EQ(entries, (Entries{"http://a/", "http://b/"}));
}

TEST(AddressHistoryTest, MatchAtTheOldestPlaceOfAFullListKeepsEverythingElse) {
  Entries entries;
  for (int i = 19; i >= 0; --i) entries.push_back("u" + std::to_string(i));
  AddToHistory(entries, "U0", kAddressHistoryLimit);
  ASSERT_EQ(entries.size(), 20u);
  EXPECT_EQ(entries.front(), "U0");
  EXPECT_EQ(entries[1], "u19");
  EXPECT_EQ(entries.back(), "u1");
}

TEST(AddressHistoryTest, TwentyFirstAddressDropsTheOldest) {
  Entries entries;
  for (int i = 0; i < 21; ++i)
    AddToHistory(entries, "http://site" + std::to_string(i) + "/",
                 kAddressHistoryLimit);
  ASSERT_EQ(entries.size(), 20u);
  EXPECT_EQ(entries.front(), "http://site20/");
  EXPECT_EQ(entries.back(), "http://site1/");
}

TEST(AddressHistoryTest, OnlySingleByteLettersFoldCase) {
  // ア (83 41) and チ (83 61) differ only by the case of their second byte.
  Entries entries{"file:///\x83\x41"};
  AddToHistory(entries, "FILE:///\x83\x61", kAddressHistoryLimit);
  EXPECT_EQ(entries, (Entries{"FILE:///\x83\x61", "file:///\x83\x41"}));
  AddToHistory(entries, "File:///\x83\x41", kAddressHistoryLimit);
  EXPECT_EQ(entries, (Entries{"File:///\x83\x41", "FILE:///\x83\x61"}));
}

TEST(AddressHistoryTest, OddBytesNeverCrash) {
  Entries entries{std::string("a\0b", 3), "\x81"};
  AddToHistory(entries, std::string("A\0B", 3), 20);
  EXPECT_EQ(entries.size(), 2u);
  AddToHistory(entries, "\x81", 20);
  EXPECT_EQ(entries, (Entries{"\x81", std::string("A\0B", 3)}));
  AddToHistory(entries, "x", 0);  // nothing may be kept: the new one goes too
  EXPECT_EQ(entries.size(), 2u);
}

// ---- tab caption from the page title ---------------------------------------

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
  const std::string document =
      "\x8A\x94\x89\xBF\x83\x60\x83\x83\x81\x5B\x83\x67 " + std::string(60, 'y');
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

// ---- navigate mode -----------------------------------------------------------

TEST(NavigateModeTest, ShiftInvertsTheModeAndNoTabAlwaysOpensOne) {
  using M = NavigateMode;
  EXPECT_TRUE(OpensNewTab(true, M::NewTab, false));
  EXPECT_FALSE(OpensNewTab(true, M::NewTab, true));
  EXPECT_FALSE(OpensNewTab(true, M::Overwrite, false));
  EXPECT_TRUE(OpensNewTab(true, M::Overwrite, true));
  for (M mode : {M::NewTab, M::Overwrite})
    for (bool shift : {false, true}) EXPECT_TRUE(OpensNewTab(false, mode, shift));
}

TEST(NavigateModeTest, SettingValueOneIsNewTabAnythingElseOverwrite) {
  EXPECT_EQ(NavigateModeFromSetting(1), NavigateMode::NewTab);
  EXPECT_EQ(NavigateModeFromSetting(2), NavigateMode::Overwrite);
  EXPECT_EQ(NavigateModeFromSetting(0), NavigateMode::Overwrite);
  EXPECT_EQ(NavigateModeToSetting(NavigateMode::NewTab), 1);
  EXPECT_EQ(NavigateModeToSetting(NavigateMode::Overwrite), 2);
}

// ---- closing a tab -----------------------------------------------------------

TEST(CloseTabTest, ClosingTheLastTabLeavesNone) {
  const CloseResult r = CloseTab({-1}, 0);
  EXPECT_EQ(r.next_active, -1);
  EXPECT_TRUE(r.return_indexes.empty());
}

TEST(CloseTabTest, ReturnsToTheTabNamedBeforeTheClosedOne) {
  // A, B, C with C active, C came from A.
  const CloseResult r = CloseTab({-1, 0, 0}, 2);
  EXPECT_EQ(r.next_active, 0);
  EXPECT_EQ(r.return_indexes, (std::vector<int>{-1, 0}));
}

TEST(CloseTabTest, ReturnIndexAfterTheClosedTabShiftsDown) {
  // Closing B (index 1) that returns to C (index 2): C is now at index 1.
  const CloseResult r = CloseTab({-1, 2, 1}, 1);
  EXPECT_EQ(r.next_active, 1);
  EXPECT_EQ(r.return_indexes, (std::vector<int>{-1, 0}));
}

TEST(CloseTabTest, NoReturnTabActivatesTheFirst) {
  const CloseResult r = CloseTab({-1, 0, 1}, 0);
  EXPECT_EQ(r.next_active, 0);
  // Values of 0 and below do not move.
  EXPECT_EQ(r.return_indexes, (std::vector<int>{0, 0}));
}

TEST(CloseTabTest, OnlyTabsFromTheClosedPositionOnAreAdjusted) {
  // Tab 0 points at 3 but stands before the closed tab 1: left as it is.
  const CloseResult r = CloseTab({3, 0, 3, 2}, 1);
  EXPECT_EQ(r.next_active, 0);
  EXPECT_EQ(r.return_indexes, (std::vector<int>{3, 2, 1}));
}

TEST(CloseTabTest, ReturnIndexBeyondTheTabsFallsBackToTheFirst) {
  EXPECT_EQ(CloseTab({-1, 0, 7}, 2).next_active, 0);
  EXPECT_EQ(CloseTab({-1, 5, 0}, 1).next_active, 0);
}

TEST(CloseTabTest, IndexOutsideTheTabsClosesNothing) {
  for (int closed : {-1, 3}) {
    const CloseResult r = CloseTab({-1, 0, 1}, closed);
    EXPECT_EQ(r.next_active, -1);
    EXPECT_EQ(r.return_indexes, (std::vector<int>{-1, 0, 1}));
  }
  EXPECT_EQ(CloseTab({}, 0).next_active, -1);
}

// ---- tab switch bookkeeping --------------------------------------------------

TEST(TabSwitchTest, UserSwitchRemembersTheTabLeft) {
  TabSwitchMemory memory;
  int return_index = -1;
  EXPECT_TRUE(memory.Leave(2, false, true));
  memory.Arrive(true, return_index);
  EXPECT_EQ(return_index, 2);
}

TEST(TabSwitchTest, SwitchWithoutSenderLeavesReturnIndexAlone) {
  TabSwitchMemory memory;
  EXPECT_TRUE(memory.Leave(1, false, true));
  EXPECT_TRUE(memory.Leave(3, false, false));
  EXPECT_EQ(memory.previous_tab_index(), 1);
  int return_index = 5;
  memory.Arrive(false, return_index);
  EXPECT_EQ(return_index, 5);
}

TEST(TabSwitchTest, WaitingMacroRefusesTheSwitchAndNotesNothing) {
  TabSwitchMemory memory;
  EXPECT_TRUE(memory.Leave(1, false, true));
  EXPECT_FALSE(memory.Leave(4, true, true));
  EXPECT_EQ(memory.previous_tab_index(), 1);
  EXPECT_TRUE(memory.Leave(-1, true, true));  // no active tab: nothing to keep
  EXPECT_EQ(memory.previous_tab_index(), 1);
}

}  // namespace
}  // namespace sorvi
