// A plot's drawing items painted by Qt: on a window, on a picture for PNG.
#ifndef QUILLMOOR_PLOTPNG_PLOTPAINTER_H_
#define QUILLMOOR_PLOTPNG_PLOTPAINTER_H_

#include <QByteArray>
#include <QPainter>

#include "analyses/Dispersion.h"

namespace quillmoor {

void PaintPlot(QPainter& painter, const PlotItem* items, size_t count);
// The items on a white width x height picture at twice the pixels, as PNG bytes; false
// when the picture could not be made.
bool PlotPngBytes(const PlotItem* items, size_t count, double width, double height,
                  QByteArray* png);

}  // namespace quillmoor

#endif  // QUILLMOOR_PLOTPNG_PLOTPAINTER_H_
