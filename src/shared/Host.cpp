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

}  // namespace quillmoor
