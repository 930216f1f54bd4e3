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

  void LabelURL1Click(QLabel* clicked);
  void LabelURL1MouseMove();
  void OtherMouseMove();

 protected:
  void paintEvent(QPaintEvent* event) override;  // FormPaint
  void mouseMoveEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* MakeLabel(const char* name, const QString& text, QPoint pos, const QFont& font, QColor color);

  QPixmap back_tile_;  // the picture of ImageBack
  QLabel* ImageBack;
  QLabel* Version3;
  QLabel* LabelURL2;
  QLabel* LabelCopyright2;
  QLabel* ProgramIcon;
  QLabel* LabelURL1;
  QLabel* LabelCopyright1;
  QLabel* Version2;
  QLabel* Version1;
  QLabel* ImageTitle;
  QPushButton* OKButton;
};

}  // namespace sorvi
