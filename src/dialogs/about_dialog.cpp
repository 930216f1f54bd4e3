#include "dialogs/about_dialog.h"

#include <QCursor>
#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QUrl>

#include "platform/app_version.h"

namespace sorvi {
namespace {

const QColor kCream(0xFF, 0xFB, 0xF0);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kAqua(0x00, 0xFF, 0xFF);
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kBlack(0x00, 0x00, 0x00);
const QColor kYellow(0xFF, 0xFF, 0x00);

constexpr int kTileWidth = 128;
constexpr int kTileHeight = 192;

const char kCopyright[] = "Copyright (C) 2024 Sorvi developers";

// A cream tile with a faint rising chart line, seamless left to right.
QPixmap MakeBackTile() {
  QPixmap tile(kTileWidth, kTileHeight);
  tile.fill(kCream);
  QPainter p(&tile);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0xF2, 0xE6, 0xC8), 1));
  for (int y = 0; y < kTileHeight; y += 24) p.drawLine(0, y, kTileWidth, y);
  QPainterPath line;
  const int points[] = {150, 138, 144, 120, 126, 104, 112, 90, 150};
  for (int i = 0; i < 9; ++i) {
    const QPointF at(i * kTileWidth / 8.0, points[i]);
    if (i == 0)
      line.moveTo(at);
    else
      line.lineTo(at);
  }
  p.setPen(QPen(QColor(0xEC, 0xD9, 0xB0), 2));
  p.drawPath(line);
  return tile;
}

QPixmap MakeTitle() {
  QPixmap title(110, 40);
  title.fill(Qt::transparent);
  QPainter p(&title);
  p.setRenderHint(QPainter::Antialiasing);
  QFont font("Noto Sans CJK JP");
  font.setPixelSize(30);
  font.setBold(true);
  QPainterPath text;
  text.addText(0, 0, font, "そるび");
  const QRectF box = text.boundingRect();
  text.translate((110 - box.width()) / 2 - box.left(), (40 - box.height()) / 2 - box.top());
  QLinearGradient fill(0, 0, 0, 40);
  fill.setColorAt(0, QColor(0x20, 0x60, 0xD0));
  fill.setColorAt(1, QColor(0x00, 0x20, 0x80));
  p.setPen(QPen(kWhite, 2));
  p.drawPath(text);
  p.fillPath(text, fill);
  return title;
}

QPixmap MakeIcon() {
  QPixmap icon(32, 32);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(0x20, 0x60, 0xD0));
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(1, 1, 30, 30, 5, 5);
  p.setPen(QPen(kYellow, 2.5));
  p.drawPolyline(QPolygonF({{5, 24}, {12, 17}, {17, 20}, {27, 8}}));
  return icon;
}

QLabel* MakePicture(QWidget* parent, const char* name, const QPixmap& pixmap, QRect geometry) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setPixmap(pixmap);
  label->setScaledContents(true);
  label->setGeometry(geometry);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

void SetTextColor(QLabel* label, QColor color) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
}

}  // namespace

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent), back_tile_(MakeBackTile()) {
  setWindowTitle("バージョン情報");
  setObjectName("FormAbout");
  setFixedSize(298, 213);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint);
  setMouseTracking(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kCream);
  setPalette(palette);

  QFont roman("Times New Roman");
  roman.setPixelSize(12);
  QFont roman_bold = roman;
  roman_bold.setBold(true);
  QFont roman_link = roman_bold;
  roman_link.setUnderline(true);
  const QString version = QString("～ Version %1 ～").arg(AppVersion());
  const QString address = AppHomepage();

  // Made in painting order: each later one is drawn over the earlier ones.
  image_back_ = MakePicture(this, "ImageBack", back_tile_, QRect(-kTileWidth, 0, kTileWidth, kTileHeight));
  version3_ = MakeLabel("Version3", version, {98, 76}, roman, kWhite);
  url_label2_ = MakeLabel("LabelURL2", address, {77, 139}, roman_link, kYellow);
  copyright_label2_ = MakeLabel("LabelCopyright2", kCopyright, {31, 115}, roman_bold, kYellow);
  program_icon_ = MakePicture(this, "ProgramIcon", MakeIcon(), QRect(68, 28, 32, 32));
  url_label1_ = MakeLabel("LabelURL1", address, {78, 140}, roman_link, kBlack);
  copyright_label1_ = MakeLabel("LabelCopyright1", kCopyright, {32, 116}, roman_bold, kBlack);
  version2_ = MakeLabel("Version2", version, {100, 78}, roman, kAqua);
  version1_ = MakeLabel("Version1", version, {99, 77}, roman, kBlue);
  image_title_ = MakePicture(this, "ImageTitle", MakeTitle(), QRect(106, 24, 110, 40));

  for (QLabel* link : {url_label2_, url_label1_}) {
    link->setWordWrap(true);
    link->setFixedWidth(141);
    link->adjustSize();
    link->setCursor(Qt::PointingHandCursor);
    link->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    link->setMouseTracking(true);
    link->installEventFilter(this);
  }

  ok_button_ = new QPushButton("OK", this);
  ok_button_->setObjectName("OKButton");
  ok_button_->setGeometry(111, 176, 75, 25);
  ok_button_->setDefault(true);  // Esc rejects, which closes the box the same way
  connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);
}

QLabel* TFormAbout::MakeLabel(const char* name, const QString& text, QPoint pos, const QFont& font, QColor color) {
  auto* label = new QLabel(text, this);
  label->setObjectName(name);
  label->setFont(font);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setAutoFillBackground(false);
  // Only the address labels take the mouse; moves elsewhere reach the box.
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  SetTextColor(label, color);
  label->move(pos);
  label->adjustSize();
  return label;
}

void TFormAbout::paintEvent(QPaintEvent*) {
  // The outer size, as the tiles always covered the whole client area.
  const QSize outer = frameGeometry().size().expandedTo(size());
  QPainter painter(this);
  for (int x = 0; x < outer.width(); x += kTileWidth)
    for (int y = 0; y < outer.height(); y += kTileHeight) painter.drawPixmap(x, y, back_tile_);
}

void TFormAbout::mouseMoveEvent(QMouseEvent* event) {
  OtherMouseMove();
  QDialog::mouseMoveEvent(event);
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == url_label1_ || watched == url_label2_) {
    if (event->type() == QEvent::Enter) {
      LabelURL1MouseMove();
    } else if (event->type() == QEvent::MouseMove) {
      LabelURL1MouseMove();
      return true;  // a label ignores moves, which would reach the box's background handler
    } else if (event->type() == QEvent::Leave) {
      // Leaving one address label for the other keeps the hover colours.
      const QPoint cursor = QCursor::pos();
      const bool onto_other =
          (watched == url_label1_ ? url_label2_ : url_label1_)
              ->rect()
              .contains((watched == url_label1_ ? url_label2_ : url_label1_)->mapFromGlobal(cursor));
      if (!onto_other) OtherMouseMove();
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      LabelURL1Click(static_cast<QLabel*>(watched));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFormAbout::LabelURL1Click(QLabel* clicked) {
  QDesktopServices::openUrl(QUrl(clicked->text()));
  accept();
}

void TFormAbout::LabelURL1MouseMove() {
  SetTextColor(url_label1_, kBlue);
  SetTextColor(url_label2_, kWhite);
}

void TFormAbout::OtherMouseMove() {
  SetTextColor(url_label1_, kBlack);
  SetTextColor(url_label2_, kYellow);
}

}  // namespace sorvi
