#include "ui/Controls.h"

namespace quillmoor {

MainControls::MainControls() {
  optCreate.caption = "Create KWIC concordance from input file";
  optCreate.value = true;
  optSearch.caption = "Search for one or more keywords";
  cmdFile[0].caption = "Input file";
  cmdFile[1].caption = "Search results file";
  cmdFile[2].caption = "Keywords file";
  for (Button& b : cmdClearFile) b.caption = "Clear";
  for (Button& b : cmdViewFile) b.caption = "View";
  chkUTF8[0].caption = "UTF-8";
  lblExtraKeywords.caption = "Extra keywords:";
  cmdClearExtraKeywords.caption = "Clear";
  chkFrequencies.caption = "Show frequencies";
  chkShowLineBreaks.caption = "Show line breaks";
  chkCreateIndexFile.caption = "and index file (for current settings)";
  chkWarnOnOverwrite.caption = "Warn before overwriting output file";
  chkSaveStateOnQuit.caption = "Save settings on quit";
  cmdListWords.caption = "Create concordance";
  cmdSetParameters.caption = "Settings";
  cmdSaveState.caption = "Save";
  cmdHelp.caption = "Help";
  cmdQuit.caption = "Quit";
  lblConcordanceFile[0].caption = "Concordance file:";
  lblTwirler.caption = " ";
  lblTwirler.fontName = "Symbol";
}

}  // namespace quillmoor
