#pragma once
// The tab area (`PageControl`): a strip of tabs above a page area that holds
// one page per tab. One page at a time shows, the current tab's, unless the
// tiles lay several out in the area themselves (TileArea). The functions
// that mirror QTabWidget's keep its names and meaning, signals included.
#include <QWidget>

class QStackedLayout;
class QTabBar;

namespace sorvi {

class TabStack : public QWidget {
  Q_OBJECT
 public:
  explicit TabStack(QWidget* parent = nullptr);

  QTabBar* tabBar() const { return bar_; }
  // The widget the pages are children of, and the layout that stacks them
  // there while the tiles leave them to it.
  QWidget* pageArea() const { return pages_; }
  QStackedLayout* pageLayout() const { return layout_; }

  int count() const;
  int currentIndex() const;
  QWidget* currentWidget() const;
  QWidget* widget(int index) const;
  int indexOf(const QWidget* page) const;
  QString tabText(int index) const;
  void setTabText(int index, const QString& text);

  int insertTab(int index, QWidget* page, const QString& text);
  int addTab(QWidget* page, const QString& text) { return insertTab(-1, page, text); }
  // Takes the tab away; its page stays a hidden child of the area.
  void removeTab(int index);
  void moveTab(int from, int to);
  void setCurrentIndex(int index);
  void setCurrentWidget(QWidget* page);

 signals:
  void currentChanged(int index);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowTab(int index);

  QTabBar* bar_;
  QWidget* pages_;
  QStackedLayout* layout_;
};

}  // namespace sorvi
