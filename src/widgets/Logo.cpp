#include "widgets/Logo.h"

#include <QPainter>
#include <QPainterPath>

QPixmap Velkora_Logo(int pixel) {
  QPixmap bild(pixel, pixel);
  bild.fill(Qt::transparent);
  QPainter p(&bild);
  p.setRenderHint(QPainter::Antialiasing);
  const double e = pixel / 64.0;
  // The sheet with its coloured head.
  const QRectF blatt(4 * e, 8 * e, 56 * e, 52 * e);
  p.setPen(QPen(QColor(0x2f, 0x5d, 0x8a), 2 * e));
  p.setBrush(Qt::white);
  p.drawRoundedRect(blatt, 6 * e, 6 * e);
  QPainterPath kopf;
  kopf.addRoundedRect(QRectF(4 * e, 8 * e, 56 * e, 14 * e), 6 * e, 6 * e);
  kopf.addRect(QRectF(4 * e, 15 * e, 56 * e, 7 * e));
  p.fillPath(kopf.simplified(), QColor(0x2f, 0x5d, 0x8a));
  // Rings and the day grid.
  p.setBrush(QColor(0xd0, 0xd8, 0xe0));
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 2; ++i) p.drawEllipse(QPointF((20 + 24 * i) * e, 8 * e), 3 * e, 3 * e);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 5; ++c) {
      const bool frei = c == 2 && r == 1;
      p.setBrush(frei ? QColor(0x80, 0xc0, 0x80) : QColor(0xe4, 0xe8, 0xee));
      p.drawRect(QRectF((9 + 10 * c) * e, (27 + 10 * r) * e, 7 * e, 7 * e));
    }
  // The tick over the sheet.
  p.setPen(QPen(QColor(0x2e, 0x8b, 0x3c), 5 * e, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPainterPath haken;
  haken.moveTo(22 * e, 40 * e);
  haken.lineTo(30 * e, 49 * e);
  haken.lineTo(46 * e, 30 * e);
  p.drawPath(haken);
  return bild;
}
