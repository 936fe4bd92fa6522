// quillmoor-png.so: a plot drawn by Qt on an offscreen picture, saved as PNG.
#include "plotpng/PlotPngModule.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "plotpng/PlotPainter.h"

extern "C" __attribute__((visibility("default"))) bool quillmoor_plot_png(
    const quillmoor::PlotItem* items, size_t count, double width, double height,
    quillmoor::PlotPngSink* put, void* context) {
  // Fonts need an application object; the command line has no display, so Qt's
  // offscreen platform serves, for this picture alone. Qt's own notices (such as
  // a missing XDG_RUNTIME_DIR) are no concern of the command line's.
  std::unique_ptr<QGuiApplication> application;
  if (QGuiApplication::instance() == nullptr) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 3;
    static char program[] = "quillmoor-cli", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {program, option, platform, nullptr};
    application = std::make_unique<QGuiApplication>(argc, argv);
  }
  QByteArray bytes;
  if (!quillmoor::PlotPngBytes(items, count, width, height, &bytes)) {
    const std::string error = "the picture could not be drawn (" +
                              std::to_string(static_cast<long>(width)) + " x " +
                              std::to_string(static_cast<long>(height)) + " pixels)";
    put(context, error.data(), error.size());
    return false;
  }
  put(context, bytes.constData(), static_cast<size_t>(bytes.size()));
  return true;
}
