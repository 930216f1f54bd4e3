#include "core/tabs/tile_layout.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

namespace sorvi {

namespace {

struct LayoutEntry {
  TileLayout layout;
  TileGrid grid;
  std::string_view text;
};

constexpr std::array<LayoutEntry, 5> kLayouts = {{
    {TileLayout::kSingle, {1, 1}, "1x1"},
    {TileLayout::kSideBySide, {2, 1}, "2x1"},
    {TileLayout::kStacked, {1, 2}, "1x2"},
    {TileLayout::kGrid2x2, {2, 2}, "2x2"},
    {TileLayout::kGrid3x2, {3, 2}, "3x2"},
}};

const LayoutEntry& EntryOf(TileLayout layout) {
  for (const LayoutEntry& entry : kLayouts) {
    if (entry.layout == layout) return entry;
  }
  return kLayouts[0];
}

int PositionIn(const std::vector<TabKey>& strip, TabKey tab) {
  const auto it = std::find(strip.begin(), strip.end(), tab);
  return it == strip.end() ? -1 : int(it - strip.begin());
}

// Strip positions by distance from `from`, the one after before the one
// before at each distance; `from` itself first when it is a position.
std::vector<int> NearestFirst(int count, int from) {
  std::vector<int> order;
  if (from >= 0 && from < count) order.push_back(from);
  for (int d = 1; int(order.size()) < count; ++d) {
    if (from + d >= 0 && from + d < count) order.push_back(from + d);
    if (from - d >= 0 && from - d < count) order.push_back(from - d);
    if (from + d >= count && from - d < 0) break;
  }
  return order;
}

}  // namespace

TileGrid GridOf(TileLayout layout) { return EntryOf(layout).grid; }

std::string_view TileLayoutText(TileLayout layout) { return EntryOf(layout).text; }

std::optional<TileLayout> ParseTileLayout(std::string_view text) {
  for (const LayoutEntry& entry : kLayouts) {
    if (entry.text == text) return entry.layout;
  }
  return std::nullopt;
}

TileLayout ReadTileLayout(const SettingsFile& file) {
  return ParseTileLayout(file.ReadString("Tiles", "Layout", "")).value_or(TileLayout::kSingle);
}

void WriteTileLayout(SettingsFile& file, TileLayout layout) {
  // A file that never had tiles stays as it was.
  if (layout == TileLayout::kSingle && file.ReadString("Tiles", "Layout", "").empty()) return;
  file.WriteString("Tiles", "Layout", TileLayoutText(layout));
}

int TileBoard::TileOf(TabKey tab) const {
  if (tab == kNoTab) return -1;
  return PositionIn(tiles_, tab);
}

void TileBoard::SetLayout(TileLayout layout, const std::vector<TabKey>& strip, TabKey current) {
  const int count = TileCount(layout);
  const int from = PositionIn(strip, current);
  std::vector<int> order = NearestFirst(int(strip.size()), from);
  // The current tab first, then what was on screen, then the rest.
  std::stable_partition(order.begin(), order.end(),
                        [&](int pos) { return pos == from || TileOf(strip[size_t(pos)]) >= 0; });
  order.resize(std::min(order.size(), size_t(count)));
  std::sort(order.begin(), order.end());

  layout_ = layout;
  tiles_.assign(size_t(count), kNoTab);
  for (size_t i = 0; i < order.size(); ++i) tiles_[i] = strip[size_t(order[i])];
  current_ = std::max(TileOf(current), 0);
}

void TileBoard::Select(TabKey tab) {
  if (tab == kNoTab) return;
  const int tile = TileOf(tab);
  if (tile >= 0) {
    current_ = tile;
    return;
  }
  tiles_[size_t(current_)] = tab;
}

void TileBoard::Open(TabKey tab) {
  if (tab == kNoTab || TileOf(tab) >= 0) {
    Select(tab);
    return;
  }
  const int count = int(tiles_.size());
  int target = (current_ + 1) % count;
  for (int i = 0; i < count; ++i) {
    const int tile = (current_ + i) % count;
    if (tiles_[size_t(tile)] == kNoTab) {
      target = tile;
      break;
    }
  }
  tiles_[size_t(target)] = tab;
  current_ = target;
}

void TileBoard::Close(TabKey closed, const std::vector<TabKey>& strip, TabKey next) {
  const int freed = TileOf(closed);
  if (freed < 0) {
    Select(next);
    return;
  }
  tiles_[size_t(freed)] = kNoTab;
  TabKey fill = kNoTab;
  if (next != kNoTab && TileOf(next) < 0) {
    fill = next;
  } else {
    for (int pos : NearestFirst(int(strip.size()), PositionIn(strip, closed))) {
      const TabKey tab = strip[size_t(pos)];
      if (tab != closed && TileOf(tab) < 0) {
        fill = tab;
        break;
      }
    }
  }
  tiles_[size_t(freed)] = fill;
  const int next_tile = TileOf(next);
  current_ = next_tile >= 0 ? next_tile : freed;
}

}  // namespace sorvi
