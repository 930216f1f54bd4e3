#pragma once
// Tab captions change several times while a page loads (the address as a
// stand-in title, then the title). Each change lays out the tab strip and
// repaints the window around the pages, which costs as much as a good part
// of loading a small page; so a tab's caption is shown at once, and changes
// that follow within a short time are gathered: the last one wins.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <vector>

namespace sorvi {

class TabStack;

class TabCaptions : public QObject {
  Q_OBJECT
 public:
  TabCaptions(TabStack* tabs, QObject* parent);

  void Set(QWidget* tab, const QString& caption);
  // Shows what is still gathered (before the tabs are read as a whole).
  void Flush();

 private:
  void Apply(QWidget* tab, const QString& caption);

  TabStack* tabs_;
  QTimer timer_;
  std::vector<std::pair<QPointer<QWidget>, QString>> pending_;
};

}  // namespace sorvi
