// quillmoor-cli: the headless front end.
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "shared/FileSystem.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return quillmoor::RunCli(args, quillmoor::ProgramFolder(argv[0]));
}
