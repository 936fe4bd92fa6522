#include "shared/Host.h"

namespace quillmoor {

MsgResult DefaultAnswer(const MessageBox& box) {
  switch (box.buttons) {
    case MsgButtons::kOK:
      return MsgResult::kOK;
    case MsgButtons::kYesNo:
      return box.defaultButton == 2 ? MsgResult::kNo : MsgResult::kYes;
    case MsgButtons::kYesNoCancel:
      if (box.defaultButton == 2) return MsgResult::kNo;
      if (box.defaultButton == 3) return MsgResult::kCancel;
      return MsgResult::kYes;
  }
  return MsgResult::kOK;
}

MsgResult MsgBox(Host& host, const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                 const std::string& title, int defaultButton) {
  MessageBox box;
  box.prompt = prompt;
  box.buttons = buttons;
  box.icon = icon;
  box.title = title;
  box.defaultButton = defaultButton;
  return host.ShowMessage(box);
}

}  // namespace quillmoor
