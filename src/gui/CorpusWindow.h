// The corpus window: a thin view over ui/Corpora and ui/CorpusQueries. A corpus chosen
// (or named, for a new one), its documents with their words, tokens and metadata,
// files and folders added or removed, the index built or updated with a progress bar
// and Stop; a filter panel (the subcorpus the other tabs work on); the lines of words
// with their documents, sorted or grouped by document or a metadata field; the
// keywords against a reference; the collocates, n-grams and dispersion of words; each
// table exported to a file.
//
// It works with a program of its own (the main window's options copied in before each
// task), so that the main window's table, files and options are never touched.
#ifndef QUILLMOOR_GUI_CORPUSWINDOW_H_
#define QUILLMOOR_GUI_CORPUSWINDOW_H_

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "gui/QueryBox.h"
#include "ui/CorpusLines.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QSpinBox;
class QPushButton;
class QTableView;
class QTabWidget;

namespace quillmoor {

struct Program;
class AnalysisTableModel;
struct OpenCorpus;

class CorpusWindow : public QWidget {
 public:
  CorpusWindow(Program& main, QWidget* parent);
  ~CorpusWindow() override;
  // Shows corpus `name` (an empty name: the first there is).
  void ShowCorpus(const std::string& name);
  // Files and folders to add at the next build (what the file dialogs give).
  void AddDocuments(const std::vector<std::string>& given);
  // Writes the table of the tab shown (all the lines on the Lines tab) to `path`, as the
  // file's extension says: .csv, .jsonl, .html (lines only), .txt, else TSV.
  bool ExportTo(const QString& path);

 private:
  std::string Name() const;
  std::vector<std::string> Filters() const;
  // The program for a task, with the main window's options.
  Program& Own();
  void Refresh();
  void AddFiles();
  void AddFolder();
  void RemoveSelected();
  void ChooseMetadata();
  void Build();
  void ShowLines();
  void ShowKeywords();
  void ShowAnalysis();
  void Say(const QString& text);

  Program& main_;
  std::unique_ptr<Program> own_;
  std::unique_ptr<OpenCorpus> open_;
  std::unique_ptr<CorpusLines> shownLines_;  // over open_
  std::vector<std::string> adding_, removing_;
  std::string metadataFile_;
  bool building_ = false, stop_ = false;

  QComboBox* cboCorpus_;
  QPushButton *cmdAddFiles_, *cmdAddFolder_, *cmdRemove_, *cmdMetadata_, *cmdBuild_, *cmdStop_;
  QProgressBar* progress_;
  QLabel* lblStatus_;
  QLineEdit* txbWhere_;
  QTabWidget* tabs_;
  QTableView* documents_;
  AnalysisTableModel* documentModel_;
  QLineEdit *txbKeywords_, *txbSort_;
  std::unique_ptr<QueryBox> linesQuery_, analysisQuery_;  // over txbKeywords_ and txbNodes_
  QComboBox* cboGroup_;
  QPushButton* cmdShowLines_;
  QTableView* lines_;
  AnalysisTableModel* lineModel_;
  QComboBox* cboReference_;
  QPushButton *cmdReferenceFile_, *cmdKeywords_;
  QDoubleSpinBox* spnP_;
  QCheckBox *chkBonferroni_, *chkNegative_;
  QTableView* keywords_;
  AnalysisTableModel* keywordModel_;
  QComboBox* cboAnalysis_;
  QLineEdit* txbNodes_;
  QSpinBox* spnSize_;
  QPushButton* cmdAnalyse_;
  QTableView* analyses_;
  AnalysisTableModel* analysisModel_;
  QPushButton* cmdExport_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_GUI_CORPUSWINDOW_H_
