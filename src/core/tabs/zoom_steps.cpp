#include "core/tabs/zoom_steps.h"

#include <cmath>

namespace sorvi {

namespace {

// Factors the engine hands back may differ from ours in the last bits.
constexpr double kSlack = 0.001;

double Factor(int percent) { return percent / 100.0; }

}  // namespace

double ZoomIn(double factor) {
  for (int percent : kZoomPercents) {
    if (Factor(percent) > factor + kSlack) return Factor(percent);
  }
  return Factor(kZoomPercents.back());
}

double ZoomOut(double factor) {
  for (auto it = kZoomPercents.rbegin(); it != kZoomPercents.rend(); ++it) {
    if (Factor(*it) < factor - kSlack) return Factor(*it);
  }
  return Factor(kZoomPercents.front());
}

int ZoomPercent(double factor) { return static_cast<int>(std::lround(factor * 100.0)); }

}  // namespace sorvi
