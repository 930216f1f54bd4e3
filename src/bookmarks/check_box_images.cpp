#include "bookmarks/check_box_images.h"

#include <QPainter>

namespace sorvi {

QPixmap CheckBoxImage(bool ticked) {
  // Made once and kept for the life of the program (never destroyed after
  // the application object).
  static const QPixmap* images =
      new QPixmap[2]{[] {
                       QPixmap p(13, 13);
                       p.fill(Qt::white);
                       QPainter painter(&p);
                       painter.setPen(QColor(90, 90, 90));
                       painter.drawRect(0, 0, 12, 12);
                       return p;
                     }(),
                     [] {
                       QPixmap p(13, 13);
                       p.fill(Qt::white);
                       QPainter painter(&p);
                       painter.setRenderHint(QPainter::Antialiasing);
                       painter.setPen(QColor(90, 90, 90));
                       painter.drawRect(QRectF(0.5, 0.5, 12, 12));
                       painter.setPen(QPen(QColor(20, 20, 20), 2));
                       painter.drawPolyline(QPolygonF({QPointF(3, 6.5), QPointF(5.5, 9), QPointF(10, 3.5)}));
                       return p;
                     }()};
  return images[ticked ? 1 : 0];
}

}  // namespace sorvi
