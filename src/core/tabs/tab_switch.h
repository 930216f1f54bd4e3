#pragma once
// Bookkeeping of a tab switch: the tab switched to remembers the tab the user
// came from, so closing it later returns there.
namespace sorvi {

class TabSwitchMemory {
 public:
  // Before the switch (PageControlChanging). No active tab (-1): nothing,
  // the switch is allowed. While a key macro waits to be played the switch
  // is refused (false) and nothing is noted. Otherwise, with a sender, the
  // active index is noted; the caller saves the toolbar state into the
  // leaving tab whenever this returns true and active_index >= 0.
  bool Leave(int active_index, bool macro_waiting, bool with_sender);

  // After the switch (PageControlChange): with a sender, the tab now active
  // gets the noted index as its ReturnIndex.
  void Arrive(bool with_sender, int& return_index) const;

  int previous_tab_index() const { return previous_tab_index_; }

 private:
  int previous_tab_index_ = 0;
};

}  // namespace sorvi
