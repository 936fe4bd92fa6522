#include "shared/Modules.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

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

void* FindModuleSymbol(const char* name, const char* symbol, std::string* why) {
  const std::string folder = ProgramDirectory();
  std::string failure;
  for (const std::string& candidate : {folder + "/" + name, folder + "/../lib/quillmoor/" + name}) {
    void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      const char* e = ::dlerror();
      if (failure.empty() && ::access(candidate.c_str(), F_OK) == 0 && e != nullptr) failure = e;
      continue;
    }
    if (void* address = ::dlsym(module, symbol); address != nullptr) return address;
  }
  *why = failure.empty() ? std::string(name) + " is neither in " + folder + " nor in " + folder +
                               "/../lib/quillmoor"
                         : failure;
  return nullptr;
}

}  // namespace quillmoor
