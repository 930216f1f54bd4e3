#include <gtest/gtest.h>

#include <vector>

#include "core/tabs/tile_layout.h"

namespace sorvi {
namespace {

using Keys = std::vector<TabKey>;

Keys Strip(int count) {
  Keys strip;
  for (int i = 1; i <= count; ++i) strip.push_back(TabKey(i));
  return strip;
}

TEST(TileLayoutTest, SettingsTextRoundTripsAndUnknownTextIsOneTile) {
  const TileLayout all[] = {TileLayout::kSingle, TileLayout::kSideBySide, TileLayout::kStacked, TileLayout::kGrid2x2,
                            TileLayout::kGrid3x2};
  for (TileLayout layout : all) EXPECT_EQ(ParseTileLayout(TileLayoutText(layout)), layout);
  for (const char* text : {"", "2X2", "4", " 2x2", "2x2 "}) EXPECT_EQ(ParseTileLayout(text), std::nullopt) << text;

  SettingsFile ini("/nonexistent/Sorvi.ini");
  WriteTileLayout(ini, TileLayout::kSingle);
  EXPECT_EQ(ini.ReadString("Tiles", "Layout", "none"), "none");
  WriteTileLayout(ini, TileLayout::kGrid3x2);
  EXPECT_EQ(ReadTileLayout(ini), TileLayout::kGrid3x2);
  WriteTileLayout(ini, TileLayout::kSingle);
  EXPECT_EQ(ReadTileLayout(ini), TileLayout::kSingle);
}

TEST(TileLayoutTest, NewLayoutShowsTheCurrentTabAndItsNeighboursInStripOrder) {
  struct Row {
    const char* what;
    int tabs;
    TileLayout before;
    TabKey current;
    TileLayout after;
    Keys tiles;
    int current_tile;
  };
  const Row rows[] = {
      {"four tabs, last current", 4, TileLayout::kSingle, 4, TileLayout::kGrid2x2, {1, 2, 3, 4}, 3},
      {"first of ten", 10, TileLayout::kSingle, 1, TileLayout::kGrid2x2, {1, 2, 3, 4}, 0},
      {"near the end of ten", 10, TileLayout::kSingle, 8, TileLayout::kGrid2x2, {7, 8, 9, 10}, 1},
      {"fewer tabs than tiles", 2, TileLayout::kSingle, 1, TileLayout::kGrid3x2, {1, 2, 0, 0, 0, 0}, 0},
      {"shrinking keeps the current", 4, TileLayout::kGrid2x2, 3, TileLayout::kSideBySide, {3, 4}, 0},
      {"back to one tile", 6, TileLayout::kGrid3x2, 5, TileLayout::kSingle, {5}, 0},
      {"no tabs", 0, TileLayout::kSingle, kNoTab, TileLayout::kStacked, {0, 0}, 0},
  };
  for (const Row& row : rows) {
    TileBoard board;
    board.SetLayout(row.before, Strip(row.tabs), row.current);
    board.SetLayout(row.after, Strip(row.tabs), row.current);
    EXPECT_EQ(board.tiles(), row.tiles) << row.what;
    EXPECT_EQ(board.current_tile(), row.current_tile) << row.what;
  }

  // What was on screen stays on screen when the tiles grow.
  TileBoard board;
  board.SetLayout(TileLayout::kSideBySide, Strip(6), 1);
  board.Select(6);
  EXPECT_EQ(board.tiles(), (Keys{6, 2}));
  board.SetLayout(TileLayout::kGrid2x2, Strip(6), 6);
  EXPECT_EQ(board.tiles(), (Keys{2, 4, 5, 6}));
  EXPECT_EQ(board.current_tile(), 3);
}

TEST(TileLayoutTest, SelectingOpeningAndClosingMoveTabsThroughTheTiles) {
  enum Op { kSelect, kOpen, kClose };
  struct Step {
    Op op;
    TabKey tab;
    TabKey next;  // the tab that comes forward after a close
    Keys tiles;
    int current_tile;
  };
  // Six tabs in the strip, 2x2 from tab 1; a closed tab leaves the strip.
  const Step steps[] = {
      {kSelect, 3, 0, {1, 2, 3, 4}, 2},  // shown: its own tile
      {kSelect, 6, 0, {1, 2, 6, 4}, 2},  // hidden: into the current tile
      {kClose, 6, 2, {1, 2, 5, 4}, 1},   // next is shown: the nearest hidden fills
      {kClose, 2, 3, {1, 3, 5, 4}, 1},   // next was hidden: it fills the freed tile
      {kOpen, 7, 0, {1, 3, 7, 4}, 2},    // no empty tile: the one after the current
      {kClose, 7, 1, {1, 3, 5, 4}, 0},   // next is shown: the hidden tab nearest the closed one
      {kOpen, 8, 0, {1, 8, 5, 4}, 1},    // again the tile after the current one
      {kClose, 5, 8, {1, 8, 3, 4}, 1},  {kClose, 8, 1, {1, 0, 3, 4}, 0},  // nothing hidden left: the tile stays empty
      {kOpen, 9, 0, {1, 9, 3, 4}, 1},                                     // an empty tile is filled first
  };
  Keys strip = Strip(6);
  TileBoard board;
  board.SetLayout(TileLayout::kGrid2x2, strip, 1);
  int n = 0;
  for (const Step& step : steps) {
    ++n;
    if (step.op == kSelect) board.Select(step.tab);
    if (step.op == kOpen) {
      strip.push_back(step.tab);
      board.Open(step.tab);
    }
    if (step.op == kClose) {
      board.Close(step.tab, strip, step.next);
      std::erase(strip, step.tab);
    }
    EXPECT_EQ(board.tiles(), step.tiles) << "step " << n;
    EXPECT_EQ(board.current_tile(), step.current_tile) << "step " << n;
  }
}

}  // namespace
}  // namespace sorvi
