#include <gtest/gtest.h>

#include "core/tabs/tab_switch.h"

namespace sorvi {
namespace {

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
