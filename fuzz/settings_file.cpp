// Settings files: any file is refused with a message or restored, and a restored
// state saves to a file that restores to the same state.
#include "FuzzSupport.h"
#include "ui/Settings.h"
#include "shared/FileSystem.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Program& p = fuzz::StartedProgram();
  const std::string path =
      fuzz::WriteFile("settings.usr", std::string_view(reinterpret_cast<const char*>(data), size));
  if (!RestoreSavedState(p, path).empty()) return 0;
  const std::string saved = JoinPath(fuzz::WorkFolder(), "saved.usr");
  const std::string again = JoinPath(fuzz::WorkFolder(), "again.usr");
  fuzz::Check(SaveState(p, saved).empty(), "a restored state could not be saved");
  fuzz::Check(RestoreSavedState(p, saved).empty(), "a saved state could not be restored");
  fuzz::Check(SaveState(p, again).empty(), "a restored state could not be saved again");
  std::string first, second;
  FileError error;
  fuzz::Check(
      ReadFilePrefix(saved, -1, &first, &error) && ReadFilePrefix(again, -1, &second, &error),
      "the saved files cannot be read");
  fuzz::Check(first == second, "saving, restoring and saving again changed the file");
  return 0;
}
