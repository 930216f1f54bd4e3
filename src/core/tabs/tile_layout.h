#pragma once
// Several tabs' pages on screen at once: the layouts, and which tab each tile
// shows as tabs are selected, opened and closed. A tab is named by a key that
// stays with it while it moves in the strip.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/settings/settings_file.h"

namespace sorvi {

enum class TileLayout { kSingle, kSideBySide, kStacked, kGrid2x2, kGrid3x2 };

struct TileGrid {
  int columns = 1;
  int rows = 1;
};

TileGrid GridOf(TileLayout layout);
inline int TileCount(TileLayout layout) { return GridOf(layout).columns * GridOf(layout).rows; }

// The text kept in the settings ("1x1", "2x1", "1x2", "2x2", "3x2": columns
// by rows) and back; any other text gives nothing.
std::string_view TileLayoutText(TileLayout layout);
std::optional<TileLayout> ParseTileLayout(std::string_view text);

// Section Tiles, key Layout; a missing or unknown value is one tile. One
// tile is written only over a value that is there.
TileLayout ReadTileLayout(const SettingsFile& file);
void WriteTileLayout(SettingsFile& file, TileLayout layout);

using TabKey = std::uintptr_t;
inline constexpr TabKey kNoTab = 0;

class TileBoard {
 public:
  TileLayout layout() const { return layout_; }
  // One entry per tile, left to right and top to bottom; kNoTab where empty.
  const std::vector<TabKey>& tiles() const { return tiles_; }
  int current_tile() const { return current_; }
  // -1 when `tab` is not shown.
  int TileOf(TabKey tab) const;

  // The current tab and the tabs nearest to it in `strip` fill the new
  // tiles, those shown before taking precedence, in strip order.
  void SetLayout(TileLayout layout, const std::vector<TabKey>& strip, TabKey current);
  // `tab` becomes current: in its own tile when shown, else in the current
  // tile, in place of what that showed.
  void Select(TabKey tab);
  // A new tab goes into the first empty tile from the current one on, else
  // into the tile after the current one, so that a row of openings fills
  // the screen; its tile becomes current.
  void Open(TabKey tab);
  // `closed` leaves `strip` (the strip as it is before the close) and `next`
  // comes forward. The freed tile takes `next` when that is not shown, else
  // the hidden tab nearest to the closed one, else stays empty.
  void Close(TabKey closed, const std::vector<TabKey>& strip, TabKey next);

 private:
  TileLayout layout_ = TileLayout::kSingle;
  std::vector<TabKey> tiles_ = {kNoTab};
  int current_ = 0;
};

}  // namespace sorvi
