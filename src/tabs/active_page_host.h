#pragma once
// What the key macros need of the tabs: the active tab's page, the area the
// function keys count in, and the lock target. The tab controller answers;
// the key macros see the tabs through this alone.

class QWidget;

namespace sorvi {

class WebBrowser;

class ActivePageHost {
 public:
  // The active tab, as a handle to compare and to follow with a QPointer;
  // null when no tab is open.
  virtual QWidget* ActivePage() const = 0;
  // The browser `page` (a handle from ActivePage) shows now; null for none.
  virtual WebBrowser* BrowserOfPage(const QWidget* page) const = 0;
  // The tab area, strip and pages: function keys count only with the
  // focus inside it.
  virtual QWidget* TabArea() const = 0;
  // Gives the focus back to the active tab's lock target and clicks it
  // where the user did; false when there is none or it went with its page.
  virtual bool FocusLockTarget() = 0;
  // While `page` holds a key macro waiting to be played, the user cannot
  // leave it. Null lets go.
  virtual void SetMacroWaiting(QWidget* page) = 0;

 protected:
  ~ActivePageHost() = default;
};

}  // namespace sorvi
