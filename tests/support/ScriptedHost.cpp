#include "support/ScriptedHost.h"

namespace quillmoor {

MsgResult ScriptedHost::ShowMessage(const MessageBox& box) {
  messages.push_back(box);
  if (box.buttons == MsgButtons::kOK) return MsgResult::kOK;
  if (answers.empty()) return DefaultAnswer(box);
  MsgResult answer = answers.front();
  answers.pop_front();
  return answer;
}

void ScriptedHost::DoEvents() {
  ++doEventsCalls;
  if (onDoEvents) onDoEvents();
}

void ScriptedHost::Refresh(const std::string& control, const std::string&) {
  refreshed.push_back(control);
}

std::string ScriptedHost::AskFileName(const FileDialog& dialog) {
  dialogs.push_back(dialog);
  if (fileNames.empty()) return "";
  std::string name = fileNames.front();
  fileNames.pop_front();
  return name;
}

int ScriptedHost::ShellOpen(const std::string& target) {
  opened.push_back(target);
  return shellResult;
}

void ScriptedHost::ShowWindow(WindowId, bool) {}

void ScriptedHost::PopUp(const PopUpMessage& popUp) { popUps.push_back(popUp); }

void ScriptedHost::EndProgram(int code) {
  ended = true;
  exitCode = code;
}

std::vector<std::string> ScriptedHost::Prompts() const {
  std::vector<std::string> out;
  for (const MessageBox& box : messages) out.push_back(box.prompt);
  return out;
}

std::string ScriptedHost::Said() {
  std::string said;
  for (const MessageBox& box : messages) said += box.title + ": " + box.prompt + "\n";
  messages.clear();
  return said;
}

int ScriptedHost::SelectLanguage(const std::vector<std::string>&) { return languageAnswer; }

}  // namespace quillmoor
