// Word-list files (stop words and search words): any file is refused or read, and
// every word read is lower-case Windows-1252 without spaces.
#include "FuzzSupport.h"
#include "ui/WordListFile.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Program& p = fuzz::StartedProgram();
  p.blnStop = false;
  const std::string path =
      fuzz::WriteFile("words.txt", std::string_view(reinterpret_cast<const char*>(data), size));
  WordsOfFile read;
  if (!ReadWordsOfFile(p, path, WordFileKind{"stop words", 120, 86}, &read)) return 0;
  for (const std::string& word : read.words) {
    fuzz::Check(!word.empty() && word.find(' ') == std::string::npos,
                "a word is empty or holds a space");
  }
  DroppedWordsNote(read.dropped, "fuzz");
  return 0;
}
