#pragma once
// The zoom levels a tab steps through with Ctrl+plus / Ctrl+minus and the
// wheel: the fixed percentages users know from browsers, not multiples.
#include <array>

namespace sorvi {

inline constexpr double kDefaultZoom = 1.0;

// In percent, ascending; 100 is among them.
inline constexpr std::array<int, 15> kZoomPercents = {25,  33,  50,  67,  75,  80,  90, 100,
                                                      110, 125, 150, 175, 200, 250, 300};

// The next level above / below `factor` (1.0 is 100 %). A factor between
// two levels goes to the neighbour in that direction; at the ends the end
// level stays.
double ZoomIn(double factor);
double ZoomOut(double factor);

// The factor in whole percent, rounded.
int ZoomPercent(double factor);

}  // namespace sorvi
