#include "ui/Program.h"

#include "shared/Cp1252.h"

namespace quillmoor {

MsgResult MsgBox(const Program& p, const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                 const std::string& title, int defaultButton) {
  return MsgBox(p.host, prompt, buttons, icon, title, defaultButton);
}

void AppendOutput(Program& p, std::string_view text) { p.frmMain.txbOutput.text.append(text); }

void RefreshOutput(const Program& p) { p.host.Refresh("txbOutput", p.frmMain.txbOutput.text); }

void ClearOutput(Program& p) { p.frmMain.txbOutput.text.clear(); }

void StatusLine(Program& p, int32_t number) { StatusText(p, p.GetProgramText(number) + " ..."); }

void StatusText(Program& p, std::string_view text) {
  AppendOutput(p, text);
  AppendOutput(p, kCrLf);
  RefreshOutput(p);
}

void SetListWordsCaption(Program& p, const std::string& caption) {
  Button& button = p.frmMain.cmdListWords;
  if (!caption.empty()) {
    button.caption = caption;
  } else {
    button.caption = p.GetProgramText(p.frmMain.optCreate.value ? 3 : 4);
  }
  p.host.Refresh("cmdListWords", button.caption);
}

void SetTheFocus(Program& p) {
  MainControls& m = p.frmMain;
  if (m.windowVisible) {
    if (m.cmdFile[0].visible && m.cmdFile[0].enabled) {
      m.focus = "cmdFile0";
    } else if (m.cmdListWords.visible && m.cmdListWords.enabled) {
      m.focus = "cmdListWords";
    }
  }
  m.lblTwirler.caption = " ";
}

void EnableControls(Program& p, bool enable) {
  MainControls& m = p.frmMain;
  Control* all[] = {&m.optCreate,
                    &m.optSearch,
                    &m.cmdFile[0],
                    &m.cmdFile[1],
                    &m.cmdFile[2],
                    &m.txbFile[0],
                    &m.txbFile[1],
                    &m.txbFile[2],
                    &m.cmdClearFile[0],
                    &m.cmdClearFile[1],
                    &m.cmdClearFile[2],
                    &m.cmdViewFile[1],
                    &m.cmdViewFile[2],
                    &m.chkUTF8[0],
                    &m.txbExtraKeywords,
                    &m.cmdClearExtraKeywords,
                    &m.cboWordOrder,
                    &m.cboContextSize,
                    &m.chkFrequencies,
                    &m.chkShowLineBreaks,
                    &m.chkCreateIndexFile,
                    &m.chkWarnOnOverwrite,
                    &m.chkSaveStateOnQuit,
                    &m.cmdListWords,
                    &m.cmdSetParameters,
                    &m.cmdSaveState,
                    &m.cmdHelp,
                    &m.cmdQuit,
                    &m.txbOutput};
  for (Control* c : all) c->enabled = enable;
  if (enable) {
    const bool create = m.optCreate.value;
    m.cmdFile[0].enabled = m.txbFile[0].enabled = create;
    for (int i : {1, 2}) m.cmdFile[i].enabled = m.txbFile[i].enabled = !create;
    for (int i = 0; i < 3; ++i) {
      m.cmdClearFile[i].enabled = m.txbFile[i].enabled && !m.txbFile[i].text.empty();
    }
    m.txbExtraKeywords.enabled = !create;
    m.cmdClearExtraKeywords.enabled = !create && !m.txbExtraKeywords.text.empty();
  } else {
    m.txbOutput.enabled = m.cmdListWords.enabled = m.cmdQuit.enabled = true;
  }
  m.cboWordOrder.enabled = m.cboContextSize.enabled = enable;
  const std::string& ext = p.strInputExtension;
  const bool lineBreaksPossible =
      !(ext == "docx" || ext.empty() || ext == "htm" || ext == "html" || ext == "xml");
  m.chkShowLineBreaks.enabled = enable && lineBreaksPossible;
  if (enable) SetListWordsCaption(p, "");
}

}  // namespace quillmoor
