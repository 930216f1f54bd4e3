#include "platform/toolbar_icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace sorvi {
namespace {

QPixmap Canvas() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

QIcon Drawn(void (*draw)(QPainter&)) {
  QPixmap pixmap = Canvas();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  painter.end();
  return QIcon(pixmap);
}

QIcon Standard(QStyle::StandardPixmap which) { return QApplication::style()->standardIcon(which); }

}  // namespace

QIcon ToolbarIcon(ToolbarImage image) {
  switch (image) {
    case ToolbarImage::Back: return Standard(QStyle::SP_ArrowBack);
    case ToolbarImage::Forward: return Standard(QStyle::SP_ArrowForward);
    case ToolbarImage::Stop: return Standard(QStyle::SP_BrowserStop);
    case ToolbarImage::Refresh: return Standard(QStyle::SP_BrowserReload);
    case ToolbarImage::Close: return Standard(QStyle::SP_TitleBarCloseButton);
    case ToolbarImage::Option:
      return Drawn([](QPainter& p) {  // a clock face: the tab's own settings
        p.setPen(QPen(QColor(40, 70, 140), 1.5));
        p.drawEllipse(QRectF(2, 2, 12, 12));
        p.drawLine(QPointF(8, 8), QPointF(8, 4.5));
        p.drawLine(QPointF(8, 8), QPointF(11, 8));
      });
    case ToolbarImage::NewTab:
      return Drawn([](QPainter& p) {  // a page with a plus
        p.setPen(QColor(60, 60, 60));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 1.5, 9, 12));
        p.setPen(QPen(QColor(0, 130, 0), 2));
        p.drawLine(QPointF(12, 9), QPointF(12, 15));
        p.drawLine(QPointF(9, 12), QPointF(15, 12));
      });
    case ToolbarImage::Overwrite:
      return Drawn([](QPainter& p) {  // a page with an arrow into it
        p.setPen(QColor(60, 60, 60));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        p.setPen(QPen(QColor(20, 80, 200), 2));
        p.drawLine(QPointF(5, 8), QPointF(11, 8));
        p.drawLine(QPointF(8.5, 5), QPointF(11, 8));
        p.drawLine(QPointF(8.5, 11), QPointF(11, 8));
      });
    case ToolbarImage::Print:
      return Drawn([](QPainter& p) {
        p.setPen(QColor(60, 60, 60));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
      });
    case ToolbarImage::Menu:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(QColor(50, 50, 50), 2));
        for (int y : {4, 8, 12}) p.drawLine(QPointF(3, y), QPointF(13, y));
      });
  }
  return {};
}

QIcon LockIcon(int state) {
  QColor body;
  bool closed = true;
  switch (state) {
    case 1: body = QColor(0, 140, 60); break;
    case 10: body = QColor(230, 150, 0); break;
    case 11: body = QColor(200, 30, 30); break;
    default:
      body = QColor(150, 150, 150);
      closed = false;
      break;
  }
  QPixmap pixmap = Canvas();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(body.darker(130), 1.8));
  p.setBrush(Qt::NoBrush);
  QPainterPath shackle;
  shackle.moveTo(4.5, 8);
  shackle.lineTo(4.5, 5);
  shackle.arcTo(QRectF(4.5, 1.5, 7, 7), 180, -180);
  if (closed)
    shackle.lineTo(11.5, 8);
  else
    shackle.lineTo(11.5, 5.5);
  p.drawPath(shackle);
  p.setPen(body.darker(150));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(2.5, 7.5, 11, 7.5), 1.5, 1.5);
  p.end();
  return QIcon(pixmap);
}

}  // namespace sorvi
