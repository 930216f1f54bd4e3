#include "core/keymacro/held_keys.h"

#include <gtest/gtest.h>

#include <vector>

namespace sorvi {
namespace {

// 'P' press, 'p' press marked as a repeat, 'R' release, 'C' keyboard lost.
struct KeyEvent {
  char what;
  int key;
  uint32_t time;
};

TEST(HeldKeysTest, OnePlayPerPhysicalPress) {
  const struct {
    const char* name;
    std::vector<KeyEvent> events;
    std::vector<bool> plays;  // per press, in order
  } rows[] = {
      {"X's repeat pairs",
       {{'P', 6, 1000}, {'R', 6, 1500}, {'P', 6, 1500}, {'R', 6, 1540}, {'P', 6, 1544}},
       {true, false, false}},
      {"quick second press", {{'P', 6, 1000}, {'R', 6, 1080}, {'P', 6, 1150}}, {true, true}},
      {"repeats without releases",
       {{'P', 6, 1000}, {'P', 6, 1500}, {'R', 6, 1600}, {'P', 6, 3000}},
       {true, false, true}},
      {"the toolkit's own mark", {{'P', 6, 1000}, {'R', 6, 1500}, {'p', 6, 1700}}, {true, false}},
      {"moments not known", {{'P', 6, 0}, {'R', 6, 0}, {'P', 6, 0}, {'R', 6, 1500}, {'P', 6, 0}}, {true, true, true}},
      {"another key", {{'P', 5, 1000}, {'R', 5, 1500}, {'P', 6, 1500}, {'P', 5, 1500}}, {true, true, false}},
      {"the clock's wrap", {{'P', 6, 0xFFFFFF00}, {'R', 6, 0xFFFFFFFE}, {'P', 6, 3}}, {true, false}},
      {"keyboard lost while held", {{'P', 6, 1000}, {'C', 0, 0}, {'P', 6, 9000}}, {true, true}},
  };
  for (const auto& row : rows) {
    HeldKeys keys;
    std::vector<bool> plays;
    for (const KeyEvent& e : row.events) {
      if (e.what == 'R') keys.Release(e.key, e.time);
      if (e.what == 'C') keys.Clear();
      if (e.what == 'P' || e.what == 'p') plays.push_back(keys.Press(e.key, e.time, e.what == 'p'));
    }
    EXPECT_EQ(plays, row.plays) << row.name;
  }
}

}  // namespace
}  // namespace sorvi
