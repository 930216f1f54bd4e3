#pragma once
// The page keys of the tabs: Ctrl+F (find), Ctrl+plus / Ctrl+minus / Ctrl+0
// and Ctrl+wheel over a page (zoom), Esc while a page is full screen. Taken
// from the application's events before any widget, the page included, sees
// them, and only for the main window. Function keys are not among them.
#include <QObject>

class QKeyEvent;
class QWidget;

namespace sorvi {

enum class ZoomKey { In, Out, Reset };

// What the keys act on; the page tools answer.
class TabShortcutHost {
 public:
  // True while there is a page for the keys to act on.
  virtual bool HasPage() const = 0;
  virtual void OpenFindBar() = 0;
  virtual void Zoom(ZoomKey key) = 0;
  // The widget under a Ctrl+wheel: true when it belongs to the active page
  // (the wheel zooms only over the page itself).
  virtual bool OverPage(const QWidget* widget) const = 0;
  // Esc: true when it left a full screen.
  virtual bool LeaveFullScreen() = 0;

 protected:
  ~TabShortcutHost() = default;
};

class TabShortcuts : public QObject {
  Q_OBJECT
 public:
  // Installs an event filter on the application; `window` is the main window.
  TabShortcuts(QWidget* window, TabShortcutHost& host, QObject* parent = nullptr);
  ~TabShortcuts() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Key { None, Find, ZoomIn, ZoomOut, ZoomReset, Escape };
  static Key Classify(const QKeyEvent& key);
  bool InWindow(QObject* receiver) const;

  QWidget* window_;
  TabShortcutHost& host_;
};

}  // namespace sorvi
