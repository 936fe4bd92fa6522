#include "shared/ProgramText.h"

#include <cstdlib>

#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Host.h"

namespace quillmoor {

bool ProgramText::LoadProgramText(Host& host, const std::string& folder,
                                  const std::string& baseName) {
  arrLanguageChoices = {"English",
                        "German",
                        "Spanish",
                        "Portuguese",
                        "Italian",
                        "French",
                        "English and German",
                        "all six languages"};
  arrStopWordFiles = {
      "stwds_en.txt", "stwds_de.txt", "stwds_es.txt",    "stwds_pt.txt",
      "stwds_it.txt", "stwds_fr.txt", "stwds_en_de.txt", "stwds_en_de_es_pt_it_fr.txt"};
  std::string path = JoinPath(folder, AsciiLower(baseName) + ".dat");
  int32_t r = library_.LoadText(path, 0);
  if (r >= 1) return true;
  MessageBox box;
  box.prompt = LoadFailureMessage(r, path);
  box.icon = MsgIcon::kCritical;
  host.ShowMessage(box);
  host.EndProgram(1);
  return false;
}

std::string ProgramText::LoadFailureMessage(int32_t r, const std::string& path) {
  switch (r) {
    case 0:
      return "No program text was read.";
    case -1:
      return "Cannot open file containing program text." + std::string(kCrLf) + path;
    case -2:
      return "Particular memory allocation error.";
    case -3:
      return "Too much program text.";
    case -4:
      return "Text not recovered.";
    case -6:
      return "File is empty.";
    case -7:
      return "Error reading file.";
    case -8:
      return "General memory allocation error.";
    default:
      break;
  }
  if (r >= -500) return "Error " + NumberText(r);
  if (r >= -1000) return "Missing string at line" + NumberText(std::llabs(r + 500LL), true) + ".";
  if (r >= -1500) return "String too long at line" + NumberText(std::llabs(r + 1000LL), true) + ".";
  return "Duplicate in program text at line" + NumberText(std::llabs(r + 1500LL), true) + ".";
}

std::string ProgramText::GetProgramText(int32_t number) const {
  char buffer[kBufferSize];
  int32_t n = library_.GetText(number, intCurrentLanguage, buffer, kBufferSize, 1);
  if (n < 1) return "";
  std::string text(buffer, static_cast<size_t>(n));
  return text == "~" ? "" : text;
}

}  // namespace quillmoor
