#pragma once
// The page keys of the tabs: Ctrl+F (find), Ctrl+plus / Ctrl+minus / Ctrl+0
// and Ctrl+wheel over a page (zoom), Esc while a page is full screen. Taken
// from the application's events before any widget, the page included, sees
// them, and only for the main window. Function keys are not among them.
#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace sorvi {

enum class ZoomKey { In, Out, Reset };

struct TabShortcutActions {
  // True while there is a page for the keys to act on.
  std::function<bool()> has_page;
  std::function<void()> find;
  std::function<void(ZoomKey)> zoom;
  // The widget under a Ctrl+wheel: true when it belongs to the active page
  // (the wheel zooms only over the page itself).
  std::function<bool(QWidget*)> over_page;
  // Esc: true when it left a full screen.
  std::function<bool()> leave_full_screen;
};

class TabShortcuts : public QObject {
  Q_OBJECT
 public:
  // Installs an event filter on the application; `window` is the main window.
  TabShortcuts(QWidget* window, TabShortcutActions actions, QObject* parent = nullptr);
  ~TabShortcuts() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Key { None, Find, ZoomIn, ZoomOut, ZoomReset, Escape };
  static Key Classify(const QKeyEvent& key);
  bool InWindow(QObject* receiver) const;

  QWidget* window_;
  TabShortcutActions actions_;
};

}  // namespace sorvi
