#include "gui/CorpusWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "analyses/AnalysisTable.h"
#include "gui/Accessibility.h"
#include "gui/AnalysisTabs.h"
#include "gui/QtHost.h"
#include "gui/WidgetHelpers.h"
#include "shared/FileSystem.h"
#include "ui/Corpora.h"
#include "ui/CorpusAnalyses.h"
#include "ui/CorpusLines.h"
#include "ui/CorpusQueries.h"
#include "ui/Program.h"
#include "ui/Startup.h"
#include "ui/StopWordBoxes.h"

namespace quillmoor {
namespace {

AnalysisCell Count(double v) { return {FixedNumber(v, 0), v}; }
AnalysisCell Text(const std::string& s) { return {s, 0}; }

QTableView* TableOver(AnalysisTableModel* model, const char* name, const QString& accessible,
                      const QString& description, QWidget* parent) {
  auto* view = Named(new QTableView(parent), name);
  view->setModel(model);
  view->setSortingEnabled(true);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->horizontalHeader()->setStretchLastSection(true);
  SetAccessible(
      view, accessible,
      description + QStringLiteral(" (Ctrl+Shift+S: sorted by the current cell's column)"));
  ForKeyboard(view);
  return view;
}

}  // namespace

CorpusWindow::CorpusWindow(Program& main, QWidget* parent)
    : QWidget(parent, Qt::Window), main_(main) {
  setObjectName(QStringLiteral("corpusWindow"));
  setWindowTitle(QStringLiteral("Corpora"));
  auto* layout = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  auto* lblCorpus = new QLabel(QStringLiteral("&Corpus:"), this);
  cboCorpus_ = Named(new QComboBox(this), "cboCorpus");
  cboCorpus_->setEditable(true);
  cboCorpus_->setMinimumWidth(200);
  cboCorpus_->setAccessibleName(QStringLiteral("Corpus"));
  cboCorpus_->setToolTip(QStringLiteral("A corpus of yours, or the name of a new one"));
  lblCorpus->setBuddy(cboCorpus_);
  top->addWidget(lblCorpus);
  top->addWidget(cboCorpus_, 1);
  cmdAddFiles_ = Named(new QPushButton(QStringLiteral("Add &files..."), this), "cmdAddFiles");
  cmdAddFolder_ = Named(new QPushButton(QStringLiteral("Add f&older..."), this), "cmdAddFolder");
  cmdRemove_ = Named(new QPushButton(QStringLiteral("&Remove"), this), "cmdRemove");
  cmdMetadata_ = Named(new QPushButton(QStringLiteral("&Metadata..."), this), "cmdMetadata");
  cmdBuild_ = Named(new QPushButton(QStringLiteral("&Build index"), this), "cmdBuild");
  cmdStop_ = Named(new QPushButton(QStringLiteral("S&top"), this), "cmdStop");
  cmdStop_->setEnabled(false);
  SetAccessible(cmdAddFiles_, QString(), QStringLiteral("Documents to add to the corpus"));
  SetAccessible(cmdAddFolder_, QString(),
                QStringLiteral("A folder whose documents (and its folders') are added"));
  SetAccessible(cmdBuild_, QString(),
                QStringLiteral("Index the documents added (the changed ones only, for a corpus "
                               "indexed before)"));
  SetAccessible(cmdStop_, QString(), QStringLiteral("Stop the indexing"));
  cmdRemove_->setToolTip(QStringLiteral("Leave the selected documents out of the corpus"));
  cmdMetadata_->setToolTip(
      QStringLiteral("A TSV file of the documents' metadata: its first line the columns, its "
                     "first column the file's name"));
  for (QPushButton* b :
       {cmdAddFiles_, cmdAddFolder_, cmdRemove_, cmdMetadata_, cmdBuild_, cmdStop_})
    top->addWidget(b);
  layout->addLayout(top);

  auto* filter = new QHBoxLayout;
  auto* lblWhere = new QLabel(QStringLiteral("&Where:"), this);
  txbWhere_ = Named(new QLineEdit(this), "txbWhere");
  txbWhere_->setPlaceholderText(QStringLiteral("year>=1900; genre=novel"));
  txbWhere_->setAccessibleName(QStringLiteral("Where"));
  txbWhere_->setToolTip(
      QStringLiteral("Only the documents that pass every filter (COLUMN OP VALUE, OP one of "
                     "= != >= <= > < ~), separated by semicolons"));
  lblWhere->setBuddy(txbWhere_);
  filter->addWidget(lblWhere);
  filter->addWidget(txbWhere_, 1);
  layout->addLayout(filter);

  tabs_ = Named(new QTabWidget(this), "tabsCorpus");
  SetAccessible(tabs_, QStringLiteral("Views"),
                QStringLiteral("Documents, Lines, Keywords, Analyses (Ctrl+Tab: the next)"));
  // Documents.
  documentModel_ = new AnalysisTableModel(this);
  documents_ = TableOver(documentModel_, "tblDocuments", QStringLiteral("Documents"),
                         QStringLiteral("The corpus's documents, their words and tokens, and "
                                        "whether each is indexed"),
                         this);
  tabs_->addTab(documents_, QStringLiteral("&Documents"));
  // Lines.
  auto* linesPage = new QWidget(this);
  auto* linesLayout = new QVBoxLayout(linesPage);
  auto* linesForm = new QHBoxLayout;
  auto* lblKeywords = new QLabel(QStringLiteral("&Keywords:"), linesPage);
  txbKeywords_ = Named(new QLineEdit(linesPage), "txbCorpusKeywords");
  txbKeywords_->setAccessibleName(QStringLiteral("Keywords"));
  txbKeywords_->setPlaceholderText(QStringLiteral("lov* heart  \"a phrase\"  /regex/"));
  txbKeywords_->setToolTip(QStringLiteral(
      "Keywords (lov* ?at 19##) or a query: /colou?r/, \"in the beginning\", heart NEAR/4 "
      "break*, [word=\"un.*able\"] [word=\"to\"]"));
  lblKeywords->setBuddy(txbKeywords_);
  linesQuery_ =
      std::make_unique<QueryBox>(txbKeywords_, linesPage, QStringLiteral("chkLines"), false);
  auto* lblSort = new QLabel(QStringLiteral("&Sort:"), linesPage);
  txbSort_ = Named(new QLineEdit(QStringLiteral("KW"), linesPage), "txbCorpusSort");
  txbSort_->setAccessibleName(QStringLiteral("Sort"));
  txbSort_->setToolTip(QStringLiteral("Up to three levels: L1..L5, R1..R5, KW, POS"));
  lblSort->setBuddy(txbSort_);
  auto* lblGroup = new QLabel(QStringLiteral("&Group by:"), linesPage);
  cboGroup_ = Named(new QComboBox(linesPage), "cboCorpusGroup");
  SetAccessible(cboGroup_, QStringLiteral("Group by"),
                QStringLiteral("The lines grouped by a column of the documents' metadata"));
  lblGroup->setBuddy(cboGroup_);
  cmdShowLines_ = Named(new QPushButton(QStringLiteral("Show &lines"), linesPage), "cmdShowLines");
  SetAccessible(cmdShowLines_, QString(),
                QStringLiteral("The lines of the keywords or the query in the corpus (Enter in "
                               "the box)"));
  for (QWidget* w : std::initializer_list<QWidget*>{lblKeywords, txbKeywords_, lblSort, txbSort_,
                                                    lblGroup, cboGroup_, cmdShowLines_})
    linesForm->addWidget(w);
  linesLayout->addLayout(linesForm);
  linesLayout->addLayout(linesQuery_->OptionsLayout());
  lineModel_ = new AnalysisTableModel(this);
  lines_ = TableOver(
      lineModel_, "tblCorpusLines", QStringLiteral("Lines"),
      QStringLiteral("Each line's document, left context, keyword and right context"), linesPage);
  linesLayout->addWidget(lines_);
  tabs_->addTab(linesPage, QStringLiteral("L&ines"));
  // Keywords.
  auto* keywordsPage = new QWidget(this);
  auto* keywordsLayout = new QVBoxLayout(keywordsPage);
  auto* keywordsForm = new QHBoxLayout;
  auto* lblReference = new QLabel(QStringLiteral("Refere&nce:"), keywordsPage);
  cboReference_ = Named(new QComboBox(keywordsPage), "cboReference");
  cboReference_->setEditable(true);
  cboReference_->setMinimumWidth(180);
  cboReference_->setAccessibleName(QStringLiteral("Reference"));
  cboReference_->setToolTip(
      QStringLiteral("A corpus, one document, or a word list file of word<TAB>count lines"));
  lblReference->setBuddy(cboReference_);
  cmdReferenceFile_ =
      Named(new QPushButton(QStringLiteral("Fi&le..."), keywordsPage), "cmdReferenceFile");
  SetAccessible(cmdReferenceFile_, QStringLiteral("Reference file"),
                QStringLiteral("A document or a word list file as the reference"));
  auto* lblP = new QLabel(QStringLiteral("&p:"), keywordsPage);
  spnP_ = Named(new QDoubleSpinBox(keywordsPage), "spnP");
  spnP_->setDecimals(6);
  spnP_->setRange(0.000001, 1);
  spnP_->setSingleStep(0.01);
  spnP_->setValue(0.05);
  SetAccessible(spnP_, QStringLiteral("Significance level"),
                QStringLiteral("The keywords listed are those under this p value"));
  lblP->setBuddy(spnP_);
  chkBonferroni_ =
      Named(new QCheckBox(QStringLiteral("Bonf&erroni"), keywordsPage), "chkBonferroni");
  SetAccessible(chkBonferroni_, QString(),
                QStringLiteral("The p value divided by the number of words tested"));
  chkNegative_ = Named(new QCheckBox(QStringLiteral("Ne&gative"), keywordsPage), "chkNegative");
  SetAccessible(chkNegative_, QString(),
                QStringLiteral("The words unusually rare against the reference, too"));
  cmdKeywords_ =
      Named(new QPushButton(QStringLiteral("Find &keywords"), keywordsPage), "cmdKeywords");
  SetAccessible(cmdKeywords_, QString(),
                QStringLiteral("The words of the corpus unusually frequent against the reference"));
  for (QWidget* w :
       std::initializer_list<QWidget*>{lblReference, cboReference_, cmdReferenceFile_, lblP, spnP_,
                                       chkBonferroni_, chkNegative_, cmdKeywords_})
    keywordsForm->addWidget(w);
  keywordsLayout->addLayout(keywordsForm);
  keywordModel_ = new AnalysisTableModel(this);
  keywords_ =
      TableOver(keywordModel_, "tblKeywords", QStringLiteral("Keywords"),
                QStringLiteral("The keywords with their frequencies and measures"), keywordsPage);
  keywordsLayout->addWidget(keywords_);
  tabs_->addTab(keywordsPage, QStringLiteral("Ke&ywords"));
  // Analyses.
  auto* analysesPage = new QWidget(this);
  auto* analysesLayout = new QVBoxLayout(analysesPage);
  auto* analysesForm = new QHBoxLayout;
  auto* lblAnalysis = new QLabel(QStringLiteral("&Show:"), analysesPage);
  cboAnalysis_ = Named(new QComboBox(analysesPage), "cboAnalysis");
  cboAnalysis_->addItems(
      {QStringLiteral("Collocates"), QStringLiteral("N-grams"), QStringLiteral("Dispersion")});
  SetAccessible(cboAnalysis_, QStringLiteral("Analysis"),
                QStringLiteral("Collocates, n-grams or dispersion over the corpus"));
  lblAnalysis->setBuddy(cboAnalysis_);
  auto* lblNodes = new QLabel(QStringLiteral("&Keywords:"), analysesPage);
  txbNodes_ = Named(new QLineEdit(analysesPage), "txbAnalysisKeywords");
  txbNodes_->setAccessibleName(QStringLiteral("Node words"));
  txbNodes_->setToolTip(QStringLiteral(
      "The node words (collocates and dispersion need them; n-grams without them are all "
      "of them)"));
  lblNodes->setBuddy(txbNodes_);
  analysisQuery_ =
      std::make_unique<QueryBox>(txbNodes_, analysesPage, QStringLiteral("chkAnalysis"), false);
  auto* lblSize = new QLabel(QStringLiteral("Si&ze:"), analysesPage);
  spnSize_ = Named(new QSpinBox(analysesPage), "spnNgramSize");
  spnSize_->setRange(2, 5);
  SetAccessible(spnSize_, QStringLiteral("N-gram size"), QStringLiteral("The words of an n-gram"));
  lblSize->setBuddy(spnSize_);
  cmdAnalyse_ = Named(new QPushButton(QStringLiteral("R&un"), analysesPage), "cmdAnalyse");
  SetAccessible(cmdAnalyse_, QString(),
                QStringLiteral("The analysis chosen, of the keywords (Enter in the box)"));
  for (QWidget* w : std::initializer_list<QWidget*>{lblAnalysis, cboAnalysis_, lblNodes, txbNodes_,
                                                    lblSize, spnSize_, cmdAnalyse_})
    analysesForm->addWidget(w);
  analysesLayout->addLayout(analysesForm);
  analysesLayout->addLayout(analysisQuery_->OptionsLayout());
  analysisModel_ = new AnalysisTableModel(this);
  analyses_ = TableOver(analysisModel_, "tblAnalysis", QStringLiteral("Analysis"),
                        QStringLiteral("The analysis's rows"), analysesPage);
  analysesLayout->addWidget(analyses_);
  tabs_->addTab(analysesPage, QStringLiteral("&Analyses"));
  tabs_->setTabToolTip(0, QStringLiteral("The corpus's documents"));
  tabs_->setTabToolTip(1, QStringLiteral("The concordance lines of keywords or a query"));
  tabs_->setTabToolTip(2, QStringLiteral("The corpus's keywords against a reference"));
  tabs_->setTabToolTip(3, QStringLiteral("Collocates, n-grams and dispersion over the corpus"));
  layout->addWidget(tabs_, 1);

  auto* bottom = new QHBoxLayout;
  progress_ = Named(new QProgressBar(this), "barCorpus");
  progress_->setAccessibleName(QStringLiteral("Progress"));
  progress_->setValue(0);
  lblStatus_ = Named(new QLabel(this), "lblCorpusStatus");
  lblStatus_->setAccessibleName(QStringLiteral("Status"));
  bottom->addWidget(progress_);
  bottom->addWidget(lblStatus_, 1);
  cmdExport_ = Named(new QPushButton(QStringLiteral("E&xport..."), this), "cmdCorpusExport");
  SetAccessible(
      cmdExport_, QString(),
      QStringLiteral("Write the table shown (all the lines on Lines) to a file (Ctrl+E)"));
  bottom->addWidget(cmdExport_);
  layout->addLayout(bottom);
  resize(900, 560);

  connect(cboCorpus_, &QComboBox::activated, this, [this] { Refresh(); });
  connect(cboCorpus_->lineEdit(), &QLineEdit::returnPressed, this, [this] { Refresh(); });
  connect(txbWhere_, &QLineEdit::returnPressed, this, [this] { Refresh(); });
  connect(cmdAddFiles_, &QPushButton::clicked, this, [this] { AddFiles(); });
  connect(cmdAddFolder_, &QPushButton::clicked, this, [this] { AddFolder(); });
  connect(cmdRemove_, &QPushButton::clicked, this, [this] { RemoveSelected(); });
  connect(cmdMetadata_, &QPushButton::clicked, this, [this] { ChooseMetadata(); });
  connect(cmdBuild_, &QPushButton::clicked, this, [this] { Build(); });
  connect(cmdStop_, &QPushButton::clicked, this, [this] { stop_ = true; });
  connect(cmdShowLines_, &QPushButton::clicked, this, [this] { ShowLines(); });
  connect(txbKeywords_, &QLineEdit::returnPressed, this, [this] { ShowLines(); });
  connect(cmdKeywords_, &QPushButton::clicked, this, [this] { ShowKeywords(); });
  connect(cmdAnalyse_, &QPushButton::clicked, this, [this] { ShowAnalysis(); });
  connect(txbNodes_, &QLineEdit::returnPressed, this, [this] { ShowAnalysis(); });
  connect(cmdExport_, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Export"), QString(),
        QStringLiteral("TSV (*.tsv);;CSV (*.csv);;JSON lines (*.jsonl);;HTML, lines only "
                       "(*.html);;Text (*.txt)"));
    if (!path.isEmpty()) ExportTo(path);
  });
  connect(cmdReferenceFile_, &QPushButton::clicked, this, [this] {
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Reference"));
    if (!file.isEmpty()) cboReference_->setEditText(file);
  });
  // From the keyboard: Ctrl+F goes to the box of the page shown, Ctrl+E exports.
  auto* find = new QShortcut(QKeySequence::Find, this);
  connect(find, &QShortcut::activated, this, [this] {
    QLineEdit* box = tabs_->currentIndex() == 1   ? txbKeywords_
                     : tabs_->currentIndex() == 3 ? txbNodes_
                     : tabs_->currentIndex() == 2 ? cboReference_->lineEdit()
                                                  : txbWhere_;
    box->setFocus(Qt::ShortcutFocusReason);
    box->selectAll();
  });
  auto* exportKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), this);
  connect(exportKey, &QShortcut::activated, cmdExport_, &QPushButton::click);
  // The keyboard starts at the corpus's name (as Tab goes: as the layout reads).
  cboCorpus_->setFocus();
  ChainTabOrder({cboCorpus_,
                 cmdAddFiles_,
                 cmdAddFolder_,
                 cmdRemove_,
                 cmdMetadata_,
                 cmdBuild_,
                 cmdStop_,
                 txbWhere_,
                 tabs_->tabBar(),
                 documents_,
                 txbKeywords_,
                 txbSort_,
                 cboGroup_,
                 cmdShowLines_,
                 linesQuery_->caseSensitive(),
                 linesQuery_->wholeWords(),
                 lines_,
                 cboReference_,
                 cmdReferenceFile_,
                 spnP_,
                 chkBonferroni_,
                 chkNegative_,
                 cmdKeywords_,
                 keywords_,
                 cboAnalysis_,
                 txbNodes_,
                 spnSize_,
                 cmdAnalyse_,
                 analysisQuery_->caseSensitive(),
                 analysisQuery_->wholeWords(),
                 analyses_,
                 cmdExport_});
}

CorpusWindow::~CorpusWindow() = default;

void CorpusWindow::ShowCorpus(const std::string& name) {
  const std::vector<std::string> names = CorpusNames();
  const QString typed = cboCorpus_->currentText();
  cboCorpus_->clear();
  cboReference_->clear();
  for (const std::string& n : names) {
    cboCorpus_->addItem(ToQString(n));
    cboReference_->addItem(ToQString(n));
  }
  cboCorpus_->setEditText(name.empty()
                              ? (typed.isEmpty() && !names.empty() ? ToQString(names[0]) : typed)
                              : ToQString(name));
  Refresh();
}

std::string CorpusWindow::Name() const { return FromQString(cboCorpus_->currentText().trimmed()); }

std::vector<std::string> CorpusWindow::Filters() const {
  std::vector<std::string> filters;
  for (const QString& f : txbWhere_->text().split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    if (!f.trimmed().isEmpty()) filters.push_back(FromQString(f.trimmed()));
  }
  return filters;
}

Program& CorpusWindow::Own() {
  if (own_ == nullptr) {
    own_ = std::make_unique<Program>(main_.host);
    StartProgram(*own_, main_.strProgramFolder, false);
  }
  own_->frmParams = main_.frmParams;
  own_->intMaxPermittedWordLength = main_.intMaxPermittedWordLength;
  AttemptToReadStopWords(*own_);
  return *own_;
}

void CorpusWindow::Say(const QString& text) {
  lblStatus_->setText(text);
  QApplication::processEvents();
}

void CorpusWindow::Refresh() {
  shownLines_.reset();
  open_.reset();
  AnalysisTable table;
  table.columns = {{"document", false}, {"words", true}, {"tokens", true}, {"state", false}};
  const std::string name = Name();
  std::string problem;
  auto opened = std::make_unique<OpenCorpus>();
  const bool exists = !name.empty() && FileExists(CorpusIndexFileOf(name));
  std::vector<std::string> columns;
  if (exists && OpenCorpusWith(name, Filters(), opened.get(), &problem)) {
    for (const CorpusDocument& d : opened->index.documents()) {
      for (const auto& field : d.metadata) {
        if (std::find(columns.begin(), columns.end(), field.first) == columns.end())
          columns.push_back(field.first);
      }
    }
    for (const std::string& c : columns) table.columns.push_back({c, false});
    const auto& docs = opened->index.documents();
    for (uint32_t i = 0; i < docs.size(); ++i) {
      if (!opened->subcorpus->Has(i)) continue;
      const CorpusDocument& d = docs[i];
      const bool leaving = std::find(removing_.begin(), removing_.end(), d.path) != removing_.end();
      std::vector<AnalysisCell> row = {Text(d.path), Count(d.words), Count(d.tokens),
                                       Text(leaving ? "to remove" : "indexed")};
      for (const std::string& c : columns) row.push_back(Text(d.Metadata(c)));
      table.rows.push_back(std::move(row));
    }
    Say(QStringLiteral("%1 documents, %2 words, %3 tokens")
            .arg(opened->subcorpus->documents())
            .arg(opened->subcorpus->words())
            .arg(opened->subcorpus->tokens()));
    shownLines_.reset();
    open_ = std::move(opened);
  } else if (exists) {
    Say(ToQString(problem));
  } else {
    Say(name.empty() ? QStringLiteral("Name a corpus, add files or folders, then build its index.")
                     : QStringLiteral("A new corpus: add files or folders, then build its index."));
  }
  for (const std::string& path : adding_) {
    std::vector<AnalysisCell> row = {Text(path), Count(0), Count(0), Text("to add")};
    row.resize(table.columns.size(), Text(""));
    table.rows.push_back(std::move(row));
  }
  documentModel_->Reset(std::move(table));
  cboGroup_->clear();
  cboGroup_->addItem(QStringLiteral("(none)"));
  cboGroup_->addItem(QStringLiteral("document"));
  for (const std::string& c : columns) cboGroup_->addItem(ToQString(c));
  cmdBuild_->setText(exists ? QStringLiteral("&Update index") : QStringLiteral("&Build index"));
}

void CorpusWindow::AddFiles() {
  const QStringList files = QFileDialog::getOpenFileNames(
      this, QStringLiteral("Add files"), QString(),
      QStringLiteral("Documents (*.txt *.text *.htm *.html *.xml *.docx *.pdf *.epub *.odt *.ott "
                     "*.rtf);;All files (*)"));
  std::vector<std::string> given;
  for (const QString& f : files) given.push_back(FromQString(f));
  AddDocuments(given);
}

void CorpusWindow::AddFolder() {
  const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Add folder"));
  if (!folder.isEmpty()) AddDocuments({FromQString(folder)});
}

void CorpusWindow::AddDocuments(const std::vector<std::string>& given) {
  std::vector<std::string> found;
  std::string problem;
  if (!CorpusDocumentsOf(given, &found, &problem)) {
    Say(ToQString(problem));
    return;
  }
  for (std::string& f : found) {
    if (std::find(adding_.begin(), adding_.end(), f) == adding_.end())
      adding_.push_back(std::move(f));
  }
  Refresh();
}

void CorpusWindow::RemoveSelected() {
  const QModelIndexList rows = documents_->selectionModel()->selectedRows();
  for (const QModelIndex& index : rows) {
    const size_t row = documentModel_->TableRow(index.row());
    const std::string path = documentModel_->table().rows[row][0].text;
    const auto adding = std::find(adding_.begin(), adding_.end(), path);
    if (adding != adding_.end()) {
      adding_.erase(adding);
    } else if (std::find(removing_.begin(), removing_.end(), path) == removing_.end()) {
      removing_.push_back(path);
    }
  }
  Refresh();
}

void CorpusWindow::ChooseMetadata() {
  const QString file =
      QFileDialog::getOpenFileName(this, QStringLiteral("Metadata"), QString(),
                                   QStringLiteral("TSV files (*.tsv *.txt);;All files (*)"));
  if (file.isEmpty()) return;
  metadataFile_ = FromQString(file);
  Say(QStringLiteral("The metadata of %1 go in at the next build.").arg(file));
}

void CorpusWindow::Build() {
  const std::string name = Name();
  if (name.empty() || building_) return;
  const bool exists = FileExists(CorpusIndexFileOf(name));
  if (!exists && adding_.empty()) {
    Say(QStringLiteral("Add files or folders first: a corpus holds at least one document."));
    return;
  }
  CorpusUpdate update;
  update.add = adding_;
  update.remove = removing_;
  update.metadataFile = metadataFile_;
  update.fresh = !exists;
  size_t done = 0;
  const size_t total = std::max<size_t>(
      1, (exists && open_ != nullptr ? open_->index.documents().size() : 0) + adding_.size());
  progress_->setRange(0, static_cast<int>(total));
  update.say = [this, &done](const std::string& line) {
    if (line.rfind("Scanning ", 0) == 0) progress_->setValue(static_cast<int>(++done));
    Say(ToQString(line));
  };
  update.stopRequested = [this] {
    QApplication::processEvents();
    return stop_;
  };
  building_ = true;
  stop_ = false;
  cmdStop_->setEnabled(true);
  cmdBuild_->setEnabled(false);
  std::string problem;
  shownLines_.reset();
  open_.reset();  // the old index is read afresh by the update
  const bool ok = UpdateCorpus(Own(), name, update, &problem);
  building_ = false;
  cmdStop_->setEnabled(false);
  cmdBuild_->setEnabled(true);
  progress_->setValue(progress_->maximum());
  if (ok) {
    adding_.clear();
    removing_.clear();
    metadataFile_.clear();
    ShowCorpus(name);
  } else {
    Refresh();
    Say(ToQString(problem));
  }
}

void CorpusWindow::ShowLines() {
  if (open_ == nullptr) {
    Say(QStringLiteral("Build the corpus's index first."));
    return;
  }
  std::vector<SortLevel> levels;
  if (!ParseSortLevels(FromQString(txbSort_->text().trimmed()), &levels)) {
    Say(QStringLiteral(
        "The sort takes up to three levels of L1..L5, R1..R5, KW and POS (\"R1,KW\")."));
    return;
  }
  Program& p = Own();
  TableOfCorpus(p, *open_);
  shownLines_ = std::make_unique<CorpusLines>(open_->index, *open_->subcorpus, open_->frequency);
  CorpusLines& lines = *shownLines_;
  const std::string keywords = FromQString(txbKeywords_->text().trimmed());
  std::string problem;
  if (linesQuery_->UsesLanguage()) {
    if (!FindInCorpus(*open_, keywords, linesQuery_->Options(), &lines, &problem)) {
      Say(ToQString(problem));
      return;
    }
  } else {
    lines.Select(ChosenCorpusWords(p, *open_, keywords));
  }
  linesQuery_->Remember();
  lines.Sort(levels);
  const int group = cboGroup_->currentIndex();
  if (group == 1) {
    lines.GroupBy([](const CorpusDocument& d) { return d.path; });
  } else if (group > 1) {
    const std::string column = FromQString(cboGroup_->currentText());
    lines.GroupBy([&column](const CorpusDocument& d) { return d.Metadata(column); });
  }
  // A window shows at most this many lines (the command line writes them all).
  constexpr size_t kShown = 5000;
  const size_t shown = std::min(lines.size(), kShown);
  std::vector<CorpusCut> cut;
  if (!lines.Cut(0, shown, std::max(1, p.frmMain.cboContextSize.listIndex), KeptTextsOf(*open_),
                 &cut, &problem)) {
    Say(ToQString(problem));
    return;
  }
  AnalysisTable table;
  table.columns = {
      {"document", false}, {"left", false}, {"keyword", false}, {"right", false}, {"line", true}};
  for (const CorpusCut& c : cut)
    table.rows.push_back(
        {Text(c.document), Text(c.left), Text(c.keyword), Text(c.right), Count(c.line)});
  lineModel_->Reset(std::move(table));
  Say(QStringLiteral("%1 lines%2")
          .arg(lines.size())
          .arg(lines.size() > shown ? QStringLiteral(" (the first %1 shown)").arg(shown)
                                    : QString()));
}

void CorpusWindow::ShowKeywords() {
  if (open_ == nullptr) {
    Say(QStringLiteral("Build the corpus's index first."));
    return;
  }
  KeynessOptions options;
  options.p = spnP_->value();
  options.bonferroni = chkBonferroni_->isChecked();
  options.negative = chkNegative_->isChecked();
  KeywordsResult result;
  std::string problem;
  const std::string reference = FromQString(cboReference_->currentText().trimmed());
  if (reference.empty()) {
    Say(QStringLiteral("Choose a reference: a corpus, one document or a word list file."));
    return;
  }
  if (!CorpusKeywords(Own(), *open_, reference, {}, options, &result, &problem)) {
    Say(ToQString(problem));
    return;
  }
  keywordModel_->Reset(CorpusKeywordsTable(*open_, result));
  Say(QStringLiteral("%1 keywords (%2 words against %3)")
          .arg(result.rows.size())
          .arg(result.words)
          .arg(result.referenceWords));
}

void CorpusWindow::ShowAnalysis() {
  if (open_ == nullptr) {
    Say(QStringLiteral("Build the corpus's index first."));
    return;
  }
  Program& p = Own();
  TableOfCorpus(p, *open_);
  const std::string keywords = FromQString(txbNodes_->text().trimmed());
  const int analysis = cboAnalysis_->currentIndex();
  // A query's matches are the nodes.
  const bool queried = analysisQuery_->UsesLanguage();
  CorpusLines lines(open_->index, *open_->subcorpus, open_->frequency);
  if (queried) {
    if (analysis == 1) {
      Say(QStringLiteral("N-grams take keywords, not a query: give words with wildcards."));
      return;
    }
    std::string problem;
    if (!FindInCorpus(*open_, keywords, analysisQuery_->Options(), &lines, &problem)) {
      Say(ToQString(problem));
      return;
    }
  }
  const std::vector<int32_t> nodes =
      keywords.empty() || queried ? std::vector<int32_t>() : ChosenCorpusWords(p, *open_, keywords);
  if (keywords.empty() && analysis != 1) {
    Say(QStringLiteral("Type the node words in Keywords."));
    return;
  }
  if (!keywords.empty() && nodes.empty() && lines.size() == 0) {
    Say(queried ? QStringLiteral("No result: nothing in the corpus matches the query.")
                : QStringLiteral("No result: no word of the corpus matches the keywords."));
    return;
  }
  analysisQuery_->Remember();
  const CorpusLines* matched = queried ? &lines : nullptr;
  AnalysisTable table =
      analysis == 0 ? CorpusCollocatesTable(p, *open_, nodes, CollocateWindow{}, 1,
                                            CollocationMeasure::kLogDice, matched)
      : analysis == 1
          ? CorpusNgramsTable(p, *open_, NgramOptions{spnSize_->value(), true, 1}, nodes)
          : CorpusDispersionTable(*open_, nodes, matched);
  const size_t rows = table.rows.size();
  analysisModel_->Reset(std::move(table));
  Say(QStringLiteral("%1 rows").arg(rows));
}

bool CorpusWindow::ExportTo(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  KwicFormat format = KwicFormat::kTsv;  // the format the extension names, else TSV
  ParseKwicFormat(suffix == QStringLiteral("txt") ? "text" : FromQString(suffix), &format);
  if (tabs_->currentIndex() == 1) {
    if (shownLines_ == nullptr) {
      Say(QStringLiteral("Show the lines first."));
      return false;
    }
    std::string problem;
    bool cut = true;
    const int width = std::max(1, Own().frmMain.cboContextSize.listIndex);
    const bool written = WriteExportFile(this, path, [&](const PieceWriter& write) {
      cut = shownLines_->Export(0, shownLines_->size(), width, format, KeptTextsOf(*open_), write,
                                &problem);
    });
    if (!cut) Say(ToQString(problem));
    if (written && cut)
      Say(QStringLiteral("%1 lines written to %2").arg(shownLines_->size()).arg(path));
    return written && cut;
  }
  if (format == KwicFormat::kHtml) {
    Say(QStringLiteral("A table is written as .tsv, .csv, .jsonl or .txt."));
    return false;
  }
  const AnalysisTableModel* model = tabs_->currentIndex() == 0   ? documentModel_
                                    : tabs_->currentIndex() == 2 ? keywordModel_
                                                                 : analysisModel_;
  const bool written = WriteExportFile(this, path, [&](const PieceWriter& write) {
    quillmoor::ExportTable(model->table(), format, write, &model->order());
  });
  if (written)
    Say(QStringLiteral("%1 rows written to %2").arg(model->table().rows.size()).arg(path));
  return written;
}

}  // namespace quillmoor
