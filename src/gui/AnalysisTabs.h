// The explorer's analysis tabs: collocates, clusters and n-grams, and dispersion, each a
// thin view over analyses/ for the words selected in the explorer's word list.
//
// Each tab shows a table sortable by any column and exportable as TSV or CSV (the
// dispersion tab also draws its plot, exportable as SVG and PNG). A tab computes only
// while it is shown, and again when its words or controls change. Double-clicking a
// row asks the explorer for lines (LinesWanted); clicking a tick of the plot asks for
// the source at that occurrence (SourceWanted).
#ifndef QUILLMOOR_GUI_ANALYSISTABS_H_
#define QUILLMOOR_GUI_ANALYSISTABS_H_

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "analyses/AnalysisTable.h"
#include "ui/QuerySearch.h"
#include "ui/Snapshot.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class QVBoxLayout;

namespace quillmoor {

// What every tab works on: the explorer's snapshot, its tokens and the selected words.
// The tokens are made by `makeTokens` when a tab first needs them (a whole book's take
// a moment; the lines never need them).
struct AnalysisInput {
  std::shared_ptr<const ExploreSnapshot> snapshot;
  std::function<std::shared_ptr<const TokenStream>()> makeTokens;
  std::vector<int32_t> words;  // table indices
  std::shared_ptr<const TokenStream> tokens;
  // A query's matches (ui/QuerySearch.h) in place of the words, or none.
  std::shared_ptr<const DocumentMatches> matches;
};

// An analysis table as a sortable model (the table stays; the view's order is an index).
class AnalysisTableModel : public QAbstractTableModel {
 public:
  explicit AnalysisTableModel(QObject* parent) : QAbstractTableModel(parent) {}
  void Reset(AnalysisTable table);
  const AnalysisTable& table() const { return table_; }
  const std::vector<size_t>& order() const { return order_; }
  // The table's row shown at view row `row`.
  size_t TableRow(int row) const { return order_[static_cast<size_t>(row)]; }
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void sort(int column, Qt::SortOrder order) override;

 private:
  AnalysisTable table_;
  std::vector<size_t> order_;
};

class AnalysisTab : public QWidget {
  Q_OBJECT

 public:
  explicit AnalysisTab(QWidget* parent);
  // New words or a new snapshot: recomputed now when shown, else when next shown.
  void SetInput(const AnalysisInput& input);
  // Recomputes when the input or the controls changed since the last time.
  void RefreshIfStale();
  // Writes the table as shown; false (after a message box) on failure.
  bool ExportTable(const QString& path, KwicFormat format);
  // The tab's controls in their tab order (the bar's, the table, the exports).
  const std::vector<QWidget*>& chain() const { return chain_; }
  // Asks for a file and exports the table as TSV (the Export TSV button).
  void ExportClicked();
  QTableView* view() const { return view_; }
  const AnalysisTableModel& model() const { return *model_; }

 signals:
  void LinesWanted(std::vector<KwicRow> rows, QString what);
  void SourceWanted(int position, int length);

 protected:
  // Computes the tab's table (and whatever else it shows) from input_.
  virtual void Compute() = 0;
  // A double-click on the table's row `row` (an index of model().table()).
  virtual void RowActivated(size_t row) = 0;
  // Marks the result stale and recomputes when shown: the controls call it.
  void Changed();
  // Rows of lines for tokens of input_.tokens.
  std::vector<KwicRow> LinesOf(const std::vector<size_t>& tokens) const;
  QVBoxLayout* layout() const { return layout_; }
  void SetStatus(const QString& text);
  // Tab goes through `controls` (the tab's bar), the table, then the exports.
  void ChainControls(std::initializer_list<QWidget*> controls);

  AnalysisInput input_;
  AnalysisTableModel* model_;

 private:
  QVBoxLayout* layout_;
  QTableView* view_;
  QLabel* status_;
  std::vector<QPushButton*> exports_;
  std::vector<QWidget*> chain_;
  bool stale_ = true;
};

class CollocatesTab : public AnalysisTab {
  Q_OBJECT
 public:
  explicit CollocatesTab(QWidget* parent);

 protected:
  void Compute() override;
  void RowActivated(size_t row) override;

 private:
  QSpinBox* left_;
  QSpinBox* right_;
  QComboBox* measure_;
  QSpinBox* minFrequency_;
  QCheckBox* stopWords_;
  std::vector<Collocate> found_;
  std::vector<size_t> nodes_;
};

class ClustersTab : public AnalysisTab {
  Q_OBJECT
 public:
  explicit ClustersTab(QWidget* parent);

 protected:
  void Compute() override;
  void RowActivated(size_t row) override;

 private:
  NgramOptions Options() const;
  QSpinBox* size_;
  QSpinBox* minFrequency_;
  QCheckBox* acrossLines_;
  QCheckBox* aroundWords_;
  std::vector<Ngram> found_;
};

class DispersionPlotView;

class DispersionTab : public AnalysisTab {
  Q_OBJECT
 public:
  explicit DispersionTab(QWidget* parent);
  // The plot's files; false (after a message box) on failure.
  bool ExportSvg(const QString& path);
  bool ExportPng(const QString& path);
  DispersionPlotView* plotView() const { return plot_; }

 protected:
  void Compute() override;
  void RowActivated(size_t row) override;

 private:
  DispersionPlotView* plot_;
  std::vector<DispersionRow> rows_;
  std::vector<DispersionRow> plotRows_;  // the rows the plot draws
};

// The plot, drawn by the painter the PNG export uses; a click on a tick asks for the
// source at that occurrence.
class DispersionPlotView : public QWidget {
  Q_OBJECT
 public:
  explicit DispersionPlotView(QWidget* parent) : QWidget(parent) {}
  // `tokens` are those the plot was drawn from: kept while it is shown.
  void SetPlot(std::unique_ptr<DispersionPlot> plot, std::shared_ptr<const TokenStream> tokens);
  const DispersionPlot* plot() const { return plot_.get(); }
  QSize sizeHint() const override;

 signals:
  void TickClicked(size_t token);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::shared_ptr<const TokenStream> tokens_;
  std::unique_ptr<DispersionPlot> plot_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_GUI_ANALYSISTABS_H_
