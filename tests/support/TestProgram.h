// A Program started for a test: the shipped program texts, the lists and defaults,
// English number formatting, start-up complete.
#ifndef QUILLMOOR_TESTS_SUPPORT_TESTPROGRAM_H_
#define QUILLMOOR_TESTS_SUPPORT_TESTPROGRAM_H_

#include <gtest/gtest.h>

#include "shared/NumberFormat.h"
#include "ui/Defaults.h"
#include "ui/Program.h"

namespace quillmoor::testing {

inline void StartForTest(Program& p) {
  SetNumberLocale({'.', ','});
  ASSERT_TRUE(p.texts.LoadProgramText(p.host, QUILLMOOR_DATA_DIR));
  FillLists(p);
  InitializeVariables(p);
  p.blnStartUpCompleted = true;
}

}  // namespace quillmoor::testing

#endif  // QUILLMOOR_TESTS_SUPPORT_TESTPROGRAM_H_
