#include "core/keymacro/held_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorvi {
namespace {

constexpr int kF5 = 5;
constexpr int kF6 = 6;

// 'P' press, 'p' press the toolkit marked as a repeat, 'R' release,
// 'C' the program lost the keyboard.
struct KeyEvent {
  char what;
  int key;
  uint32_t time;
};

struct Row {
  const char* name;
  std::vector<KeyEvent> events;
  // For each press in order: does it play.
  std::vector<bool> plays;
};

TEST(HeldKeysTest, OnePlayPerPhysicalPress) {
  const std::vector<Row> rows = {
      {"repeat pairs stamped alike",
       {{'P', kF6, 1000}, {'R', kF6, 1500}, {'P', kF6, 1500}, {'R', kF6, 1533}, {'P', kF6, 1533}, {'R', kF6, 2000}},
       {true, false, false}},
      {"repeat pair a few ms apart", {{'P', kF6, 1000}, {'R', kF6, 1500}, {'P', kF6, 1504}}, {true, false}},
      {"quick second press", {{'P', kF6, 1000}, {'R', kF6, 1080}, {'P', kF6, 1150}}, {true, true}},
      {"repeats without releases, then a new press",
       {{'P', kF6, 1000}, {'P', kF6, 1500}, {'P', kF6, 1533}, {'R', kF6, 1600}, {'P', kF6, 3000}},
       {true, false, false, true}},
      {"the toolkit's own mark", {{'P', kF6, 1000}, {'R', kF6, 1500}, {'p', kF6, 1700}}, {true, false}},
      {"moments not known never pair", {{'P', kF6, 0}, {'R', kF6, 0}, {'P', kF6, 0}, {'R', kF6, 0}}, {true, true}},
      {"a moment known on one side only", {{'P', kF6, 1000}, {'R', kF6, 1500}, {'P', kF6, 0}}, {true, true}},
      {"another key at the same moment",
       {{'P', kF5, 1000}, {'R', kF5, 1500}, {'P', kF6, 1500}, {'P', kF5, 1500}},
       {true, true, false}},
      {"across the clock's wrap", {{'P', kF6, 0xFFFFFF00}, {'R', kF6, 0xFFFFFFFE}, {'P', kF6, 3}}, {true, false}},
      {"release lost while the keyboard was away", {{'P', kF6, 1000}, {'C', 0, 0}, {'P', kF6, 9000}}, {true, true}},
  };
  for (const Row& row : rows) {
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
