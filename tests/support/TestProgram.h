// A Program started for a test: the shipped program texts, the lists and defaults,
// English number formatting, start-up complete; and a fixture around one.
#ifndef QUILLMOOR_TESTS_SUPPORT_TESTPROGRAM_H_
#define QUILLMOOR_TESTS_SUPPORT_TESTPROGRAM_H_

#include <gtest/gtest.h>

#include "shared/NumberFormat.h"
#include "support/ScriptedHost.h"
#include "support/TestFiles.h"
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

// A started program with its scripted host, and a fresh folder: the fixture of the
// suites that drive the windows' handlers.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { StartForTest(p); }
  ScriptedHost host;
  Program p{host};
  TempDir dir;
};

}  // namespace quillmoor::testing

#endif  // QUILLMOOR_TESTS_SUPPORT_TESTPROGRAM_H_
