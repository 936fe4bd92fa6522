// A Host for tests: records every message box, refresh and window request, and answers
// questions from a queue (or with the box's default button once the queue is empty).
#ifndef QUILLMOOR_TESTS_SUPPORT_SCRIPTEDHOST_H_
#define QUILLMOOR_TESTS_SUPPORT_SCRIPTEDHOST_H_

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "shared/Host.h"

namespace quillmoor {

class ScriptedHost : public Host {
 public:
  MsgResult ShowMessage(const MessageBox& box) override;
  void DoEvents() override;
  void Refresh(const std::string& control, const std::string& text) override;
  std::string AskFileName(const FileDialog& dialog) override;
  int ShellOpen(const std::string& target) override;
  void ShowWindow(WindowId window, bool visible) override;
  void PopUp(const PopUpMessage& popUp) override;
  int SelectLanguage(const std::vector<std::string>& choices) override;
  void EndProgram(int exitCode) override;

  // Answers for the next questions, in order.
  std::deque<MsgResult> answers;
  // File names the next dialogs return.
  std::deque<std::string> fileNames;
  // Called at every DoEvents (a test can press Stop from here).
  std::function<void()> onDoEvents;

  std::vector<MessageBox> messages;
  std::vector<FileDialog> dialogs;
  std::vector<std::string> refreshed;  // control names, in order
  std::vector<std::string> opened;
  std::vector<PopUpMessage> popUps;
  int languageAnswer = -1;  // what SelectLanguage answers
  int shellResult = 42;     // what ShellOpen answers (32 or less is a failure)
  int doEventsCalls = 0;
  bool ended = false;
  int exitCode = 0;

  // The prompts shown so far, for compact assertions.
  std::vector<std::string> Prompts() const;
  // The messages shown since the last call, each as "title: prompt" on a line of its
  // own; they are forgotten.
  std::string Said();
};

}  // namespace quillmoor

#endif  // QUILLMOOR_TESTS_SUPPORT_SCRIPTEDHOST_H_
