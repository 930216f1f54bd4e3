#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/tabs/address_history.h"

namespace sorvi {
namespace {

using Entries = std::vector<std::string>;

TEST(AddressHistoryTest, TypedAddressGoesFirstAndAMatchIsSelected) {
  const struct {
    Entries before;
    std::string text;
    Entries after;
    int selected;
  } rows[] = {
      // A new address goes first without selecting; empty text changes nothing.
      {{"http://b/", "http://c/"}, "http://a/", {"http://a/", "http://b/", "http://c/"}, -1},
      {{"http://a/"}, "", {"http://a/"}, -1},
      // A match ignoring case moves to the top, written as typed.
      {{"http://a/", "http://Example.com/X", "http://c/"},
       "HTTP://example.COM/x",
       {"HTTP://example.COM/x", "http://a/", "http://c/"},
       0},
      // Repeating the first entry keeps one copy.
      {{"http://a/", "http://b/"}, "http://a/", {"http://a/", "http://b/"}, 0},
  };
  for (const auto& row : rows) {
    Entries entries = row.before;
    int selected = -1;
    AddToHistory(entries, row.text, kAddressHistoryLimit, &selected);
    EXPECT_EQ(entries, row.after) << row.text;
    EXPECT_EQ(selected, row.selected) << row.text;
  }
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
  for (int i = 0; i < 21; ++i) AddToHistory(entries, "http://site" + std::to_string(i) + "/", kAddressHistoryLimit);
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

}  // namespace
}  // namespace sorvi
