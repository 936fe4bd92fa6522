#include "cli/PlotPng.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <utility>

#include "plotpng/PlotPngModule.h"

namespace quillmoor {
namespace {

// The folder of the running program.
std::string ProgramDirectory() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string s(path, static_cast<size_t>(n));
  const size_t slash = s.rfind('/');
  return slash == std::string::npos ? "." : s.substr(0, slash);
}

}  // namespace

bool PlotPng(const DispersionPlot& plot, std::string* png, std::string* error) {
  static PlotPngFunction* paint = nullptr;
  if (paint == nullptr) {
    const std::string folder = ProgramDirectory();
    std::string why;
    for (const std::string& candidate :
         {folder + "/" + kPlotPngModule, folder + "/../lib/quillmoor/" + kPlotPngModule}) {
      void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (module == nullptr) {
        const char* e = ::dlerror();
        if (why.empty() && ::access(candidate.c_str(), F_OK) == 0 && e != nullptr) why = e;
        continue;
      }
      paint = reinterpret_cast<PlotPngFunction*>(::dlsym(module, kPlotPngSymbol));
      if (paint != nullptr) break;
    }
    if (paint == nullptr) {
      *error =
          "no PNG writer: " + (why.empty() ? std::string(kPlotPngModule) +
                                                 " (built with the desktop program) "
                                                 "is neither in " +
                                                 folder + " nor in " + folder + "/../lib/quillmoor"
                                           : why);
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
