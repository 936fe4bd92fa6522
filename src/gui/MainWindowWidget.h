// The main window's widgets. It builds them, copies the controls model into them
// (PushModel), and turns each user action into: copy the widgets' values into the
// model, call the core handler, copy the model back. No rule of the program lives here.
#ifndef QUILLMOOR_GUI_MAINWINDOWWIDGET_H_
#define QUILLMOOR_GUI_MAINWINDOWWIDGET_H_

#include <QWidget>
#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace quillmoor {

class CorpusWindow;
class ExplorerWindow;

struct Program;
struct Control;

class MainWindowWidget : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindowWidget(Program& p, QWidget* parent = nullptr);

  // Model to widgets: texts, captions, values, enabled and visible states.
  void PushModel();
  // Widgets to model: what a person can change (texts, values, list indexes).
  void PullModel();
  // Opens the explorer window on the current word table (or brings it up to date).
  void OpenExplorer();
  ExplorerWindow* explorer() const { return explorer_; }
  CorpusWindow* corpora() const { return corpora_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Runs `handler` between a pull and a push.
  template <typename Handler>
  void Handle(Handler handler);

  Program& p_;
  bool pushing_ = false;
  std::string focus_;
  QRadioButton* optCreate_;
  QRadioButton* optSearch_;
  std::array<QPushButton*, 3> cmdFile_{};
  std::array<QLineEdit*, 3> txbFile_{};
  std::array<QPushButton*, 3> cmdClearFile_{};
  std::array<QPushButton*, 3> cmdViewFile_{};
  QCheckBox* chkUTF8_;
  QLabel* lblInputFilesize_;
  QLabel* lblExtraKeywords_;
  QLineEdit* txbExtraKeywords_;
  QPushButton* cmdClearExtraKeywords_;
  QLabel* lblSearchResultsFilesize_;
  QComboBox* cboWordOrder_;
  QComboBox* cboContextSize_;
  QCheckBox* chkFrequencies_;
  QCheckBox* chkShowLineBreaks_;
  QCheckBox* chkCreateIndexFile_;
  QCheckBox* chkWarnOnOverwrite_;
  QCheckBox* chkSaveStateOnQuit_;
  QPushButton* cmdListWords_;
  QPushButton* cmdSetParameters_;
  QPushButton* cmdSaveState_;
  QPushButton* cmdHelp_;
  QPushButton* cmdQuit_;
  QPushButton* cmdExplore_;  // opens the concordance explorer
  ExplorerWindow* explorer_ = nullptr;
  QPushButton* cmdCorpora_;  // opens the corpus window
  CorpusWindow* corpora_ = nullptr;
  QPlainTextEdit* txbOutput_;
  std::array<QLabel*, 2> lblConcordanceFile_{};
  QLabel* lblConcordanceFilesize_;
  QLabel* lblIndexFilesize_;
  QLabel* lblNumberOfWords_;
  QLabel* lblNumOccurrences_;
  QLabel* lblTotalNumOccurrences_;
  QLabel* lblTimeElapsed_;
  QLabel* lblTwirler_;
  QLabel* lblOnlineDocumentation_;
  class ParametersWidget* parameters_ = nullptr;
  QWidget* viewer_;
  QPlainTextEdit* viewerText_;
  QPushButton* viewerClose_;
  QTimer* timer1_;
  QTimer* timer2_;

 public:
  // Shows or hides the viewer window with the model's text.
  void ShowViewer(bool visible);
  // Shows the parameters window beside the main window (made on first use).
  void ShowParameters();
};

}  // namespace quillmoor

#endif  // QUILLMOOR_GUI_MAINWINDOWWIDGET_H_
