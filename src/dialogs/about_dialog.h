#pragma once
// "バージョン情報": the program's name, version, copyright and web page over
// a tiled background. A click on the address opens it in the desktop's
// browser and closes the box.
#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;

namespace sorvi {

class TFormAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TFormAbout(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;  // FormPaint
  void mouseMoveEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LabelURL1Click(QLabel* clicked);
  void LabelURL1MouseMove();
  void OtherMouseMove();
  QLabel* MakeLabel(const char* name, const QString& text, QPoint pos, const QFont& font, QColor color);

  QPixmap back_tile_;  // the picture of ImageBack
  QLabel* image_back_;
  QLabel* version3_;
  QLabel* url_label2_;
  QLabel* copyright_label2_;
  QLabel* program_icon_;
  QLabel* url_label1_;
  QLabel* copyright_label1_;
  QLabel* version2_;
  QLabel* version1_;
  QLabel* image_title_;
  QPushButton* ok_button_;
};

}  // namespace sorvi
