// The concordance explorer window: a thin model/view adapter over explore/. A word
// list (filtered by a query of the keyword search's language), the lines of the words
// selected in it (left context, keyword, right context; sortable by up to three
// levels, the deciding words coloured), a source pane that shows a line's place in the
// document, exports and a status bar; beside the lines, the analysis tabs (collocates,
// clusters, dispersion) of the same selected words. It works on a snapshot of the word table taken
// when it opens: the main window, its files and its options are never touched.
#ifndef QUILLMOOR_GUI_EXPLORERWINDOW_H_
#define QUILLMOOR_GUI_EXPLORERWINDOW_H_

#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "explore/KwicExport.h"
#include "gui/QueryBox.h"
#include "ui/QuerySearch.h"
#include "ui/Snapshot.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPlainTextEdit;
class QSpinBox;
class QTableView;
class QTabWidget;

namespace quillmoor {

class ExplorerWordModel;
class ExplorerLineModel;
class CollocatesTab;
class ClustersTab;
class DispersionTab;
class TokenStream;

class ExplorerWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ExplorerWindow(QWidget* parent = nullptr);
  ~ExplorerWindow() override;

  // Shows the words of `snapshot` (all the listed words selected).
  void Open(ExploreSnapshot snapshot);
  // The sort levels (at most three), as the sort bar and the column headers set them.
  void SetSort(const std::vector<SortLevel>& levels);
  // Shows line `row` of the lines pane in the source pane.
  void ShowSource(int row);
  // Writes the lines as shown to `path`; false (after a message box) on failure.
  bool Export(const QString& path, KwicFormat format);
  const KwicRows& rows() const;
  // The tabs: Lines, Collocates, Clusters, Dispersion.
  QTabWidget* tabs() const { return tabs_; }
  CollocatesTab* collocates() const { return collocates_; }
  ClustersTab* clusters() const { return clusters_; }
  DispersionTab* dispersion() const { return dispersion_; }
  // Shows these lines (an analysis's), described by `what`, in the Lines tab.
  void ShowLines(std::vector<KwicRow> lines, const QString& what);
  // Marks `length` characters at 1-based `position` in the source pane.
  void ShowSourceAt(int position, int length);
  // The filter box (keywords or a query) and its options.
  QueryBox* queryBox() const { return queryBox_.get(); }
  // True while lines are being built or sorted (off the interface thread).
  bool LinesPending() const { return pending_ > 0; }

 signals:
  // A request for lines finished: the pane shows the latest request's lines once
  // LinesPending() is false (requests can finish in any order).
  void LinesReady();

 private:
  void RefreshWords();
  void RefreshLines();
  void CopySelection();
  // The selected words, in the word list's order.
  std::vector<int32_t> SelectedWords() const;
  void LoadSource(const std::shared_ptr<const ExploreSnapshot>& snapshot);
  // The filter as a query of the query language: its matches in the word list (one entry
  // for each text matched) and the lines; false after the status says why not.
  bool RefreshMatches();
  // What the word list and the lines show: the snapshot, or the query's matches.
  const std::shared_ptr<const ExploreSnapshot>& Shown() const {
    return matchSnapshot_ ? matchSnapshot_ : snapshot_;
  }
  void MarkInSource(size_t begin, size_t size);

  std::shared_ptr<const ExploreSnapshot> snapshot_;
  // The lines shown, and the snapshot they point into.
  std::shared_ptr<KwicRows> rows_;
  std::shared_ptr<const ExploreSnapshot> rowsSnapshot_;
  uint64_t generation_ = 0;  // the latest request for lines
  int pending_ = 0;          // requests not finished yet
  ExploreQuery query_;
  std::vector<SortLevel> levels_;
  int sourceRow_ = -1;
  // The snapshot whose text the source pane holds (filled when a line is first traced:
  // a whole book takes a while to lay out).
  std::shared_ptr<const ExploreSnapshot> sourceSnapshot_;
  ExplorerWordModel* wordModel_;
  ExplorerLineModel* lineModel_;
  QLineEdit* filter_;
  std::unique_ptr<QueryBox> queryBox_;
  // The filter's query: its matches in snapshot_, and a snapshot of them (their texts
  // as its words); none when the filter is keywords.
  std::shared_ptr<const DocumentMatches> matches_;
  std::shared_ptr<const ExploreSnapshot> matchSnapshot_;
  // The tokens of documentTokensOf_'s text, made at its first query.
  std::shared_ptr<const DocumentTokens> documentTokens_;
  std::shared_ptr<const ExploreSnapshot> documentTokensOf_;
  QCheckBox* allWords_;
  QTableView* words_;
  QTableView* lines_;
  QSpinBox* width_;
  std::array<QComboBox*, 3> sortBar_{};
  QLabel* sourceLabel_ = nullptr;
  QPlainTextEdit* source_;
  QLabel* status_;
  QTabWidget* tabs_;
  std::shared_ptr<const TokenStream> tokens_;  // of tokensSnapshot_, made when first needed
  std::shared_ptr<const ExploreSnapshot> tokensSnapshot_;
  CollocatesTab* collocates_;
  ClustersTab* clusters_;
  DispersionTab* dispersion_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_GUI_EXPLORERWINDOW_H_
