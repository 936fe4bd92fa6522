// The interface of quillmoor-png.so, the module that draws a plot into a PNG picture
// with Qt (the CLI loads it only when it writes a PNG).
#ifndef QUILLMOOR_PLOTPNG_PLOTPNGMODULE_H_
#define QUILLMOOR_PLOTPNG_PLOTPNGMODULE_H_

#include <cstddef>
#include <string>

#include "analyses/Dispersion.h"

namespace quillmoor {

inline constexpr const char* kPlotPngModule = "quillmoor-png.so";
inline constexpr const char* kPlotPngSymbol = "quillmoor_plot_png";

// Draws items[0..count) on a white width x height picture (at twice the pixels, for
// sharp text) and hands bytes to put(context, bytes, size): the PNG file's when it
// returns true, a description of the failure when false. Only plain values cross: the
// CLI has its own C++ runtime linked in and the module uses Qt's, so neither allocates
// what the other frees (the module only reads the items).
using PlotPngSink = void(void* context, const char* bytes, size_t size);
using PlotPngFunction = bool(const PlotItem* items, size_t count, double width, double height,
                             PlotPngSink* put, void* context);

}  // namespace quillmoor

#endif  // QUILLMOOR_PLOTPNG_PLOTPNGMODULE_H_
