// Scanning a text as a run does, for the suites that need a word table.
#ifndef QUILLMOOR_TESTS_SUPPORT_SCANTEXT_H_
#define QUILLMOOR_TESTS_SUPPORT_SCANTEXT_H_

#include <string>
#include <vector>

#include "engine/WordRules.h"
#include "engine/WordScanner.h"
#include "engine/WordTable.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"

namespace quillmoor::testing {

// Normalises and lower-cases `text` as a scan does, then scans it into p's table.
inline void ScanText(Program& p, const std::string& text) {
  p.strLine = text;
  NormalizeDocumentText(p);
  p.strLine = LowerCaseAccented(p.strLine);
  StartWordTable(p);
  WorkObserver unwatched;
  GetWords(p, p, p.blnCharacterEntitiesPossible, unwatched);
  FinishWordTable(p);
}

// The table as text, a line per entry: its word, frequency and positions.
inline std::string TableDump(const WordTable& t) {
  std::string dump;
  for (int32_t i = 1; i <= t.lngNumWords; ++i) {
    const WordRecord& r = t.arrWords[static_cast<size_t>(i)];
    dump += r.strWord + " " + std::to_string(r.lngFrequency);
    for (int32_t at : r.positions) dump += " " + std::to_string(at);
    dump += "\n";
  }
  return dump;
}

// The words of the table in table order.
inline std::vector<std::string> TableWords(const Program& p) {
  std::vector<std::string> words;
  for (int32_t i = 1; i <= p.lngNumWords; ++i) words.push_back(p.arrWords[i].strWord);
  return words;
}

}  // namespace quillmoor::testing

#endif  // QUILLMOOR_TESTS_SUPPORT_SCANTEXT_H_
