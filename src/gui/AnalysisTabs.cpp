#include "gui/AnalysisTabs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/Accessibility.h"
#include "gui/WidgetHelpers.h"
#include "plotpng/PlotPainter.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/WordRuleSet.h"

namespace quillmoor {
namespace {

QSpinBox* SpinBox(QWidget* parent, const char* name, int low, int high, int value) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(low, high);
  box->setValue(value);
  return box;
}

// A label whose mnemonic moves to `buddy`.
QLabel* LabelFor(const QString& caption, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setBuddy(buddy);
  return label;
}

QString Word(const AnalysisInput& input, int32_t word) {
  return QString::fromStdString(
      EngineTextAsUtf8(WordRuleSetOf(input.snapshot->utf8),
                       input.snapshot->words[static_cast<size_t>(word)].strWord));
}

}  // namespace

void AnalysisTableModel::Reset(AnalysisTable table) {
  beginResetModel();
  table_ = std::move(table);
  order_.resize(table_.rows.size());
  for (size_t i = 0; i < order_.size(); ++i) order_[i] = i;
  endResetModel();
}

int AnalysisTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int AnalysisTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.columns.size());
}

QVariant AnalysisTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const size_t column = static_cast<size_t>(index.column());
  if (role == Qt::DisplayRole) {
    return QString::fromStdString(table_.rows[TableRow(index.row())][column].text);
  }
  if (role == Qt::TextAlignmentRole && table_.columns[column].numeric) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return {};
}

QVariant AnalysisTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return QString::fromStdString(table_.columns[static_cast<size_t>(section)].name);
}

void AnalysisTableModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= columnCount()) return;
  emit layoutAboutToBeChanged();
  order_ = SortedOrder(table_, static_cast<size_t>(column), order == Qt::DescendingOrder);
  emit layoutChanged();
}

AnalysisTab::AnalysisTab(QWidget* parent) : QWidget(parent) {
  model_ = new AnalysisTableModel(this);
  view_ = new QTableView(this);
  view_->setModel(model_);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->verticalHeader()->hide();
  view_->horizontalHeader()->setSortIndicatorShown(true);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
  view_->setObjectName(QStringLiteral("tblTab"));
  ForKeyboard(view_);
  SetAccessible(view_, QStringLiteral("Table"),
                QStringLiteral("The analysis's rows; Enter shows the lines of a row, a column "
                               "header (Ctrl+Shift+S: the current cell's) sorts by it"));
  // The first column holds words; the others numbers (a dispersion's ten parts narrow).
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    for (int c = 0; c < model_->columnCount(); ++c) {
      const std::string& name = model_->table().columns[static_cast<size_t>(c)].name;
      view_->setColumnWidth(c, c == 0 ? 180 : name.starts_with("part") ? 52 : 84);
    }
  });
  // Clicking a header sorts by that column; numbers start from the highest.
  connect(view_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
    QHeaderView* header = view_->horizontalHeader();
    const bool numeric = model_->table().columns[static_cast<size_t>(section)].numeric;
    Qt::SortOrder order = numeric ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (header->sortIndicatorSection() == section && header->property("sorted").toBool()) {
      order = header->sortIndicatorOrder();
    }
    header->setProperty("sorted", true);
    header->setSortIndicator(section, order);
    model_->sort(section, order);
  });
  connect(view_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& index) { RowActivated(model_->TableRow(index.row())); });
  connect(view_, &QTableView::activated, this,
          [this](const QModelIndex& index) { RowActivated(model_->TableRow(index.row())); });
  status_ = new QLabel(this);
  status_->setAccessibleName(QStringLiteral("Status"));
  auto* exports = new QHBoxLayout;
  exports->addWidget(status_, 1);
  for (const auto& [caption, format] : {std::pair{"Export &TSV...", KwicFormat::kTsv},
                                        std::pair{"Export &CSV...", KwicFormat::kCsv}}) {
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    button->setObjectName(format == KwicFormat::kTsv ? QStringLiteral("cmdExportTableTsv")
                                                     : QStringLiteral("cmdExportTableCsv"));
    SetAccessible(button, QString(),
                  format == KwicFormat::kTsv ? QStringLiteral("Write the table to a file (Ctrl+E)")
                                             : QStringLiteral("Write the table to a file"));
    exports_.push_back(button);
    exports->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, format = format] {
      const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export the table"));
      if (!path.isEmpty()) ExportTable(path, format);
    });
  }
  layout_ = new QVBoxLayout(this);
  layout_->addWidget(view_, 1);
  layout_->addLayout(exports);
}

void AnalysisTab::ExportClicked() { exports_[0]->click(); }

void AnalysisTab::ChainControls(std::initializer_list<QWidget*> controls) {
  std::vector<QWidget*> all(controls);
  all.push_back(view_);
  all.insert(all.end(), exports_.begin(), exports_.end());
  chain_ = all;
}

void AnalysisTab::SetInput(const AnalysisInput& input) {
  input_ = input;
  Changed();
}

void AnalysisTab::Changed() {
  stale_ = true;
  if (isVisible()) RefreshIfStale();
}

void AnalysisTab::RefreshIfStale() {
  if (!stale_ || !input_.snapshot) return;
  stale_ = false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (!input_.tokens && input_.makeTokens) input_.tokens = input_.makeTokens();
  Compute();
  QApplication::restoreOverrideCursor();
}

void AnalysisTab::SetStatus(const QString& text) { status_->setText(text); }

bool AnalysisTab::ExportTable(const QString& path, KwicFormat format) {
  return WriteExportFile(this, path, [&](const PieceWriter& write) {
    quillmoor::ExportTable(model_->table(), format, write, &model_->order());
  });
}

std::vector<KwicRow> AnalysisTab::LinesOf(const std::vector<size_t>& tokens) const {
  std::vector<KwicRow> rows;
  for (size_t t : tokens) rows.push_back({(*input_.tokens)[t].word, (*input_.tokens)[t].position});
  return rows;
}

CollocatesTab::CollocatesTab(QWidget* parent) : AnalysisTab(parent) {
  setObjectName(QStringLiteral("tabCollocates"));
  left_ = SpinBox(this, "spnLeft", 0, kMaxCollocateSpan, 5);
  right_ = SpinBox(this, "spnRight", 0, kMaxCollocateSpan, 5);
  measure_ = new QComboBox(this);
  measure_->setObjectName(QStringLiteral("cboMeasure"));
  measure_->addItems({QStringLiteral("logDice"), QStringLiteral("MI"), QStringLiteral("t-score"),
                      QStringLiteral("log-likelihood")});
  minFrequency_ = SpinBox(this, "spnMinFrequency", 1, 999, 1);
  stopWords_ = new QCheckBox(QStringLiteral("Incl&ude stop words"), this);
  stopWords_->setObjectName(QStringLiteral("chkStopWords"));
  SetAccessible(left_, QStringLiteral("Window left"),
                QStringLiteral("The words counted to the left of each keyword"));
  SetAccessible(right_, QStringLiteral("Window right"),
                QStringLiteral("The words counted to the right of each keyword"));
  SetAccessible(measure_, QStringLiteral("Sort by"),
                QStringLiteral("The association measure the collocates are sorted by"));
  SetAccessible(minFrequency_, QStringLiteral("Minimum frequency"),
                QStringLiteral("A collocate is listed from this many times in the windows"));
  SetAccessible(stopWords_, QString(), QStringLiteral("The stop words counted as collocates too"));
  auto* bar = new QHBoxLayout;
  bar->addWidget(LabelFor(QStringLiteral("&Window: left"), left_, this));
  bar->addWidget(left_);
  bar->addWidget(LabelFor(QStringLiteral("&right"), right_, this));
  bar->addWidget(right_);
  bar->addWidget(LabelFor(QStringLiteral("Sort &by:"), measure_, this));
  bar->addWidget(measure_);
  bar->addWidget(LabelFor(QStringLiteral("Min. &frequency:"), minFrequency_, this));
  bar->addWidget(minFrequency_);
  bar->addWidget(stopWords_);
  ChainControls({left_, right_, measure_, minFrequency_, stopWords_});
  bar->addStretch(1);
  layout()->insertLayout(0, bar);
  for (QSpinBox* box : {left_, right_, minFrequency_})
    connect(box, &QSpinBox::valueChanged, this, [this] { Changed(); });
  connect(measure_, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
  connect(stopWords_, &QCheckBox::toggled, this, [this] { Changed(); });
}

void CollocatesTab::Compute() {
  static constexpr CollocationMeasure kMeasures[] = {
      CollocationMeasure::kLogDice, CollocationMeasure::kMi, CollocationMeasure::kT,
      CollocationMeasure::kLl};
  const CollocationMeasure measure = kMeasures[std::max(0, measure_->currentIndex())];
  const CollocateWindow window{left_->value(), right_->value()};
  std::vector<NodeSpan> spans;
  if (input_.matches != nullptr) {
    spans = MatchSpans(*input_.tokens, *input_.matches);
    nodes_.clear();
    for (const NodeSpan& span : spans) nodes_.push_back(span.begin);
  } else {
    nodes_ = input_.tokens->TokensOf(input_.words);
  }
  if (window.left + window.right == 0) {
    found_.clear();
    model_->Reset(CollocateTable(*input_.tokens, found_));
    SetStatus(
        QStringLiteral("The window holds no word: choose at least one word to the left or right"));
    return;
  }
  const std::vector<bool> candidates = input_.snapshot->flags.Candidates(stopWords_->isChecked());
  found_ = input_.matches != nullptr ? FindCollocatesAround(*input_.tokens, spans, candidates,
                                                            window, minFrequency_->value(), measure)
                                     : FindCollocates(*input_.tokens, nodes_, candidates, window,
                                                      minFrequency_->value(), measure);
  model_->Reset(CollocateTable(*input_.tokens, found_));
  static constexpr int kColumnOf[] = {5, 6, 7, 8};  // logdice, mi, t, ll
  view()->horizontalHeader()->setSortIndicator(kColumnOf[measure_->currentIndex()],
                                               Qt::DescendingOrder);
  SetStatus(QStringLiteral("%1 of %2 (window %3)")
                .arg(Counted(found_.size(), "collocate", "collocates"),
                     Counted(nodes_.size(), "occurrence", "occurrences"),
                     QString::fromStdString(CollocateWindowName(window))));
}

void CollocatesTab::RowActivated(size_t row) {
  const Collocate& c = found_[row];
  const CollocateWindow window{left_->value(), right_->value()};
  emit LinesWanted(
      LinesOf(NodesWithCollocate(*input_.tokens, nodes_, c.word, window)),
      QStringLiteral("with \"%1\" within %2")
          .arg(Word(input_, c.word), QString::fromStdString(CollocateWindowName(window))));
}

ClustersTab::ClustersTab(QWidget* parent) : AnalysisTab(parent) {
  setObjectName(QStringLiteral("tabClusters"));
  size_ = SpinBox(this, "spnSize", kMinNgramSize, kMaxNgramSize, 2);
  minFrequency_ = SpinBox(this, "spnMinFrequency", 1, 999, 2);
  acrossLines_ = new QCheckBox(QStringLiteral("Acr&oss lines"), this);
  acrossLines_->setObjectName(QStringLiteral("chkAcrossLines"));
  acrossLines_->setChecked(true);
  aroundWords_ = new QCheckBox(QStringLiteral("Only with the &selected words"), this);
  aroundWords_->setObjectName(QStringLiteral("chkAroundWords"));
  aroundWords_->setChecked(true);
  SetAccessible(size_, QStringLiteral("Words"), QStringLiteral("The words of a cluster"));
  SetAccessible(minFrequency_, QStringLiteral("Minimum frequency"),
                QStringLiteral("A cluster is listed from this many occurrences"));
  SetAccessible(acrossLines_, QString(),
                QStringLiteral("A cluster may run on from one line to the next"));
  SetAccessible(aroundWords_, QString(),
                QStringLiteral("Only the clusters that hold a word selected in the word list"));
  auto* bar = new QHBoxLayout;
  bar->addWidget(LabelFor(QStringLiteral("Wo&rds:"), size_, this));
  bar->addWidget(size_);
  bar->addWidget(LabelFor(QStringLiteral("Min. &frequency:"), minFrequency_, this));
  bar->addWidget(minFrequency_);
  bar->addWidget(acrossLines_);
  bar->addWidget(aroundWords_);
  ChainControls({size_, minFrequency_, acrossLines_, aroundWords_});
  bar->addStretch(1);
  layout()->insertLayout(0, bar);
  for (QSpinBox* box : {size_, minFrequency_})
    connect(box, &QSpinBox::valueChanged, this, [this] { Changed(); });
  for (QCheckBox* box : {acrossLines_, aroundWords_})
    connect(box, &QCheckBox::toggled, this, [this] { Changed(); });
}

NgramOptions ClustersTab::Options() const {
  return {size_->value(), acrossLines_->isChecked(), minFrequency_->value()};
}

void ClustersTab::Compute() {
  std::vector<bool> nodes;
  if (aroundWords_->isChecked()) {
    nodes.assign(input_.snapshot->flags.allowed.size(), false);
    for (int32_t w : input_.words) nodes[static_cast<size_t>(w)] = true;
    // A query's: the words of its matches.
    if (input_.matches != nullptr) {
      for (const NodeSpan& span : MatchSpans(*input_.tokens, *input_.matches)) {
        for (size_t t = span.begin; t < span.end; ++t)
          nodes[static_cast<size_t>((*input_.tokens)[t].word)] = true;
      }
    }
  }
  found_ = FindNgrams(*input_.tokens, Options(), input_.snapshot->flags.allowed, nodes);
  model_->Reset(NgramTable(*input_.tokens, found_));
  view()->horizontalHeader()->setSortIndicator(1, Qt::DescendingOrder);
  SetStatus(
      QStringLiteral("%1 of %2 words")
          .arg(Counted(found_.size(), "cluster", "clusters"), QString::number(size_->value())));
}

void ClustersTab::RowActivated(size_t row) {
  const Ngram& g = found_[row];
  std::vector<size_t> tokens =
      NgramOccurrences(*input_.tokens, g, Options(), input_.snapshot->flags.allowed);
  // The lines' keyword is the selected word at its place (the first word without one).
  for (size_t& t : tokens) t += static_cast<size_t>(std::max(0, g.place - 1));
  emit LinesWanted(LinesOf(tokens),
                   QStringLiteral("of \"%1\"")
                       .arg(QString::fromStdString(EngineTextAsUtf8(
                           WordRuleSetOf(input_.snapshot->utf8), NgramText(*input_.tokens, g)))));
}

DispersionTab::DispersionTab(QWidget* parent) : AnalysisTab(parent) {
  setObjectName(QStringLiteral("tabDispersion"));
  plot_ = new DispersionPlotView(this);
  plot_->setObjectName(QStringLiteral("picDispersion"));
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("scrDispersion"));
  SetAccessible(scroll, QStringLiteral("Dispersion plot"),
                QStringLiteral("Where in the document each word occurs, a tick an occurrence; "
                               "the table below holds the same rows"));
  scroll->setWidget(plot_);
  scroll->setWidgetResizable(false);
  scroll->setBackgroundRole(QPalette::Base);
  layout()->insertWidget(0, scroll, 2);
  auto* bar = new QHBoxLayout;
  bar->addStretch(1);
  std::vector<QWidget*> plotExports;
  for (const char* caption : {"Export S&VG...", "Export PN&G..."}) {
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    bar->addWidget(button);
    const bool svg = caption[7] == 'S';
    button->setObjectName(svg ? QStringLiteral("cmdExportSvg") : QStringLiteral("cmdExportPng"));
    SetAccessible(button, QString(), QStringLiteral("Write the plot to a picture file"));
    plotExports.push_back(button);
    connect(button, &QPushButton::clicked, this, [this, svg] {
      const QString path = QFileDialog::getSaveFileName(
          this, QStringLiteral("Export the plot"), QString(),
          svg ? QStringLiteral("SVG (*.svg)") : QStringLiteral("PNG (*.png)"));
      if (!path.isEmpty()) svg ? ExportSvg(path) : ExportPng(path);
    });
  }
  layout()->insertLayout(1, bar);
  ChainControls({scroll, plotExports[0], plotExports[1]});
  connect(plot_, &DispersionPlotView::TickClicked, this, [this](size_t token) {
    const Token& t = (*input_.tokens)[token];
    emit SourceWanted(
        t.position,
        static_cast<int>(input_.snapshot->words[static_cast<size_t>(t.word)].strWord.size()));
  });
}

// The plot shows at most this many words (the table has them all).
constexpr size_t kMaxPlotRows = 100;

void DispersionTab::Compute() {
  rows_ = input_.matches != nullptr ? DisperseMatches(*input_.tokens, *input_.matches)
                                    : Disperse(*input_.tokens, input_.words);
  model_->Reset(DispersionTable(*input_.tokens, rows_));
  std::vector<DispersionRow> shown(
      rows_.begin(), rows_.begin() + static_cast<long>(std::min(rows_.size(), kMaxPlotRows)));
  plotRows_ = std::move(shown);
  plot_->SetPlot(
      std::make_unique<DispersionPlot>(*input_.tokens, plotRows_,
                                       "Dispersion in " + FileNameOf(input_.snapshot->input)),
      input_.tokens);
  const QString words = Counted(rows_.size(), "word", "words");
  SetStatus(rows_.size() > kMaxPlotRows
                ? words + QStringLiteral("; the plot shows the first %1").arg(kMaxPlotRows)
                : words);
}

void DispersionTab::RowActivated(size_t row) {
  const QString what = rows_[row].label.empty()
                           ? Word(input_, rows_[row].word)
                           : QString::fromStdString(EngineTextAsUtf8(
                                 WordRuleSetOf(input_.snapshot->utf8), rows_[row].label));
  emit LinesWanted(LinesOf(rows_[row].tokens), QStringLiteral("of \"%1\"").arg(what));
}

bool DispersionTab::ExportSvg(const QString& path) {
  if (plot_->plot() == nullptr) return false;
  const std::string svg = plot_->plot()->Svg();
  return WriteExportFile(this, path, [&svg](const PieceWriter& write) { write(svg); });
}

bool DispersionTab::ExportPng(const QString& path) {
  const DispersionPlot* plot = plot_->plot();
  if (plot == nullptr) return false;
  QByteArray png;
  if (!PlotPngBytes(plot->items().data(), plot->items().size(), plot->width(), plot->height(),
                    &png)) {
    QMessageBox::warning(this, QStringLiteral("Export"),
                         path + QStringLiteral(": the picture could not be drawn"));
    return false;
  }
  return WriteExportFile(this, path, [&png](const PieceWriter& write) {
    write(std::string_view(png.constData(), static_cast<size_t>(png.size())));
  });
}

void DispersionPlotView::SetPlot(std::unique_ptr<DispersionPlot> plot,
                                 std::shared_ptr<const TokenStream> tokens) {
  plot_ = std::move(plot);
  tokens_ = std::move(tokens);
  resize(sizeHint());
  update();
}

QSize DispersionPlotView::sizeHint() const {
  if (!plot_) return {400, 100};
  return {static_cast<int>(plot_->width()), static_cast<int>(plot_->height())};
}

void DispersionPlotView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (plot_) PaintPlot(painter, plot_->items().data(), plot_->items().size());
}

void DispersionPlotView::mousePressEvent(QMouseEvent* event) {
  size_t row = 0, token = 0;
  if (plot_ && plot_->TickAt(event->position().x(), event->position().y(), &row, &token))
    emit TickClicked(token);
}

}  // namespace quillmoor
