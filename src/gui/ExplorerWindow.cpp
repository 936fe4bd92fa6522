#include "gui/ExplorerWindow.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextBlock>
#include <QTextLayout>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "analyses/Tokens.h"
#include "gui/Accessibility.h"
#include "gui/AnalysisTabs.h"
#include "gui/WidgetHelpers.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Utf8.h"
#include "shared/WordRuleSet.h"

namespace quillmoor {
namespace {

// Engine text for the window: UTF-8 as it is, Windows-1252 converted.
QString FromEngine(bool utf8, std::string_view text) {
  return QString::fromStdString(EngineTextAsUtf8(WordRuleSetOf(utf8), text));
}

// The colours of the words that decide the sort, by level.
const QColor kLevelColours[kMaxSortLevels] = {QColor(0xC0, 0x39, 0x2B), QColor(0x1F, 0x5F, 0xBF),
                                              QColor(0x1E, 0x84, 0x49)};
constexpr int kSpansRole = Qt::UserRole + 1;

// The sort bar's choices: none, L5..L1, KW, R1..R5, POS.
std::vector<SortLevel> SortChoices() {
  std::vector<SortLevel> choices;
  for (int d = kMaxSortDistance; d >= 1; --d) choices.push_back({SortLevel::kLeft, d});
  choices.push_back({SortLevel::kKeyword, 0});
  for (int d = 1; d <= kMaxSortDistance; ++d) choices.push_back({SortLevel::kRight, d});
  choices.push_back({SortLevel::kPosition, 0});
  return choices;
}

}  // namespace

// The word list: the shown words of the snapshot, by word (the listing's key) or by
// frequency.
class ExplorerWordModel : public QAbstractTableModel {
 public:
  explicit ExplorerWordModel(QObject* parent) : QAbstractTableModel(parent) {}
  void Reset(const ExploreSnapshot* snapshot, std::vector<int32_t> shown) {
    beginResetModel();
    snapshot_ = snapshot;
    shown_ = std::move(shown);
    SortShown();
    endResetModel();
  }
  int32_t WordAt(int row) const { return shown_[static_cast<size_t>(row)]; }
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
  }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::TextAlignmentRole) return {};
    const WordRecord& r = snapshot_->words[static_cast<size_t>(WordAt(index.row()))];
    if (role == Qt::TextAlignmentRole) {
      return index.column() == 1 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    }
    return index.column() == 0 ? QVariant(FromEngine(snapshot_->utf8, r.strWord))
                               : QVariant(r.lngFrequency);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QStringLiteral("Word") : QStringLiteral("Frequency");
  }
  void sort(int column, Qt::SortOrder order) override {
    beginResetModel();
    column_ = column;
    order_ = order;
    SortShown();
    endResetModel();
  }

 private:
  void SortShown() {
    if (snapshot_ == nullptr) return;
    const auto& w = snapshot_->words;
    std::stable_sort(shown_.begin(), shown_.end(), [&](int32_t a, int32_t b) {
      const WordRecord &x = w[static_cast<size_t>(a)], &y = w[static_cast<size_t>(b)];
      if (column_ == 1 && x.lngFrequency != y.lngFrequency) return x.lngFrequency > y.lngFrequency;
      return x.strSortKey != y.strSortKey ? x.strSortKey < y.strSortKey : a < b;
    });
    if (order_ == Qt::DescendingOrder) std::reverse(shown_.begin(), shown_.end());
  }

  const ExploreSnapshot* snapshot_ = nullptr;
  std::vector<int32_t> shown_;
  int column_ = 0;
  Qt::SortOrder order_ = Qt::AscendingOrder;
};

// The lines: one row per occurrence, cut only when a view asks for it.
class ExplorerLineModel : public QAbstractTableModel {
 public:
  explicit ExplorerLineModel(QObject* parent) : QAbstractTableModel(parent) {}
  void Reset(const KwicRows* rows, int width) {
    beginResetModel();
    rows_ = rows;
    width_ = width;
    cachedRow_ = -1;
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() || rows_ == nullptr ? 0 : static_cast<int>(rows_->size());
  }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 6; }
  QVariant data(const QModelIndex& index, int role) const override {
    const KwicRow& row = rows_->row(static_cast<size_t>(index.row()));
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
      if (column == 0) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      if (column == 1) return QVariant(Qt::AlignHCenter | Qt::AlignVCenter);
      return column >= 3 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                         : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role == Qt::DisplayRole) {
      switch (column) {
        case 0:
        case 2: {
          // A line of a right-to-left script reads from the right: what precedes the
          // keyword stands on its right, what follows on its left.
          const KwicCut& cut = Cut(index.row());
          const QString keyword = FromEngine(rows_->utf8(), cut.keyword);
          const bool before = (column == 0) != keyword.isRightToLeft();
          return FromEngine(rows_->utf8(), before ? cut.left : cut.right);
        }
        case 1:
          return FromEngine(rows_->utf8(), Cut(index.row()).keyword);
        case 3:
          return rows_->word(row).lngFrequency;
        case 4:
          // A PDF's lines are cited by page.
          if (rows_->paged()) return QString::fromStdString(PageLabel(rows_->PageOf(row.position)));
          return rows_->LineOf(row.position);
        default:
          return row.position;
      }
    }
    if (role == kSpansRole && column <= 2) {
      // (begin, size, level) of each sort word in this cell.
      const KwicCut& cut = Cut(index.row());
      const bool rtl = FromEngine(rows_->utf8(), cut.keyword).isRightToLeft();
      QVariantList spans;
      for (size_t level = 0; level < rows_->levels().size(); ++level) {
        const SortLevel& l = rows_->levels()[level];
        const int side = rtl ? 0 : 2;  // the column of the following context
        const int cell = l.kind == SortLevel::kLeft      ? 2 - side
                         : l.kind == SortLevel::kKeyword ? 1
                                                         : side;
        const TextSpan span = cut.sortWords[level];
        if (cell == column && span.size > 0 && l.kind != SortLevel::kPosition) {
          // The span in characters of the cell's text (UTF-16, as the painter counts).
          const std::string_view text = l.kind == SortLevel::kLeft      ? cut.left
                                        : l.kind == SortLevel::kKeyword ? cut.keyword
                                                                        : cut.right;
          const auto units = [&](size_t bytes) {
            return static_cast<int>(FromEngine(rows_->utf8(), text.substr(0, bytes)).size());
          };
          const int begin = units(span.begin);
          spans.push_back(
              QVariantList{begin, units(span.begin + span.size) - begin, static_cast<int>(level)});
        }
      }
      return spans;
    }
    return {};
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kNames[] = {"Left", "Keyword", "Right", "Frequency", "Line", "Offset"};
    if (section == 4 && rows_ != nullptr && rows_->paged()) return QStringLiteral("Page");
    return QString::fromLatin1(kNames[section]);
  }

 private:
  const KwicCut& Cut(int row) const {
    if (row != cachedRow_) {
      cached_ = rows_->Cut(rows_->row(static_cast<size_t>(row)), width_);
      cachedRow_ = row;
    }
    return cached_;
  }

  const KwicRows* rows_ = nullptr;
  int width_ = 5;
  mutable int cachedRow_ = -1;
  mutable KwicCut cached_;
};

namespace {

// Draws a context cell with the words that decide the sort in their level's colour
// (and the keyword in bold).
class LineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    if (index.column() > 2) return QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionViewItem o = option;
    initStyleOption(&o, index);
    const QString text = o.text;
    o.text.clear();
    QApplication::style()->drawControl(QStyle::CE_ItemViewItem, &o, painter);
    if (index.column() == 1 && !(o.state & QStyle::State_Selected)) {
      painter->fillRect(o.rect.adjusted(1, 1, -1, -1),
                        QColor(0xFF, 0xF1, 0xC2));  // the keyword column
    }
    QFont font = o.font;
    font.setBold(index.column() == 1);
    const QRect rect = o.rect.adjusted(3, 0, -3, 0);
    // The cell's text laid out once (right-to-left scripts too), its sort words in their
    // level's colour.
    QTextLayout layout(text, font);
    QList<QTextLayout::FormatRange> formats;
    for (const QVariant& v : index.data(kSpansRole).toList()) {
      const QVariantList span = v.toList();
      QTextLayout::FormatRange range;
      range.start = span[0].toInt();
      range.length = span[1].toInt();
      range.format.setForeground(kLevelColours[span[2].toInt()]);
      formats.push_back(range);
    }
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    const int width = static_cast<int>(std::ceil(line.naturalTextWidth()));
    const int x = index.column() == 0   ? rect.right() - width
                  : index.column() == 1 ? rect.left() + (rect.width() - width) / 2
                                        : rect.left();
    painter->save();
    painter->setClipRect(rect);
    painter->setPen(o.palette.color(o.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                     : QPalette::Text));
    layout.draw(painter, QPointF(x - line.x(), rect.top() + (rect.height() - line.height()) / 2));
    painter->restore();
  }
};

}  // namespace

ExplorerWindow::ExplorerWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmExplorer"));
  setWindowTitle(QStringLiteral("Concordance explorer"));
  wordModel_ = new ExplorerWordModel(this);
  lineModel_ = new ExplorerLineModel(this);

  filter_ = new QLineEdit(this);
  filter_->setObjectName(QStringLiteral("txbFilter"));
  filter_->setPlaceholderText(QStringLiteral("Filter: riv*  head+tail  \"a phrase\"  /regex/"));
  SetAccessible(filter_, QStringLiteral("Filter"),
                QStringLiteral("Keywords (riv* ?at 19## head+tail) or a query: /colou?r/, \"in the "
                               "beginning\", heart NEAR/4 break*, [word=\"un.*able\"] "
                               "[word=\"to\"]; Enter keeps it in the history (Ctrl+F)"));
  queryBox_ = std::make_unique<QueryBox>(filter_, this, QStringLiteral("chkFilter"), true);
  allWords_ = new QCheckBox(QStringLiteral("Show &all words"), this);
  allWords_->setObjectName(QStringLiteral("chkAllWords"));
  SetAccessible(allWords_, QString(),
                QStringLiteral("The stop words and the words under the threshold listed too"));
  words_ = new QTableView(this);
  words_->setObjectName(QStringLiteral("lstWords"));
  words_->setModel(wordModel_);
  words_->setSortingEnabled(true);
  words_->setSelectionBehavior(QAbstractItemView::SelectRows);
  words_->verticalHeader()->hide();
  words_->horizontalHeader()->setStretchLastSection(true);
  ForKeyboard(words_);
  SetAccessible(words_, QStringLiteral("Words"),
                QStringLiteral("The words listed (or the texts a query matched); the lines are "
                               "those of the selected ones (Ctrl+Shift+S: sorted by the current "
                               "cell's column)"));
  auto* left = new QVBoxLayout;
  left->addWidget(filter_);
  left->addLayout(queryBox_->OptionsLayout());
  left->addWidget(allWords_);
  left->addWidget(words_);
  auto* leftPane = new QWidget(this);
  leftPane->setLayout(left);

  width_ = new QSpinBox(this);
  width_->setObjectName(QStringLiteral("spnWidth"));
  width_->setRange(1, 20);
  SetAccessible(width_, QStringLiteral("Width"),
                QStringLiteral("The context words on each side of the keyword"));
  auto* bar = new QHBoxLayout;
  auto* widthLabel = new QLabel(QStringLiteral("&Width:"), this);
  widthLabel->setBuddy(width_);
  bar->addWidget(widthLabel);
  bar->addWidget(width_);
  auto* sortLabel = new QLabel(QStringLiteral("S&ort:"), this);
  bar->addWidget(sortLabel);
  const std::vector<SortLevel> choices = SortChoices();
  for (size_t k = 0; k < sortBar_.size(); ++k) {
    sortBar_[k] = new QComboBox(this);
    sortBar_[k]->setObjectName(QStringLiteral("cboSort%1").arg(k));
    sortBar_[k]->addItem(QStringLiteral("(none)"));
    for (const SortLevel& level : choices)
      sortBar_[k]->addItem(QString::fromStdString(SortLevelName(level)));
    SetAccessible(sortBar_[k], QStringLiteral("Sort level %1").arg(k + 1),
                  QStringLiteral("What the lines are sorted by at level %1 (Ctrl+%1)").arg(k + 1));
    bar->addWidget(sortBar_[k]);
  }
  sortLabel->setBuddy(sortBar_[0]);
  bar->addStretch(1);
  std::vector<QPushButton*> exports;
  for (const auto& [caption, format, name] :
       {std::tuple{"Export &TSV...", KwicFormat::kTsv, "cmdExportTsv"},
        std::tuple{"Export &CSV...", KwicFormat::kCsv, "cmdExportCsv"},
        std::tuple{"Export HT&ML...", KwicFormat::kHtml, "cmdExportHtml"}}) {
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    button->setObjectName(QString::fromLatin1(name));
    SetAccessible(button, QString(),
                  format == KwicFormat::kTsv
                      ? QStringLiteral("Write the lines as shown to a file (Ctrl+E)")
                      : QStringLiteral("Write the lines as shown to a file"));
    exports.push_back(button);
    bar->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, format = format] {
      const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export the lines"));
      if (!path.isEmpty()) Export(path, format);
    });
  }
  lines_ = new QTableView(this);
  lines_->setObjectName(QStringLiteral("lstLines"));
  lines_->setModel(lineModel_);
  lines_->setItemDelegate(new LineDelegate(lines_));
  lines_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lines_->setWordWrap(false);
  lines_->verticalHeader()->hide();
  lines_->verticalHeader()->setDefaultSectionSize(lines_->fontMetrics().height() + 4);
  lines_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
  lines_->setColumnWidth(0, 320);
  lines_->setColumnWidth(1, 120);
  lines_->setColumnWidth(2, 320);
  ForKeyboard(lines_);
  SetAccessible(lines_, QStringLiteral("Lines"),
                QStringLiteral("Left context, keyword, right context; Enter shows the line in the "
                               "source, Ctrl+C copies the selected lines, Ctrl+Shift+S sorts by "
                               "the current cell's column"));

  source_ = new QPlainTextEdit(this);
  source_->setObjectName(QStringLiteral("txbSource"));
  source_->setReadOnly(true);
  SetAccessible(source_, QStringLiteral("Source"),
                QStringLiteral("The document, its line of the selected row marked"));
  auto* previous = new QPushButton(QStringLiteral("&Previous"), this);
  previous->setObjectName(QStringLiteral("cmdPrevious"));
  SetAccessible(previous, QString(), QStringLiteral("The line before in the source (Shift+F3)"));
  auto* next = new QPushButton(QStringLiteral("&Next"), this);
  next->setObjectName(QStringLiteral("cmdNext"));
  SetAccessible(next, QString(), QStringLiteral("The next line in the source (F3)"));
  auto* sourceButtons = new QHBoxLayout;
  sourceLabel_ = new QLabel(QStringLiteral("Source:"), this);
  sourceLabel_->setObjectName(QStringLiteral("lblSource"));
  sourceButtons->addWidget(sourceLabel_);
  sourceButtons->addStretch(1);
  sourceButtons->addWidget(previous);
  sourceButtons->addWidget(next);
  auto* sourceLayout = new QVBoxLayout;
  sourceLayout->addLayout(sourceButtons);
  sourceLayout->addWidget(source_);
  auto* sourcePane = new QWidget(this);
  sourcePane->setLayout(sourceLayout);

  auto* right = new QSplitter(Qt::Vertical, this);
  auto* linesPane = new QWidget(this);
  auto* linesLayout = new QVBoxLayout;
  linesLayout->addLayout(bar);
  linesLayout->addWidget(lines_);
  linesPane->setLayout(linesLayout);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tabsExplorer"));
  SetAccessible(tabs_, QStringLiteral("Views"),
                QStringLiteral("Lines, Collocates, Clusters, Dispersion (Ctrl+Tab: the next)"));
  collocates_ = new CollocatesTab(this);
  clusters_ = new ClustersTab(this);
  dispersion_ = new DispersionTab(this);
  tabs_->addTab(linesPane, QStringLiteral("Lines"));
  tabs_->addTab(collocates_, QStringLiteral("Collocates"));
  tabs_->addTab(clusters_, QStringLiteral("Clusters"));
  tabs_->addTab(dispersion_, QStringLiteral("Dispersion"));
  tabs_->setTabToolTip(0, QStringLiteral("The lines of the selected words"));
  tabs_->setTabToolTip(1, QStringLiteral("The words found near the selected words"));
  tabs_->setTabToolTip(2, QStringLiteral("The sequences of words that recur"));
  tabs_->setTabToolTip(3, QStringLiteral("Where in the document the selected words occur"));
  right->addWidget(tabs_);
  right->addWidget(sourcePane);
  right->setStretchFactor(0, 3);
  right->setStretchFactor(1, 1);
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(leftPane);
  split->addWidget(right);
  split->setStretchFactor(1, 4);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("lblStatus"));
  status_->setAccessibleName(QStringLiteral("Status"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(split, 1);
  layout->addWidget(status_);
  resize(1200, 700);

  connect(filter_, &QLineEdit::textChanged, this, [this] { RefreshWords(); });
  connect(filter_, &QLineEdit::returnPressed, this, [this] { queryBox_->Remember(); });
  connect(queryBox_->caseSensitive(), &QCheckBox::toggled, this, [this] { RefreshWords(); });
  connect(queryBox_->wholeWords(), &QCheckBox::toggled, this, [this] { RefreshWords(); });
  connect(queryBox_->withinLine(), &QCheckBox::toggled, this, [this] { RefreshWords(); });
  connect(allWords_, &QCheckBox::toggled, this, [this] { RefreshWords(); });
  connect(words_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { RefreshLines(); });
  connect(width_, &QSpinBox::valueChanged, this, [this] { RefreshLines(); });
  for (QComboBox* combo : sortBar_) {
    connect(combo, &QComboBox::activated, this, [this, choices] {
      std::vector<SortLevel> levels;
      for (QComboBox* c : sortBar_) {
        if (c->currentIndex() > 0)
          levels.push_back(choices[static_cast<size_t>(c->currentIndex() - 1)]);
      }
      SetSort(levels);
    });
  }
  connect(lines_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
    if (section == 0) SetSort({{SortLevel::kLeft, 1}});
    if (section == 1) SetSort({{SortLevel::kKeyword, 0}});
    if (section == 2) SetSort({{SortLevel::kRight, 1}});
  });
  // A double-click or Enter shows the line's place in the document.
  connect(lines_, &QTableView::activated, this,
          [this](const QModelIndex& index) { ShowSource(index.row()); });
  connect(lines_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& index) { ShowSource(index.row()); });
  connect(previous, &QPushButton::clicked, this, [this] { ShowSource(sourceRow_ - 1); });
  connect(next, &QPushButton::clicked, this, [this] { ShowSource(sourceRow_ + 1); });
  auto* copy = new QShortcut(QKeySequence::Copy, lines_);
  connect(copy, &QShortcut::activated, this, [this] { CopySelection(); });
  // The frequent actions from the keyboard: the filter, the sort levels, the export of
  // the lines, the next and previous line in the source.
  const auto shortcut = [this](const QKeySequence& keys, auto action) {
    auto* s = new QShortcut(keys, this);
    s->setContext(Qt::WindowShortcut);
    connect(s, &QShortcut::activated, this, action);
  };
  shortcut(QKeySequence::Find, [this] {
    filter_->setFocus(Qt::ShortcutFocusReason);
    filter_->selectAll();
  });
  for (size_t k = 0; k < sortBar_.size(); ++k) {
    shortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + k)), [this, k] {
      tabs_->setCurrentIndex(0);
      sortBar_[k]->setFocus(Qt::ShortcutFocusReason);
    });
  }
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_E), [this, tsv = exports[0]] {
    if (auto* tab = qobject_cast<AnalysisTab*>(tabs_->currentWidget())) {
      tab->ExportClicked();
    } else {
      tsv->click();
    }
  });
  shortcut(QKeySequence(Qt::Key_F3), [this] { ShowSource(sourceRow_ + 1); });
  shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { ShowSource(sourceRow_ - 1); });
  // Tab goes through the panes in the order they are laid out.
  std::vector<QWidget*> chain = {filter_,
                                 queryBox_->caseSensitive(),
                                 queryBox_->wholeWords(),
                                 queryBox_->withinLine(),
                                 allWords_,
                                 words_,
                                 tabs_->tabBar(),
                                 width_,
                                 sortBar_[0],
                                 sortBar_[1],
                                 sortBar_[2],
                                 exports[0],
                                 exports[1],
                                 exports[2],
                                 lines_};
  // (Each tab's controls after the tab bar's; Tab passes over those of the tabs hidden.)
  for (AnalysisTab* tab : std::initializer_list<AnalysisTab*>{collocates_, clusters_, dispersion_})
    chain.insert(chain.end(), tab->chain().begin(), tab->chain().end());
  chain.insert(chain.end(), {previous, next, source_});
  ChainTabOrder(chain);
  for (AnalysisTab* tab :
       std::initializer_list<AnalysisTab*>{collocates_, clusters_, dispersion_}) {
    connect(tab, &AnalysisTab::LinesWanted, this, &ExplorerWindow::ShowLines);
    connect(tab, &AnalysisTab::SourceWanted, this, &ExplorerWindow::ShowSourceAt);
  }
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
    if (auto* tab = qobject_cast<AnalysisTab*>(tabs_->widget(index))) tab->RefreshIfStale();
  });
}

ExplorerWindow::~ExplorerWindow() {
  // The views outlive this object's members (the widgets go with the base class, and
  // ask their models for headers as they hide): the models let go of the lines and the
  // snapshots first.
  lineModel_->Reset(nullptr, 1);
  wordModel_->Reset(nullptr, {});
}

const KwicRows& ExplorerWindow::rows() const { return *rows_; }

void ExplorerWindow::Open(ExploreSnapshot snapshot) {
  lineModel_->Reset(nullptr, 1);
  snapshot_ = std::make_shared<const ExploreSnapshot>(std::move(snapshot));
  rows_ = std::make_shared<KwicRows>(snapshot_->source());
  rowsSnapshot_ = snapshot_;
  setWindowTitle(QStringLiteral("Concordance explorer - ") +
                 QString::fromStdString(FileNameOf(snapshot_->input)));
  source_->clear();  // filled when a line is first traced: a whole book takes a while to lay out
  sourceSnapshot_.reset();
  sourceRow_ = -1;
  tokens_.reset();  // made when an analysis tab first needs them
  const QSignalBlocker blockWidth(width_);
  width_->setValue(snapshot_->contextSize);
  RefreshWords();
}

void ExplorerWindow::RefreshWords() {
  if (!snapshot_) return;
  matches_.reset();
  matchSnapshot_.reset();
  if (queryBox_->UsesLanguage()) {
    query_ = ExploreQuery();
    const QSignalBlocker block(words_->selectionModel());
    if (!RefreshMatches()) {
      wordModel_->Reset(snapshot_.get(), {});
      ++generation_;  // lines being built are not wanted
      rows_ = std::make_shared<KwicRows>(snapshot_->source());
      rowsSnapshot_ = snapshot_;
      lineModel_->Reset(rows_.get(), width_->value());
      return;
    }
    words_->selectAll();
    RefreshLines();
    return;
  }
  std::string query = filter_->text().toStdString();
  if (!snapshot_->utf8) Utf8ToCp1252(filter_->text().toStdString(), &query);
  query_ = ExploreQuery(query, snapshot_->utf8);
  std::vector<int32_t> shown;
  for (int32_t i = 1; i <= snapshot_->numWords; ++i) {
    const WordRecord& r = snapshot_->words[static_cast<size_t>(i)];
    if ((allWords_->isChecked() || r.blnIncluded) &&
        (query_.empty() || query_.SelectsWord(r.strWord))) {
      shown.push_back(i);
    }
  }
  const QSignalBlocker block(words_->selectionModel());
  wordModel_->Reset(snapshot_.get(), std::move(shown));
  words_->selectAll();
  RefreshLines();
}

bool ExplorerWindow::RefreshMatches() {
  auto matches = std::make_shared<DocumentMatches>();
  std::string message;
  // The document's tokens are made at its first query (a whole book's take 20 ms).
  if (!documentTokens_ || documentTokensOf_ != snapshot_) {
    documentTokens_ = std::make_shared<const DocumentTokens>(snapshot_->text, snapshot_->utf8);
    documentTokensOf_ = snapshot_;
  }
  if (!MatchDocument(snapshot_->text, WordRuleSetOf(snapshot_->utf8),
                     filter_->text().trimmed().toStdString(), queryBox_->Options(), matches.get(),
                     &message, documentTokens_)) {
    status_->setText(QString::fromStdString(message));
    return false;
  }
  auto shown = std::make_shared<ExploreSnapshot>();
  shown->words = matches->table;
  shown->numWords = static_cast<int32_t>(matches->table.size()) - 1;
  shown->text = snapshot_->text;
  shown->utf8 = snapshot_->utf8;
  shown->contextSize = snapshot_->contextSize;
  shown->input = snapshot_->input;
  shown->pages = snapshot_->pages;
  matches_ = std::move(matches);
  matchSnapshot_ = std::move(shown);
  std::vector<int32_t> all;
  for (int32_t i = 1; i <= matchSnapshot_->numWords; ++i) all.push_back(i);
  wordModel_->Reset(matchSnapshot_.get(), std::move(all));
  return true;
}

std::vector<int32_t> ExplorerWindow::SelectedWords() const {
  QModelIndexList indexes = words_->selectionModel()->selectedRows();
  std::sort(indexes.begin(), indexes.end());
  std::vector<int32_t> selected;
  for (const QModelIndex& index : indexes) selected.push_back(wordModel_->WordAt(index.row()));
  return selected;
}

void ExplorerWindow::RefreshLines() {
  if (!snapshot_) return;
  std::vector<int32_t> selected = SelectedWords();
  // The analyses take the document's words, and a query's matches (those selected).
  AnalysisInput input{snapshot_,
                      [this, snapshot = snapshot_] {
                        if (!tokens_ || tokensSnapshot_ != snapshot) {
                          tokens_ = std::make_shared<const TokenStream>(snapshot->source());
                          tokensSnapshot_ = snapshot;
                        }
                        return tokens_;
                      },
                      matches_ ? std::vector<int32_t>() : selected, tokens_, nullptr};
  if (matches_)
    input.matches = std::make_shared<const DocumentMatches>(MatchesOf(*matches_, selected));
  for (AnalysisTab* tab :
       std::initializer_list<AnalysisTab*>{collocates_, clusters_, dispersion_}) {
    tab->SetInput(input);
  }
  // The lines are built and sorted off the interface thread, on copies of what they
  // need; only the latest request's lines are shown.
  const int width = width_->value();
  const uint64_t generation = ++generation_;
  ++pending_;
  status_->setText(QStringLiteral("Building the lines ..."));
  auto* watcher = new QFutureWatcher<std::shared_ptr<KwicRows>>(this);
  connect(watcher, &QFutureWatcherBase::finished, this,
          [this, watcher, generation, width, snapshot = Shown()] {
            watcher->deleteLater();
            --pending_;
            if (generation != generation_) {  // a newer request's lines are shown, or will be
              if (pending_ == 0) emit LinesReady();
              return;
            }
            rows_ = watcher->result();
            rowsSnapshot_ = snapshot;
            lineModel_->Reset(rows_.get(), width);
            int64_t total = 0;
            for (int32_t i = 1; i <= snapshot->numWords; ++i)
              total += snapshot->words[static_cast<size_t>(i)].lngFrequency;
            status_->setText(QStringLiteral("%1 of %2 lines")
                                 .arg(QLocale().toString(static_cast<qlonglong>(rows_->size())),
                                      QLocale().toString(static_cast<qlonglong>(total))));
            sourceRow_ = -1;
            emit LinesReady();
          });
  watcher->setFuture(QtConcurrent::run([snapshot = Shown(), selected = std::move(selected), width,
                                        query = query_, levels = levels_] {
    auto rows = std::make_shared<KwicRows>(snapshot->source());
    rows->Select(selected);
    if (!query.empty())
      rows->KeepRowsIf([&](const KwicRow& row) { return query.KeepsRow(*rows, row, width); });
    rows->Sort(levels);
    return rows;
  }));
}

void ExplorerWindow::SetSort(const std::vector<SortLevel>& levels) {
  levels_ = levels;
  if (levels_.size() > static_cast<size_t>(kMaxSortLevels)) levels_.resize(kMaxSortLevels);
  const std::vector<SortLevel> choices = SortChoices();
  for (size_t k = 0; k < sortBar_.size(); ++k) {
    int index = 0;
    if (k < levels_.size()) {
      index = 1 + static_cast<int>(std::find(choices.begin(), choices.end(), levels_[k]) -
                                   choices.begin());
    }
    sortBar_[k]->setCurrentIndex(index);
  }
  RefreshLines();
}

void ExplorerWindow::ShowSource(int row) {
  if (!rows_ || row < 0 || row >= static_cast<int>(rows_->size())) return;
  sourceRow_ = row;
  lines_->selectRow(row);
  LoadSource(rowsSnapshot_);
  const TextSpan keyword = rows_->Keyword(rows_->row(static_cast<size_t>(row)));
  MarkInSource(keyword.begin, keyword.size);
}

void ExplorerWindow::ShowSourceAt(int position, int length) {
  if (!snapshot_ || position < 1) return;
  LoadSource(snapshot_);
  MarkInSource(static_cast<size_t>(position - 1), static_cast<size_t>(length));
}

void ExplorerWindow::ShowLines(std::vector<KwicRow> lines, const QString& what) {
  if (!snapshot_) return;
  ++generation_;  // lines still being built for the word list are not wanted now
  rows_ = std::make_shared<KwicRows>(snapshot_->source());
  rows_->SetRows(std::move(lines));
  rowsSnapshot_ = snapshot_;
  lineModel_->Reset(rows_.get(), width_->value());
  sourceRow_ = -1;
  tabs_->setCurrentIndex(0);
  status_->setText(Counted(rows_->size(), "line", "lines") + QLatin1Char(' ') + what);
}

void ExplorerWindow::LoadSource(const std::shared_ptr<const ExploreSnapshot>& snapshot) {
  if (sourceSnapshot_ == snapshot) return;
  source_->setPlainText(FromEngine(snapshot->utf8, snapshot->text));
  sourceSnapshot_ = snapshot;
}

void ExplorerWindow::MarkInSource(size_t begin, size_t size) {
  // One Windows-1252 character is one character of the pane's text.
  QTextCursor cursor(source_->document());
  cursor.setPosition(static_cast<int>(begin));
  cursor.setPosition(static_cast<int>(begin + size), QTextCursor::KeepAnchor);
  QTextEdit::ExtraSelection mark;
  mark.cursor = cursor;
  mark.format.setBackground(QColor(0xFF, 0xE0, 0x8A));
  source_->setExtraSelections({mark});
  source_->setTextCursor(cursor);
  source_->centerCursor();
  // A PDF's place is its page.
  const int32_t page =
      sourceSnapshot_ ? sourceSnapshot_->pages.PageOf(static_cast<int32_t>(begin) + 1) : 0;
  sourceLabel_->setText(page > 0
                            ? QStringLiteral("Source: ") + QString::fromStdString(PageLabel(page))
                            : QStringLiteral("Source:"));
}

bool ExplorerWindow::Export(const QString& path, KwicFormat format) {
  return WriteExportFile(this, path, [&](const PieceWriter& write) {
    ExportKwic(*rows_, width_->value(), format, write);
  });
}

void ExplorerWindow::CopySelection() {
  QModelIndexList selected = lines_->selectionModel()->selectedRows();
  std::sort(selected.begin(), selected.end());
  std::vector<KwicRow> list;
  for (const QModelIndex& index : selected)
    list.push_back(rows_->row(static_cast<size_t>(index.row())));
  std::string tsv;
  ExportKwicRows(*rows_, list, width_->value(), KwicFormat::kTsv,
                 [&tsv](std::string_view piece) { tsv += piece; });
  QApplication::clipboard()->setText(QString::fromStdString(tsv));
}

}  // namespace quillmoor
