// A started program that has scanned one text (as a run reads it), its word table the
// source the explorer and the analyses read.
#ifndef QUILLMOOR_TESTS_SUPPORT_SCANNEDTEXT_H_
#define QUILLMOOR_TESTS_SUPPORT_SCANNEDTEXT_H_

#include <string>
#include <vector>

#include "explore/KwicRows.h"
#include "support/ScanText.h"
#include "support/ScriptedHost.h"
#include "support/TestProgram.h"
#include "ui/Program.h"

namespace quillmoor::testing {

struct ScannedText {
  ScriptedHost host;
  Program p{host};
  explicit ScannedText(const std::string& text) {
    StartForTest(p);
    ScanText(p, text);
  }
  ExploreSource source() const { return {&p.arrWords, p.lngNumWords, p.strLine1}; }
  // The table index of `word`; 0 when the table has no such word.
  int32_t Index(const std::string& word) const {
    for (int32_t i = 1; i <= p.lngNumWords; ++i) {
      if (p.arrWords[static_cast<size_t>(i)].strWord == word) return i;
    }
    return 0;
  }
  std::vector<int32_t> All() const {
    std::vector<int32_t> all;
    for (int32_t i = 1; i <= p.lngNumWords; ++i) all.push_back(i);
    return all;
  }
  // Yes for every word of the table (by index).
  std::vector<bool> Every() const {
    return std::vector<bool>(static_cast<size_t>(p.lngNumWords) + 1, true);
  }
};

}  // namespace quillmoor::testing

#endif  // QUILLMOOR_TESTS_SUPPORT_SCANNEDTEXT_H_
