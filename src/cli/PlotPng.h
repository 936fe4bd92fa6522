// The dispersion plot as a PNG picture, for the command line.
//
// Qt draws it (as the desktop program draws its plots), in a module of its own,
// quillmoor-png.so, loaded only when a PNG is asked for: the CLI's other commands never
// load Qt. The module lies beside the program (a build) or in ../lib/quillmoor (an
// installation).
#ifndef QUILLMOOR_CLI_PLOTPNG_H_
#define QUILLMOOR_CLI_PLOTPNG_H_

#include <string>

#include "analyses/Dispersion.h"

namespace quillmoor {

// The PNG file's bytes into *png; false with *error saying why not.
bool PlotPng(const DispersionPlot& plot, std::string* png, std::string* error);

}  // namespace quillmoor

#endif  // QUILLMOOR_CLI_PLOTPNG_H_
