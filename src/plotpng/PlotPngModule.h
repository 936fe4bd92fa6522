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
// sharp text) and puts the PNG file's bytes into *png; false with *error set.
using PlotPngFunction = bool(const PlotItem* items, size_t count, double width, double height, std::string* png,
                             std::string* error);

}  // namespace quillmoor

#endif  // QUILLMOOR_PLOTPNG_PLOTPNGMODULE_H_
