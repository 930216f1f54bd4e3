#pragma once
// What the strip's helpers (the page tools, the open queue, the tab menu)
// ask of the tabs.

namespace sorvi {

class BrowserTab;

class ActiveTabHost {
 public:
  // The tab whose state the window shows; null when there is none.
  virtual BrowserTab* ActiveTab() const = 0;
  // A key macro waits to be played in a tab, which the user cannot leave.
  virtual bool MacroWaiting() const = 0;
  // Closes `tab`, whichever tab is active.
  virtual void Close(BrowserTab* tab) = 0;

 protected:
  ~ActiveTabHost() = default;
};

}  // namespace sorvi
