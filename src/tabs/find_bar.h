#pragma once
// The find bar: a small strip over the top right of the active tab with the
// text to find, previous/next and the match count. Enter finds the next
// match, Shift+Enter the previous one, Esc closes. It is no part of the page,
// so keys typed into it never reach the page.
#include <QFrame>
#include <QPointer>

class QLabel;
class QLineEdit;
class QToolButton;

namespace sorvi {

class WebBrowser;

// What the bar searches and lies over; the page tools answer.
class FindBarHost {
 public:
  // The browser to search, null when there is none.
  virtual WebBrowser* FindTarget() const = 0;
  // The active tab's page, which the bar lies over; null when none.
  virtual QWidget* ShownPage() const = 0;

 protected:
  ~FindBarHost() = default;
};

class FindBar : public QFrame {
  Q_OBJECT
 public:
  // `host` is the tab control: the bar lies over its current page, as a
  // child of the host's parent, so that it is not part of the tab area
  // (function keys and key macros keep to the pages).
  FindBar(QWidget* host, const FindBarHost& target);

  // Shows the bar with its text selected and the focus in it; a bar that
  // was closed searches the page for its text again.
  void Open();
  // Hides the bar and removes the highlight from the page searched;
  // `focus_page` gives the keyboard back to the active page.
  void Close(bool focus_page = true);
  void FindNext(bool backward);

  // Follows the host's size and page.
  void Place();

  QString CountText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Search(bool backward);
  void ShowCount(int active, int count);

  QWidget* host_;
  const FindBarHost& target_;
  QLineEdit* text_;
  QLabel* count_;
  QToolButton* previous_;
  QToolButton* next_;
  QToolButton* close_;
  // The page with the highlight, to clear it on close also after the tab
  // has changed.
  QPointer<WebBrowser> searched_;
  // Answers of searches overtaken by a later one are dropped.
  int serial_ = 0;
};

}  // namespace sorvi
