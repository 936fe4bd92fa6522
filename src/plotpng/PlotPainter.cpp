#include "plotpng/PlotPainter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>

namespace quillmoor {

void PaintPlot(QPainter& painter, const PlotItem* items, size_t count) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  for (size_t i = 0; i < count; ++i) {
    const PlotItem& item = items[i];
    const QColor colour(QRgb(item.color));
    switch (item.kind) {
      case PlotItem::kLine:
        painter.setPen(QPen(colour, item.width));
        painter.drawLine(QPointF(item.x1, item.y1), QPointF(item.x2, item.y2));
        break;
      case PlotItem::kRect: {
        const QRectF rect(QPointF(item.x1, item.y1), QPointF(item.x2, item.y2));
        if (item.filled) {
          painter.fillRect(rect, colour);
        } else {
          painter.setPen(colour);
          painter.drawRect(rect);
        }
        break;
      }
      case PlotItem::kText: {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(static_cast<int>(item.size));
        font.setBold(item.bold);
        painter.setFont(font);
        painter.setPen(colour);
        const QString text =
            QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size()));
        const double w = QFontMetricsF(font).horizontalAdvance(text);
        const double x = item.align == PlotItem::kLeft     ? item.x1
                         : item.align == PlotItem::kCenter ? item.x1 - w / 2
                                                           : item.x1 - w;
        painter.drawText(QPointF(x, item.y1), text);
        break;
      }
    }
  }
}

bool PlotPngBytes(const PlotItem* items, size_t count, double width, double height,
                  QByteArray* png) {
  QImage image(static_cast<int>(width * 2), static_cast<int>(height * 2), QImage::Format_RGB32);
  if (image.isNull()) return false;
  image.setDevicePixelRatio(2);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PaintPlot(painter, items, count);
  }
  QBuffer buffer(png);
  buffer.open(QIODevice::WriteOnly);
  return image.save(&buffer, "PNG");
}

}  // namespace quillmoor
