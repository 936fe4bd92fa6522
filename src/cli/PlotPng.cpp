#include "cli/PlotPng.h"

#include <utility>

#include "plotpng/PlotPngModule.h"
#include "shared/Modules.h"

namespace quillmoor {

bool PlotPng(const DispersionPlot& plot, std::string* png, std::string* error) {
  static PlotPngFunction* paint = nullptr;
  if (paint == nullptr) {
    std::string why;
    paint =
        reinterpret_cast<PlotPngFunction*>(FindModuleSymbol(kPlotPngModule, kPlotPngSymbol, &why));
    if (paint == nullptr) {
      *error = "no PNG writer (built with the desktop program): " + why;
      return false;
    }
  }
  std::string bytes;
  const auto append = [](void* context, const char* data, size_t size) {
    static_cast<std::string*>(context)->append(data, size);
  };
  const bool drawn =
      paint(plot.items().data(), plot.items().size(), plot.width(), plot.height(), append, &bytes);
  *(drawn ? png : error) = std::move(bytes);
  return drawn;
}

}  // namespace quillmoor
