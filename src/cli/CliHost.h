// The Host of the command line: message boxes go to standard error, questions are
// answered by a policy (the box's default button, or always Yes, or always No), the
// status lines of the output box are echoed to standard error, and Ctrl-C reaches the
// core at the next DoEvents (see CatchInterrupts).
#ifndef QUILLMOOR_CLI_CLIHOST_H_
#define QUILLMOOR_CLI_CLIHOST_H_

#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "shared/Host.h"

namespace quillmoor {

enum class AnswerPolicy { kDefault, kYes, kNo };

class CliHost : public Host {
 public:
  explicit CliHost(std::FILE* err = stderr);

  MsgResult ShowMessage(const MessageBox& box) override;
  void DoEvents() override;
  void Refresh(const std::string& control, const std::string& text) override;
  std::string AskFileName(const FileDialog& dialog) override;
  int ShellOpen(const std::string& target) override;
  void ShowWindow(WindowId window, bool visible) override;
  void PopUp(const PopUpMessage& popUp) override;
  int SelectLanguage(const std::vector<std::string>& choices) override;
  void EndProgram(int exitCode) override;

  void set_policy(AnswerPolicy policy) { policy_ = policy; }
  // Draws the progress line (when standard error is a terminal): once a run has gone
  // on for kProgressDelay seconds, the window's progress bar is shown as one line that
  // overwrites itself ("Scanning the words 42% (1.3 s)"), erased before any other
  // text. `clock` gives seconds (a steady clock when null).
  void set_progress(bool drawn, std::function<double()> clock = nullptr);
  static constexpr double kProgressDelay = 0.5;
  static std::string ProgressLine(const std::string& phase, int percent, double seconds);
  // Erases the progress line, when one is drawn.
  void EndProgressLine();
  // Only errors are printed: no status lines, questions or notices.
  void set_quiet(bool quiet) { quiet_ = quiet; }
  // Questions titled `title` concern only the window (the text box's capacity): they
  // are answered `answer`, silently, whatever the policy.
  void set_silent_answer(const std::string& title, MsgResult answer) {
    silentAnswers_[title] = answer;
  }
  // The file the next messages concern, as the user named it (`shown`) and as the
  // program holds it (`path`): a message that names neither is prefixed with `shown`.
  void set_subject(const std::string& shown, const std::string& path) {
    subject_ = shown;
    subjectPath_ = path;
  }
  // Messages titled `title` concern the file `name()` returns instead.
  void set_title_subject(const std::string& title, std::function<std::string()> name) {
    titleSubjects_[title] = std::move(name);
  }
  const std::string& subject() const { return subject_; }
  const std::string& subject_path() const { return subjectPath_; }
  // Under the default policy, questions titled `title` are answered `answer` instead
  // of by their default button.
  void set_default_answer(const std::string& title, MsgResult answer) {
    defaultAnswers_[title] = answer;
  }
  // Questions titled `title` are answered `answer` whatever the policy, until
  // clear_forced_answers.
  void set_forced_answer(const std::string& title, MsgResult answer) {
    forcedAnswers_[title] = answer;
  }
  void clear_forced_answers() { forcedAnswers_.clear(); }
  // The next question (only) is answered `answer`, whatever the policy.
  void AnswerNextQuestion(MsgResult answer) {
    nextAnswer_ = answer;
    hasNextAnswer_ = true;
  }
  // Called at the DoEvents after Ctrl-C was first pressed.
  void set_on_interrupt(std::function<void()> fn) { onInterrupt_ = std::move(fn); }
  // Installs the Ctrl-C handler: the first press reaches the core at the next
  // DoEvents (and, during a write, says the write is being finished); the second
  // removes every scratch file and ends the program with status 130. Presses
  // before it count no more. Not when the program was started with Ctrl-C ignored
  // (a background job).
  static void CatchInterrupts();
  // Says once, on standard error, that the run cannot stop and will finish.
  static void TellFinishingTheWrite();

  // The answer a policy gives to a box (OK boxes always answer OK).
  static MsgResult Answer(const MessageBox& box, AnswerPolicy policy);
  // Whether the output box's new text is echoed: appended status lines, and short
  // replacements of one line (not the listing).
  static bool EchoesOutput(const std::string& before, const std::string& after, std::string* echo);
  // A message's text on one line: its line breaks become single spaces.
  static std::string OneLine(const std::string& text);
  // The line a message box is printed as: "quillmoor-cli: [FILE: ]Title: prompt".
  std::string MessageLine(const MessageBox& box) const;

 private:
  void Print(const std::string& text);
  void DrawProgress(const std::string& bar);

  std::FILE* err_;
  AnswerPolicy policy_ = AnswerPolicy::kDefault;
  bool quiet_ = false;
  bool progress_ = false;
  bool progressDrawn_ = false;
  std::function<double()> clock_;
  double start_ = 0;
  std::string phase_;
  std::string subject_, subjectPath_;
  std::map<std::string, MsgResult> silentAnswers_;
  std::map<std::string, std::function<std::string()>> titleSubjects_;
  MsgResult nextAnswer_ = MsgResult::kOK;
  bool hasNextAnswer_ = false;
  std::function<void()> onInterrupt_;
  std::string lastOutput_;   // the output box's text at the last refresh
  std::string lastMessage_;  // title and prompt of the last message shown
  std::map<std::string, MsgResult> defaultAnswers_;
  std::map<std::string, MsgResult> forcedAnswers_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_CLI_CLIHOST_H_
