#pragma once
// A few lines over the page area while no tab is open, telling a newcomer
// how pages get there and where the help is. In the window's own font and
// colours; it takes no clicks, keys or room from anything.
#include <QLabel>

namespace sorvi {

class EmptyPageHint : public QLabel {
  Q_OBJECT
 public:
  // Lies over the whole of `page_area`, following its size.
  explicit EmptyPageHint(QWidget* page_area);

  // Shown exactly while no tab is open.
  void ShowForTabCount(int count);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Covers the area, the lines as a block in its middle.
  void Fit();
};

}  // namespace sorvi
