#include "gui/MainWindowWidget.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

#include "gui/CorpusWindow.h"
#include "gui/ExplorerWindow.h"
#include "gui/ParametersWidget.h"
#include "gui/QtHost.h"
#include "gui/WidgetHelpers.h"
#include "ui/InputFile.h"
#include "ui/KeywordBoxes.h"
#include "ui/MainWindow.h"
#include "ui/ParametersWindow.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"
#include "ui/Settings.h"
#include "ui/Snapshot.h"
#include "ui/Timers.h"
#include "ui/Viewer.h"

namespace quillmoor {
namespace {

void Apply(QWidget* w, const Control& c) {
  w->setEnabled(c.enabled);
  w->setVisible(c.visible);
  w->setToolTip(ToQString(c.toolTip));
}

void SetText(QLineEdit* box, const std::string& text) {
  const QString q = ToQString(text);
  if (box->text() != q) box->setText(q);
}

}  // namespace

MainWindowWidget::MainWindowWidget(Program& p, QWidget* parent) : QWidget(parent), p_(p) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Quillmoor"));
  ApplyWindowLook(this);
  const QFont courier(QStringLiteral("Courier New"), 9);

  auto* grid = new QGridLayout(this);
  int row = 0;
  grid->addWidget(new QLabel(QStringLiteral("Select:"), this), row, 0);
  optCreate_ = Named(new QRadioButton(this), "optCreate");
  optSearch_ = Named(new QRadioButton(this), "optSearch");
  grid->addWidget(optCreate_, row, 1, 1, 3);
  grid->addWidget(optSearch_, ++row, 1, 1, 3);

  static const char* const kFileNames[] = {"cmdFile0", "cmdFile1", "cmdFile2"};
  static const char* const kBoxNames[] = {"txbFile0", "txbFile1", "txbFile2"};
  static const char* const kClearNames[] = {"cmdClearFile0", "cmdClearFile1", "cmdClearFile2"};
  static const char* const kViewNames[] = {"cmdViewFile0", "cmdViewFile1", "cmdViewFile2"};
  for (int i = 0; i < 3; ++i) {
    cmdFile_[i] = Named(new QPushButton(this), kFileNames[i]);
    txbFile_[i] = Named(new QLineEdit(this), kBoxNames[i]);
    txbFile_[i]->setFont(courier);
    cmdClearFile_[i] = Named(new QPushButton(this), kClearNames[i]);
    cmdViewFile_[i] = Named(new QPushButton(this), kViewNames[i]);
  }
  chkUTF8_ = Named(new QCheckBox(this), "chkUTF8");
  lblInputFilesize_ = Named(new QLabel(this), "lblInputFilesize");
  lblExtraKeywords_ = Named(new QLabel(this), "lblExtraKeywords");
  txbExtraKeywords_ = Named(new QLineEdit(this), "txbExtraKeywords");
  txbExtraKeywords_->setFont(courier);
  lblExtraKeywords_->setBuddy(txbExtraKeywords_);
  cmdClearExtraKeywords_ = Named(new QPushButton(this), "cmdClearExtraKeywords");
  lblSearchResultsFilesize_ = Named(new QLabel(this), "lblSearchResultsFilesize");

  // Input row, keywords row, extra keywords, search results row.
  ++row;
  grid->addWidget(cmdFile_[0], row, 0);
  grid->addWidget(txbFile_[0], row, 1, 1, 3);
  grid->addWidget(cmdClearFile_[0], row, 4);
  grid->addWidget(chkUTF8_, row, 5);
  grid->addWidget(lblInputFilesize_, ++row, 1, 1, 3);
  ++row;
  grid->addWidget(cmdFile_[2], row, 0);
  grid->addWidget(txbFile_[2], row, 1, 1, 3);
  grid->addWidget(cmdClearFile_[2], row, 4);
  grid->addWidget(cmdViewFile_[2], row, 5);
  ++row;
  grid->addWidget(lblExtraKeywords_, row, 0);
  grid->addWidget(txbExtraKeywords_, row, 1, 1, 3);
  grid->addWidget(cmdClearExtraKeywords_, row, 4);
  ++row;
  grid->addWidget(cmdFile_[1], row, 0);
  grid->addWidget(txbFile_[1], row, 1, 1, 3);
  grid->addWidget(cmdClearFile_[1], row, 4);
  grid->addWidget(cmdViewFile_[1], row, 5);
  grid->addWidget(lblSearchResultsFilesize_, ++row, 1, 1, 3);
  cmdViewFile_[0]->hide();

  // Options.
  cboWordOrder_ = Named(new QComboBox(this), "cboWordOrder");
  cboContextSize_ = Named(new QComboBox(this), "cboContextSize");
  chkFrequencies_ = Named(new QCheckBox(this), "chkFrequencies");
  chkShowLineBreaks_ = Named(new QCheckBox(this), "chkShowLineBreaks");
  chkCreateIndexFile_ = Named(new QCheckBox(this), "chkCreateIndexFile");
  chkWarnOnOverwrite_ = Named(new QCheckBox(this), "chkWarnOnOverwrite");
  chkSaveStateOnQuit_ = Named(new QCheckBox(this), "chkSaveStateOnQuit");
  ++row;
  grid->addWidget(new QLabel(QStringLiteral("Word order:"), this), row, 0);
  grid->addWidget(cboWordOrder_, row, 1);
  grid->addWidget(new QLabel(QStringLiteral("Context size:"), this), row, 2);
  grid->addWidget(cboContextSize_, row, 3);
  grid->addWidget(chkFrequencies_, row, 4, 1, 2);
  ++row;
  grid->addWidget(chkShowLineBreaks_, row, 0, 1, 2);
  grid->addWidget(chkWarnOnOverwrite_, row, 2, 1, 2);
  grid->addWidget(chkSaveStateOnQuit_, row, 4, 1, 2);

  // The main button and the others.
  cmdListWords_ = Named(new QPushButton(this), "cmdListWords");
  cmdSetParameters_ = Named(new QPushButton(this), "cmdSetParameters");
  cmdSaveState_ = Named(new QPushButton(this), "cmdSaveState");
  cmdHelp_ = Named(new QPushButton(this), "cmdHelp");
  cmdQuit_ = Named(new QPushButton(this), "cmdQuit");
  cmdExplore_ = Named(new QPushButton(QStringLiteral("E&xplore"), this), "cmdExplore");
  cmdExplore_->setToolTip(QStringLiteral("Sort, filter and export the concordance lines"));
  cmdCorpora_ = Named(new QPushButton(QStringLiteral("C&orpora"), this), "cmdCorpora");
  cmdCorpora_->setToolTip(
      QStringLiteral("Many documents as one: index them, list their lines and keywords"));
  ++row;
  grid->addWidget(cmdListWords_, row, 0, 1, 2);
  grid->addWidget(chkCreateIndexFile_, row, 2, 1, 2);

  txbOutput_ = Named(new QPlainTextEdit(this), "txbOutput");
  txbOutput_->setReadOnly(true);
  txbOutput_->setFont(courier);
  txbOutput_->setMinimumSize(640, 280);
  txbOutput_->setAccessibleName(QStringLiteral("Output"));
  grid->addWidget(txbOutput_, ++row, 0, 1, 6);
  grid->setRowStretch(row, 1);

  lblConcordanceFile_[0] = Named(new QLabel(this), "lblConcordanceFile0");
  lblConcordanceFile_[1] = Named(new QLabel(this), "lblConcordanceFile1");
  lblConcordanceFilesize_ = Named(new QLabel(this), "lblConcordanceFilesize");
  lblIndexFilesize_ = Named(new QLabel(this), "lblIndexFilesize");
  lblNumberOfWords_ = Named(new QLabel(this), "lblNumberOfWords");
  lblNumOccurrences_ = Named(new QLabel(this), "lblNumOccurrences");
  lblTotalNumOccurrences_ = Named(new QLabel(this), "lblTotalNumOccurrences");
  lblTimeElapsed_ = Named(new QLabel(this), "lblTimeElapsed");
  lblTwirler_ = Named(new QLabel(this), "lblTwirler");  // the activity indicator
  ++row;
  grid->addWidget(lblConcordanceFile_[0], row, 0);
  grid->addWidget(lblConcordanceFile_[1], row, 1, 1, 3);
  grid->addWidget(lblConcordanceFilesize_, row, 4, 1, 2);
  ++row;
  grid->addWidget(lblNumberOfWords_, row, 0);
  grid->addWidget(lblNumOccurrences_, row, 1);
  grid->addWidget(lblTotalNumOccurrences_, row, 2, 1, 2);
  grid->addWidget(lblTimeElapsed_, row, 4);
  grid->addWidget(lblIndexFilesize_, row, 5);
  grid->addWidget(lblTwirler_, row, 5, Qt::AlignRight);

  lblOnlineDocumentation_ =
      Named(new QLabel(QStringLiteral("<a href=\"#\">Online user manual</a>"), this),
            "lblOnlineDocumentation");
  // The last row: the manual's link and Settings, Save, Help, Quit. The window's
  // height is the top of Quit plus 1200 twips (80 pixels): the margin below the row
  // makes it so at any size.
  ++row;
  grid->addWidget(lblOnlineDocumentation_, row, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b :
       {cmdExplore_, cmdCorpora_, cmdSetParameters_, cmdSaveState_, cmdHelp_, cmdQuit_})
    buttons->addWidget(b);
  grid->addLayout(buttons, row, 2, 1, 4);
  const QMargins margins = grid->contentsMargins();
  grid->setContentsMargins(margins.left(), margins.top(), margins.right(),
                           std::max(0, 1200 / 15 - cmdQuit_->sizeHint().height()));

  // The viewer window (help text).
  viewer_ = new QWidget(this, Qt::Window);
  viewer_->setObjectName(QStringLiteral("frmView"));
  viewerText_ = Named(new QPlainTextEdit(viewer_), "txbText1");
  viewerText_->setReadOnly(true);
  viewerText_->setFont(courier);
  viewerClose_ = Named(new QPushButton(viewer_), "cmdClose");
  auto* viewerLayout = new QGridLayout(viewer_);
  viewerLayout->addWidget(viewerText_, 0, 0, 1, 3);
  viewerLayout->addWidget(viewerClose_, 1, 1);
  connect(viewerClose_, &QPushButton::clicked, this,
          [this] { Handle([this] { cmdClose_Click(p_); }); });

  // Events: copy the widgets into the model, run the handler, copy the model back.
  connect(cmdHelp_, &QPushButton::clicked, this, [this] { Handle([this] { cmdHelp_Click(p_); }); });
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, [this] { Handle([this] { cmdHelp_Click(p_); }); });
  for (int i : {1, 2}) {
    connect(cmdViewFile_[i], &QPushButton::clicked, this,
            [this, i] { Handle([this, i] { cmdViewFile_Click(p_, i); }); });
  }
  connect(lblOnlineDocumentation_, &QLabel::linkActivated, this,
          [this] { Handle([this] { lblOnlineDocumentation_Click(p_); }); });
  connect(optCreate_, &QRadioButton::clicked, this,
          [this] { Handle([this] { optCreate_Click(p_); }); });
  connect(optSearch_, &QRadioButton::clicked, this,
          [this] { Handle([this] { optSearch_Click(p_); }); });
  for (int i = 0; i < 3; ++i) {
    connect(cmdFile_[i], &QPushButton::clicked, this,
            [this, i] { Handle([this, i] { SelectFile(p_, i); }); });
    connect(cmdClearFile_[i], &QPushButton::clicked, this,
            [this, i] { Handle([this, i] { cmdClearFile_Click(p_, i); }); });
    connect(txbFile_[i], &QLineEdit::editingFinished, this,
            [this, i] { Handle([this, i] { InputFileLostFocus(p_, i); }); });
  }
  // Leaving the box, or Enter in it, takes the extra keywords.
  connect(txbExtraKeywords_, &QLineEdit::editingFinished, this,
          [this] { Handle([this] { txbExtraKeywords_LostFocus(p_); }); });
  connect(cmdClearExtraKeywords_, &QPushButton::clicked, this,
          [this] { Handle([this] { cmdClearExtraKeywords_Click(p_); }); });
  connect(cboWordOrder_, &QComboBox::activated, this,
          [this] { Handle([this] { cboWordOrder_Click(p_); }); });
  connect(cboContextSize_, &QComboBox::activated, this,
          [this] { Handle([this] { cboContextSize_Click(p_); }); });
  connect(chkFrequencies_, &QCheckBox::clicked, this,
          [this] { Handle([this] { chkFrequencies_Click(p_); }); });
  connect(chkShowLineBreaks_, &QCheckBox::clicked, this,
          [this] { Handle([this] { chkShowLineBreaks_Click(p_); }); });
  connect(cmdListWords_, &QPushButton::clicked, this, [this] {
    Handle([this] { cmdListWords_Click(p_); });
    // An open explorer follows the new run's words.
    if (explorer_ != nullptr && explorer_->isVisible() && ExplorerAvailable(p_))
      explorer_->Open(TakeExploreSnapshot(p_));
  });
  connect(cmdExplore_, &QPushButton::clicked, this, [this] { OpenExplorer(); });
  connect(cmdCorpora_, &QPushButton::clicked, this, [this] {
    if (corpora_ == nullptr) corpora_ = new CorpusWindow(p_, this);
    corpora_->ShowCorpus("");
    corpora_->show();
    corpora_->raise();
  });
  connect(cmdQuit_, &QPushButton::clicked, this, [this] { Handle([this] { cmdQuit_Click(p_); }); });
  connect(cmdSaveState_, &QPushButton::clicked, this,
          [this] { Handle([this] { cmdSaveState_Click(p_); }); });
  connect(cmdSetParameters_, &QPushButton::clicked, this, [this] { ShowParameters(); });

  timer1_ = new QTimer(this);
  timer2_ = new QTimer(this);
  connect(timer1_, &QTimer::timeout, this, [this] { Handle([this] { Timer1_Timer(p_); }); });
  connect(timer2_, &QTimer::timeout, this, [this] {
    Timer2_Timer(p_);
    PushModel();
  });
  timer1_->start(1000);
  timer2_->start(1000);
  PushModel();
}

template <typename Handler>
void MainWindowWidget::Handle(Handler handler) {
  if (pushing_) return;
  PullModel();
  handler();
  PushModel();
}

void MainWindowWidget::PullModel() {
  MainControls& m = p_.frmMain;
  constexpr int kTwips = 15;  // twips to a pixel
  const QRect frame = frameGeometry();
  m.left = frame.left() * kTwips;
  m.top = frame.top() * kTwips;
  m.width = frame.width() * kTwips;
  m.height = frame.height() * kTwips;
  if (const QScreen* screen = this->screen()) {
    m.screenWidth = screen->availableGeometry().width() * kTwips;
    m.screenHeight = screen->availableGeometry().height() * kTwips;
  }
  for (int i = 0; i < 3; ++i) m.txbFile[i].text = FromQString(txbFile_[i]->text());
  m.txbExtraKeywords.text = FromQString(txbExtraKeywords_->text());
  m.optCreate.value = optCreate_->isChecked();
  m.optSearch.value = optSearch_->isChecked();
  m.chkUTF8[0].value = chkUTF8_->isChecked() ? 1 : 0;
  m.chkFrequencies.value = chkFrequencies_->isChecked() ? 1 : 0;
  m.chkShowLineBreaks.value = chkShowLineBreaks_->isChecked() ? 1 : 0;
  m.chkCreateIndexFile.value = chkCreateIndexFile_->isChecked() ? 1 : 0;
  m.chkWarnOnOverwrite.value = chkWarnOnOverwrite_->isChecked() ? 1 : 0;
  m.chkSaveStateOnQuit.value = chkSaveStateOnQuit_->isChecked() ? 1 : 0;
  m.cboWordOrder.listIndex = cboWordOrder_->currentIndex();
  m.cboContextSize.listIndex = cboContextSize_->currentIndex();
}

void MainWindowWidget::OpenExplorer() {
  if (!ExplorerAvailable(p_)) return;
  if (explorer_ == nullptr) explorer_ = new ExplorerWindow(this);
  explorer_->Open(TakeExploreSnapshot(p_));
  explorer_->show();
  explorer_->raise();
}

void MainWindowWidget::PushModel() {
  pushing_ = true;
  const MainControls& m = p_.frmMain;
  cmdExplore_->setEnabled(ExplorerAvailable(p_));
  optCreate_->setText(ToQString(m.optCreate.caption));
  optCreate_->setChecked(m.optCreate.value);
  optSearch_->setText(ToQString(m.optSearch.caption));
  optSearch_->setChecked(m.optSearch.value);
  Apply(optCreate_, m.optCreate);
  Apply(optSearch_, m.optSearch);
  for (int i = 0; i < 3; ++i) {
    cmdFile_[i]->setText(ToQString(m.cmdFile[i].caption));
    Apply(cmdFile_[i], m.cmdFile[i]);
    SetText(txbFile_[i], m.txbFile[i].text);
    // (A box's name is its button's caption.)
    txbFile_[i]->setAccessibleName(ToQString(m.cmdFile[i].caption).remove(QLatin1Char('&')));
    Apply(txbFile_[i], m.txbFile[i]);
    cmdClearFile_[i]->setText(ToQString(m.cmdClearFile[i].caption));
    Apply(cmdClearFile_[i], m.cmdClearFile[i]);
    if (i > 0) {
      cmdViewFile_[i]->setText(ToQString(m.cmdViewFile[i].caption));
      Apply(cmdViewFile_[i], m.cmdViewFile[i]);
    }
  }
  auto check = [](QCheckBox* box, const CheckBox& c) {
    box->setText(ToQString(c.caption));
    box->setChecked(c.checked());
    Apply(box, c);
  };
  check(chkUTF8_, m.chkUTF8[0]);
  check(chkFrequencies_, m.chkFrequencies);
  check(chkShowLineBreaks_, m.chkShowLineBreaks);
  check(chkCreateIndexFile_, m.chkCreateIndexFile);
  check(chkWarnOnOverwrite_, m.chkWarnOnOverwrite);
  check(chkSaveStateOnQuit_, m.chkSaveStateOnQuit);
  auto label = [](QLabel* l, const Label& c) {
    l->setText(ToQString(c.caption));
    Apply(l, c);
    l->setAlignment(c.alignment == Alignment::kRight ? Qt::AlignRight | Qt::AlignVCenter
                                                     : Qt::AlignLeft | Qt::AlignVCenter);
    QFont f(ToQString(c.fontName), c.fontSize);
    f.setBold(c.bold);
    l->setFont(f);
  };
  label(lblInputFilesize_, m.lblInputFilesize);
  label(lblExtraKeywords_, m.lblExtraKeywords);
  label(lblSearchResultsFilesize_, m.lblSearchResultsFilesize);
  label(lblConcordanceFile_[0], m.lblConcordanceFile[0]);
  label(lblConcordanceFile_[1], m.lblConcordanceFile[1]);
  label(lblConcordanceFilesize_, m.lblConcordanceFilesize);
  label(lblIndexFilesize_, m.lblIndexFilesize);
  label(lblNumberOfWords_, m.lblNumberOfWords);
  label(lblNumOccurrences_, m.lblNumOccurrences);
  label(lblTotalNumOccurrences_, m.lblTotalNumOccurrences);
  label(lblTimeElapsed_, m.lblTimeElapsed);
  label(lblTwirler_, m.lblTwirler);
  SetText(txbExtraKeywords_, m.txbExtraKeywords.text);
  Apply(txbExtraKeywords_, m.txbExtraKeywords);
  cmdClearExtraKeywords_->setText(ToQString(m.cmdClearExtraKeywords.caption));
  Apply(cmdClearExtraKeywords_, m.cmdClearExtraKeywords);
  auto list = [](QComboBox* box, const ComboBox& c) {
    if (box->count() != static_cast<int>(c.items.size())) {
      box->clear();
      for (const std::string& item : c.items) box->addItem(ToQString(item));
    }
    box->setCurrentIndex(c.listIndex);
    Apply(box, c);
  };
  list(cboWordOrder_, m.cboWordOrder);
  list(cboContextSize_, m.cboContextSize);
  for (auto [button, control] :
       {std::pair{cmdListWords_, &m.cmdListWords},
        std::pair{cmdSetParameters_, &m.cmdSetParameters},
        std::pair{cmdSaveState_, &m.cmdSaveState}, std::pair{cmdHelp_, &m.cmdHelp},
        std::pair{cmdQuit_, &m.cmdQuit}}) {
    button->setText(ToQString(control->caption));
    Apply(button, *control);
  }
  const QString output = ToQString(m.txbOutput.text);
  if (txbOutput_->toPlainText() != output) txbOutput_->setPlainText(output);
  txbOutput_->setEnabled(m.txbOutput.enabled);
  const ViewControls& v = p_.frmView;
  viewer_->setWindowTitle(ToQString(v.caption));
  viewerText_->setAccessibleName(ToQString(v.caption));  // (the text the window is named for)
  viewerClose_->setText(ToQString(v.cmdClose.caption));
  const QString viewText = ToQString(v.txbText1.text);
  if (viewerText_->toPlainText() != viewText) viewerText_->setPlainText(viewText);
  ShowViewer(v.visible);
  // The control the model gives the focus to.
  if (m.focus != focus_) {
    focus_ = m.focus;
    if (focus_ == "cmdFile0") cmdFile_[0]->setFocus();
    if (focus_ == "cmdListWords") cmdListWords_->setFocus();
  }
  pushing_ = false;
}

void MainWindowWidget::ShowViewer(bool visible) {
  if (visible && !viewer_->isVisible()) {
    constexpr int kTwips = 15;
    const ViewControls& v = p_.frmView;
    move(p_.frmMain.left / kTwips, pos().y());
    viewer_->setGeometry(v.left / kTwips, v.top / kTwips, std::max(v.width, 4000) / kTwips,
                         std::max(v.height, 3000) / kTwips);
    viewer_->show();
    viewer_->raise();
  } else if (!visible && viewer_->isVisible()) {
    viewer_->hide();
  }
}

void MainWindowWidget::ShowParameters() {
  if (parameters_ == nullptr) {
    parameters_ = new ParametersWidget(
        p_, [this] { PushModel(); }, this);
  }
  parameters_->PushModel();
  // Below the main window's right end: top = main top + main height - own height + 300
  // twips, left = main left + main width - own width + 400 twips (15 twips a pixel).
  const QRect main = frameGeometry();
  int top = main.top() + main.height() - parameters_->height() + 20;
  if (const QScreen* s = screen())
    top = std::min(top, s->availableGeometry().bottom() - parameters_->height());
  parameters_->move(main.left() + main.width() - parameters_->width() + 27, top);
  parameters_->show();
  parameters_->raise();
  // Activate: the focus to Close when it can take it.
  FocusIfAvailable(p_.frmParams.focus, p_.frmParams.cmdClose, "cmdClose");
  parameters_->PushModel();
}

void MainWindowWidget::closeEvent(QCloseEvent* event) {
  Handle([this] { cmdQuit_Click(p_); });
  event->accept();
}

}  // namespace quillmoor
