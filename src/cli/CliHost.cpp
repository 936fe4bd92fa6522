#include "cli/CliHost.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>

#include "shared/ScratchFile.h"

namespace quillmoor {
namespace {

volatile std::sig_atomic_t g_pressed = 0;  // Ctrl-C was pressed
volatile std::sig_atomic_t g_pending = 0;  // ... and DoEvents has not passed it on yet
volatile std::sig_atomic_t g_told = 0;     // the "finishing" notice was given

constexpr char kFinishing[] =
    "quillmoor-cli: finishing the write; press Ctrl-C again to abandon it\n";

void TellFinishing() {
  if (g_told) return;
  g_told = 1;
  const ssize_t ignored = ::write(STDERR_FILENO, kFinishing, sizeof kFinishing - 1);
  (void)ignored;
}

// The first Ctrl-C asks the run to stop (at the next DoEvents); during a write, which
// cannot stop, it says that the write is being finished. A second one abandons
// everything: scratch files go and the earlier files stay as they were.
extern "C" void OnInterrupt(int signal) {
  if (g_pressed) AbandonForSignal(signal);
  g_pressed = 1;
  g_pending = 1;
  if (ScratchWritesUnderWay() > 0) TellFinishing();
}

const char* ButtonName(MsgResult r) {
  switch (r) {
    case MsgResult::kOK:
      return "OK";
    case MsgResult::kYes:
      return "Yes";
    case MsgResult::kNo:
      return "No";
    case MsgResult::kCancel:
      return "Cancel";
  }
  return "OK";
}

// Status text with its CR LF (or lone CR) line breaks made terminal line feeds.
std::string TerminalLines(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// Notices that say how a run went, not that something failed: --quiet leaves them out.
bool IsNotice(const MessageBox& box) {
  static const char* const kNotices[] = {"Characters outside Windows-1252", "Bad index file",
                                         "Index file", "Stop words"};
  for (const char* title : kNotices) {
    if (box.title == title) return true;
  }
  return false;
}

}  // namespace

MsgResult CliHost::Answer(const MessageBox& box, AnswerPolicy policy) {
  if (box.buttons == MsgButtons::kOK) return MsgResult::kOK;
  if (policy == AnswerPolicy::kYes) return MsgResult::kYes;
  if (policy == AnswerPolicy::kNo) return MsgResult::kNo;
  return DefaultAnswer(box);
}

void CliHost::Print(const std::string& text) {
  const std::string lines = TerminalLines(text);
  std::fwrite(lines.data(), 1, lines.size(), err_);
}

std::string CliHost::MessageLine(const MessageBox& box) const {
  const std::string prompt = OneLine(box.prompt);
  std::string line = "quillmoor-cli: ";
  std::string shown = subject_, path = subjectPath_;
  if (auto it = titleSubjects_.find(box.title); it != titleSubjects_.end())
    shown = path = it->second();
  // The file a message concerns, when the message does not name it.
  if (!shown.empty() && prompt.find(shown) == std::string::npos &&
      (path.empty() || prompt.find(path) == std::string::npos)) {
    line += shown + ": ";
  }
  if (!box.title.empty()) line += box.title + ": ";
  return line + prompt;
}

std::string CliHost::OneLine(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n')) ++i;
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(text[i]);
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

MsgResult CliHost::ShowMessage(const MessageBox& box) {
  if (box.buttons != MsgButtons::kOK) {
    auto silent = silentAnswers_.find(box.title);
    if (silent != silentAnswers_.end()) return silent->second;
  }
  MsgResult answer = Answer(box, policy_);
  if (policy_ == AnswerPolicy::kDefault && box.buttons != MsgButtons::kOK) {
    auto it = defaultAnswers_.find(box.title);
    if (it != defaultAnswers_.end()) answer = it->second;
  }
  if (box.buttons != MsgButtons::kOK) {
    auto it = forcedAnswers_.find(box.title);
    if (it != forcedAnswers_.end()) answer = it->second;
  }
  if (hasNextAnswer_ && box.buttons != MsgButtons::kOK) {
    answer = nextAnswer_;
    hasNextAnswer_ = false;
  }
  const std::string key = box.title + '\x01' + box.prompt;
  // The same notice twice in a row (a file checked when named and again when read)
  // is printed once; questions are always printed with their answer. --quiet leaves
  // only the errors.
  const bool question = box.buttons != MsgButtons::kOK;
  if ((question || key != lastMessage_) && !(quiet_ && (question || IsNotice(box)))) {
    std::string text = MessageLine(box);
    if (box.buttons == MsgButtons::kYesNo) text += " [Yes/No]";
    if (box.buttons == MsgButtons::kYesNoCancel) text += " [Yes/No/Cancel]";
    if (question) text += " -> " + std::string(ButtonName(answer));
    EndProgressLine();
    Print(text + "\n");
  }
  lastMessage_ = key;
  std::fflush(err_);
  return answer;
}

void CliHost::DoEvents() {
  if (g_pending) {
    g_pending = 0;
    if (onInterrupt_) onInterrupt_();
  }
}

void CliHost::TellFinishingTheWrite() { TellFinishing(); }

bool CliHost::EchoesOutput(const std::string& before, const std::string& after, std::string* echo) {
  constexpr size_t kLongestEcho = 2000;
  if (after == before) return false;
  if (after.size() > before.size() && after.compare(0, before.size(), before) == 0) {
    *echo = after.substr(before.size());
    return echo->size() <= kLongestEcho;
  }
  // A replacement: a message line such as "Stopped with 12 words found.", not a listing.
  const size_t lineEnd = after.find("\r\n");
  if (after.empty() || after.size() > kLongestEcho ||
      (lineEnd != std::string::npos && lineEnd + 2 != after.size())) {
    return false;
  }
  *echo = after;
  return true;
}

CliHost::CliHost(std::FILE* err) : err_(err) {
  clock_ = [] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
}

void CliHost::set_progress(bool drawn, std::function<double()> clock) {
  progress_ = drawn;
  if (clock) clock_ = std::move(clock);
  if (drawn) start_ = clock_();  // the elapsed time is shown only with the bar
}

std::string CliHost::ProgressLine(const std::string& phase, int percent, double seconds) {
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "%.1f s", seconds);
  return phase + " " + std::to_string(percent) + "% (" + elapsed + ")";
}

void CliHost::DrawProgress(const std::string& bar) {
  // The bar is "[", one "-" per part done but the last, ">", spaces, "]".
  if (!progress_ || bar.size() < 3 || bar.front() != '[' || bar.back() != ']') return;
  const double seconds = clock_() - start_;
  if (seconds < kProgressDelay) return;
  const size_t width = bar.size() - 2;
  const size_t done = bar.find_first_of(" ]", 1) - 1;
  const int percent = static_cast<int>(done * 100 / width);
  const std::string line = "\r" + ProgressLine(phase_, percent, seconds) + "\x1b[K";
  std::fwrite(line.data(), 1, line.size(), err_);
  std::fflush(err_);
  progressDrawn_ = true;
}

void CliHost::EndProgressLine() {
  if (!progressDrawn_) return;
  std::fputs("\r\x1b[K", err_);
  progressDrawn_ = false;
}

void CliHost::Refresh(const std::string& control, const std::string& text) {
  if (control == "lblTotalNumOccurrences") DrawProgress(text);
  if (control != "txbOutput" || quiet_) return;  // quiet: nothing is echoed
  std::string echo;
  if (EchoesOutput(lastOutput_, text, &echo)) {
    EndProgressLine();
    // The phase the progress line names: the last status line, without its " ...".
    std::string last = TerminalLines(echo);
    while (!last.empty() && last.back() == '\n') last.pop_back();
    last = last.substr(last.rfind('\n') == std::string::npos ? 0 : last.rfind('\n') + 1);
    if (last.ends_with(" ...")) phase_ = last.substr(0, last.size() - 4);
    if (!echo.empty() && echo.back() != '\n') echo += '\n';
    Print(echo);
  }
  lastOutput_ = text;
  std::fflush(err_);
}

std::string CliHost::AskFileName(const FileDialog&) { return ""; }

int CliHost::ShellOpen(const std::string&) { return 0; }

void CliHost::ShowWindow(WindowId, bool) {}

void CliHost::PopUp(const PopUpMessage& popUp) {
  if (quiet_) return;
  EndProgressLine();
  Print(popUp.message + "\n");
}

void CliHost::EndProgram(int exitCode) {
  std::fflush(stdout);
  std::fflush(err_);
  std::exit(exitCode);
}

int CliHost::SelectLanguage(const std::vector<std::string>&) { return -1; }

void CliHost::CatchInterrupts() {
  g_pressed = 0;
  g_pending = 0;
  g_told = 0;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  CatchUnlessIgnored(SIGINT, action);
}

}  // namespace quillmoor
