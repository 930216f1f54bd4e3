#pragma once
// Answers the modal boxes a test provokes: each expected box is recorded
// (text, title, position) and answered by clicking the button with the given
// caption, so no test ever waits on a box.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace sorvi::testing {

struct SeenBox {
  QString title;
  QString text;
  QPoint pos;
  QStringList buttons;
  const QWidget* parent = nullptr;  // the box's parent widget
};

class DialogDriver : public QObject {
 public:
  // `answers` are button captions, one per expected box, in order. Boxes
  // beyond them are answered with the escape button.
  explicit DialogDriver(QStringList answers);
  ~DialogDriver() override;

  const std::vector<SeenBox>& Seen() const { return seen_; }

 private:
  void Poll();

  QStringList answers_;
  std::vector<SeenBox> seen_;
  QTimer timer_;
};

}  // namespace sorvi::testing
