// The program's own loadable modules (quillmoor-png.so, quillmoor-pdf.so): looked for
// beside the running program (a build) and in ../lib/quillmoor (an installation), and
// loaded only when a run needs one, so that every other run starts without the
// libraries they bring.
#ifndef QUILLMOOR_SHARED_MODULES_H_
#define QUILLMOOR_SHARED_MODULES_H_

#include <string>

namespace quillmoor {

// The address of `symbol` in module `name`, or nullptr with *why saying what is
// missing. A module once found stays loaded.
void* FindModuleSymbol(const char* name, const char* symbol, std::string* why);

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_MODULES_H_
