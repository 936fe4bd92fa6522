// The Host of the desktop program: message boxes, file dialogs, event processing and
// the shell's "open" through Qt.
#ifndef QUILLMOOR_GUI_QTHOST_H_
#define QUILLMOOR_GUI_QTHOST_H_

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <string>

#include "shared/Host.h"

class QWidget;

namespace quillmoor {

// A file dialog filter as the program writes it ("Settings files (*.kvf) | *.kvf", a
// description and its pattern) in the toolkit's form ("Settings files (*.kvf)"); a
// filter without a pattern part offers all files.
QString ToolkitFilter(const std::string& filter);

// The controls' UTF-8 text to and from the toolkit's strings.
QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

class QtHost : public Host {
 public:
  explicit QtHost(QWidget* parent = nullptr) : parent_(parent) { sinceEvents_.start(); }
  void set_parent(QWidget* parent) { parent_ = parent; }
  // Questions answered by their default button without showing them (screenshots).
  void set_unattended(bool unattended) { unattended_ = unattended; }
  // With set_unattended, questions are answered `answer` instead (measurements).
  void set_unattended_answer(MsgResult answer) {
    unattendedAnswer_ = answer;
    hasUnattendedAnswer_ = true;
  }
  // What showing or hiding one of the other windows does.
  void set_show_window(std::function<void(WindowId, bool)> show) { showWindow_ = std::move(show); }
  // What a repaint does first: copy the model into the widgets.
  void set_repaint(std::function<void()> repaint) { repaint_ = std::move(repaint); }
  // Called each time a run's DoEvents runs pending events, before it does: a scripted
  // session acts there, at a known point of the run (tests, --quit-during).
  void set_on_events(std::function<void()> onEvents) { onEvents_ = std::move(onEvents); }
  // The least time between two DoEvents that run events (20 ms; 0: every call).
  void set_event_interval(int milliseconds) { eventInterval_ = milliseconds; }

  MsgResult ShowMessage(const MessageBox& box) override;
  // Runs pending events at most every event interval, so a call per word stays cheap.
  void DoEvents() override;
  void Refresh(const std::string& control, const std::string& text) override;
  std::string AskFileName(const FileDialog& dialog) override;
  int ShellOpen(const std::string& target) override;
  void ShowWindow(WindowId window, bool visible) override;
  void PopUp(const PopUpMessage& popUp) override;
  int SelectLanguage(const std::vector<std::string>& choices) override;
  void EndProgram(int exitCode) override;

 private:
  QWidget* parent_;
  std::function<void()> repaint_;
  std::function<void(WindowId, bool)> showWindow_;
  std::function<void()> onEvents_;
  int eventInterval_ = 20;
  bool unattended_ = false;
  bool hasUnattendedAnswer_ = false;
  MsgResult unattendedAnswer_ = MsgResult::kOK;
  QElapsedTimer sinceEvents_;
  QElapsedTimer sinceRepaint_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_GUI_QTHOST_H_
