#include "gui/ParametersWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/QtHost.h"
#include "gui/WidgetHelpers.h"
#include "ui/Defaults.h"
#include "ui/ParametersWindow.h"
#include "ui/Program.h"
#include "ui/StopWordBoxes.h"
#include "ui/TextChoices.h"

namespace quillmoor {
ParametersWidget::ParametersWidget(Program& p, std::function<void()> refreshMain, QWidget* parent)
    : QWidget(parent, Qt::Window), p_(p), refreshMain_(std::move(refreshMain)) {
  setObjectName(QStringLiteral("frmParams"));
  setWindowTitle(ToQString(p.frmMain.cmdSetParameters.caption));
  ApplyWindowLook(this);
  const QFont courier(QStringLiteral("Courier New"), 9);

  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout();
  outer->addLayout(grid);
  int row = 0;
  grid->addWidget(new QLabel(QStringLiteral("Allow 'words' with:"), this), row, 0);
  chkAllowWordsWithHyphens_ =
      Named(new QCheckBox(QStringLiteral("hyphens -"), this), "chkAllowWordsWithHyphens");
  chkAllowWordsWithNumerals_ =
      Named(new QCheckBox(QStringLiteral("numerals"), this), "chkAllowWordsWithNumerals");
  grid->addWidget(chkAllowWordsWithHyphens_, row, 1);
  grid->addWidget(chkAllowWordsWithNumerals_, row, 2);
  grid->addWidget(new QLabel(QStringLiteral("Numbers are not regarded as words."), this), ++row, 1,
                  1, 3);
  chkIgnoreInfrequentWords_ =
      Named(new QCheckBox(QStringLiteral("Ignore words with fewer than"), this),
            "chkIgnoreInfrequentWords");
  cboThresholdFrequency_ = Named(new QComboBox(this), "cboThresholdFrequency");
  grid->addWidget(chkIgnoreInfrequentWords_, ++row, 0, 1, 2);
  grid->addWidget(cboThresholdFrequency_, row, 2);
  grid->addWidget(new QLabel(QStringLiteral("occurrences"), this), row, 3);
  chkWindowsText_ =
      Named(new QCheckBox(
                QStringLiteral("Write output files as Windows text (Windows-1252, CR LF)"), this),
            "chkWindowsText");
  chkWindowsText_->setToolTip(QStringLiteral(
      "Concordance and search-results files are UTF-8 with LF line ends unless this is checked."));
  grid->addWidget(chkWindowsText_, ++row, 0, 1, 4);
  // How a document's text is read and put in order.
  const auto combo = [this](const char* name, const QString& first,
                            const std::vector<std::string>& items) {
    auto* box = Named(new QComboBox(this), name);
    if (!first.isEmpty()) box->addItem(first);
    for (const std::string& item : items) box->addItem(ToQString(item));
    return box;
  };
  cboWordRules_ = combo("cboWordRules", QString(), WordRulesChoices());
  cboWordRules_->setToolTip(QStringLiteral(
      "automatic: the Unicode word rules for a text with characters beyond Windows-1252"));
  cboEncoding_ = combo("cboEncoding", QStringLiteral("automatic"), EncodingChoices());
  cboEncoding_->setToolTip(
      QStringLiteral("automatic: UTF-8 when the text is valid UTF-8, else Windows-1252"));
  cboSortLanguage_ = combo("cboSortLanguage", QStringLiteral("default"), SortLanguageChoices());
  cboSortLanguage_->setToolTip(
      QStringLiteral("The language whose alphabetical order the lists follow"));
  grid->addWidget(new QLabel(QStringLiteral("Word rules:"), this), ++row, 0);
  grid->addWidget(cboWordRules_, row, 1);
  grid->addWidget(new QLabel(QStringLiteral("Encoding:"), this), row, 2);
  grid->addWidget(cboEncoding_, row, 3);
  grid->addWidget(new QLabel(QStringLiteral("Alphabetical order:"), this), ++row, 0);
  grid->addWidget(cboSortLanguage_, row, 1);

  // The stop-word controls.
  auto* stopWords = Named(new QGroupBox(this), "fraIgnoreTheseWords");
  outer->addWidget(stopWords);
  grid = new QGridLayout(stopWords);
  row = 0;
  auto* stopWordsFileLabel =
      Named(new QLabel(QStringLiteral("Stop words file:"), stopWords), "Label1");
  grid->addWidget(stopWordsFileLabel, row, 0);
  txbStopWordsFile_ = Named(new QLineEdit(stopWords), "txbStopWordsFile");
  stopWordsFileLabel->setBuddy(txbStopWordsFile_);  // (its name for a screen reader)
  txbStopWordsFile_->setFont(courier);
  grid->addWidget(txbStopWordsFile_, row, 1, 1, 3);
  auto* clear = Named(new QPushButton(QStringLiteral("Clear"), stopWords), "cmdClearStopWordsFile");
  cmdListStopWords_ = Named(new QPushButton(QStringLiteral("List"), stopWords), "cmdListStopWords");
  grid->addWidget(clear, ++row, 1);
  grid->addWidget(cmdListStopWords_, row, 2);
  auto* byLanguage = Named(
      new QPushButton(QStringLiteral("Select file of stop words in some language"), stopWords),
      "cmdSelectStopWordsFile1");
  byLanguage->setToolTip(QStringLiteral(
      "This is for a file containing words in some language which are to be ignored."));
  auto* other =
      Named(new QPushButton(QStringLiteral("Select some other stop words file"), stopWords),
            "cmdSelectStopWordsFile0");
  other->setToolTip(
      QStringLiteral("This is for a file containing stop words (words which should be ignored)."));
  grid->addWidget(byLanguage, ++row, 0, 1, 2);
  grid->addWidget(other, row, 2, 1, 2);
  auto* extraLabel =
      Named(new QLabel(QStringLiteral("Extra stop words:"), stopWords), "lblIgnoreTheseWords");
  grid->addWidget(extraLabel, ++row, 0);
  txbExtraStopWords_ = Named(new QLineEdit(stopWords), "txbExtraStopWords");
  extraLabel->setBuddy(txbExtraStopWords_);
  txbExtraStopWords_->setFont(courier);
  txbExtraStopWords_->setToolTip(QStringLiteral(
      "Add additional stop words here.  Words must be separated by spaces, not commas."));
  grid->addWidget(txbExtraStopWords_, row, 1, 1, 2);
  auto* clearExtra =
      Named(new QPushButton(QStringLiteral("Clear"), stopWords), "cmdClearExtraStopWords");
  grid->addWidget(clearExtra, row, 3);

  // The settings-file controls.
  frame5_ = Named(new QGroupBox(this), "Frame5");
  outer->addWidget(frame5_);
  grid = new QGridLayout(frame5_);
  row = 0;
  auto* save =
      Named(new QPushButton(QStringLiteral("Save settings to file"), frame5_), "cmdSaveLoadState0");
  auto* load = Named(new QPushButton(QStringLiteral("Load settings from file"), frame5_),
                     "cmdSaveLoadState1");
  grid->addWidget(save, row, 0, 1, 2);
  grid->addWidget(load, row, 2, 1, 2);
  lblParameters_ = Named(new QLabel(frame5_), "lblParameters");
  txbParametersFile_ = Named(new QLineEdit(frame5_), "txbParametersFile");
  txbParametersFile_->setFont(courier);
  txbParametersFile_->setReadOnly(true);
  // The box keeps its place while hidden, so the window's height does not change.
  QSizePolicy keep = txbParametersFile_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  txbParametersFile_->setSizePolicy(keep);
  grid->addWidget(lblParameters_, ++row, 0);
  grid->addWidget(txbParametersFile_, row, 1, 1, 3);

  // Below the settings-file frame 600 twips (40 pixels) hold the last row of buttons.
  constexpr int kBelowFrame5 = 600 / 15;
  outer->setContentsMargins(outer->contentsMargins().left(), outer->contentsMargins().top(),
                            outer->contentsMargins().right(), 0);
  auto* buttonRow = new QWidget(this);
  buttonRow->setFixedHeight(kBelowFrame5 - outer->spacing());
  outer->addWidget(buttonRow);
  auto* buttons = new QHBoxLayout(buttonRow);
  buttons->setContentsMargins(0, 0, 0, 0);
  auto* reinitialize =
      Named(new QPushButton(QStringLiteral("Reinitialize"), buttonRow), "cmdInitialize");
  auto* close = Named(new QPushButton(QStringLiteral("Close"), buttonRow), "cmdClose");
  auto* quit = Named(new QPushButton(QStringLiteral("Quit"), buttonRow), "cmdQuit");
  buttons->addWidget(reinitialize);
  buttons->addStretch(1);
  buttons->addWidget(close);
  buttons->addWidget(quit);

  connect(clear, &QPushButton::clicked, this,
          [this] { Handle([this] { cmdClearStopWordsFile_Click(p_); }); });
  connect(cmdListStopWords_, &QPushButton::clicked, this,
          [this] { Handle([this] { cmdListStopWords_Click(p_); }); });
  connect(byLanguage, &QPushButton::clicked, this,
          [this] { Handle([this] { cmdSelectLanguageStopWords_Click(p_); }); });
  connect(other, &QPushButton::clicked, this,
          [this] { Handle([this] { cmdSelectOtherStopWords_Click(p_); }); });
  connect(txbStopWordsFile_, &QLineEdit::editingFinished, this,
          [this] { Handle([this] { txbStopWordsFile_LostFocus(p_); }); });
  connect(txbExtraStopWords_, &QLineEdit::editingFinished, this,
          [this] { Handle([this] { txbExtraStopWords_LostFocus(p_); }); });
  connect(clearExtra, &QPushButton::clicked, this,
          [this] { Handle([this] { cmdClearExtraStopWords_Click(p_); }); });
  connect(save, &QPushButton::clicked, this,
          [this] { Handle([this] { cmdSaveLoadState_Click(p_, 0); }); });
  connect(load, &QPushButton::clicked, this,
          [this] { Handle([this] { cmdSaveLoadState_Click(p_, 1); }); });
  connect(reinitialize, &QPushButton::clicked, this,
          [this] { Handle([this] { cmdInitialize_Click(p_); }); });
  connect(close, &QPushButton::clicked, this, [this] {
    Handle([this] { cmdCloseParameters_Click(p_); });
    hide();
  });
  connect(quit, &QPushButton::clicked, this,
          [this] { Handle([this] { cmdQuitParameters_Click(p_); }); });
  for (QCheckBox* box : {chkAllowWordsWithHyphens_, chkAllowWordsWithNumerals_}) {
    connect(box, &QCheckBox::clicked, this,
            [this] { Handle([this] { chkWordOption_Click(p_); }); });
  }
  connect(chkWindowsText_, &QCheckBox::clicked, this, [this] { Handle([] {}); });
  for (QComboBox* box : {cboWordRules_, cboEncoding_, cboSortLanguage_}) {
    connect(box, &QComboBox::activated, this, [this] { Handle([] {}); });
  }
  connect(chkIgnoreInfrequentWords_, &QCheckBox::clicked, this,
          [this] { Handle([this] { chkThreshold_Click(p_); }); });
  connect(cboThresholdFrequency_, &QComboBox::activated, this,
          [this] { Handle([this] { chkThreshold_Click(p_); }); });
  close_ = close;
  // Load: no status yet, the settings-file box empty and hidden, the stop-word file shown.
  p_.frmParams.lblParameters.caption.clear();
  p_.frmParams.txbParametersFile.text.clear();
  p_.frmParams.txbParametersFile.visible = false;
  p_.frmParams.txbStopWordsFile.text = p_.strStopWordsFile;
  PushModel();
  FitHeight();
}

void ParametersWidget::FitHeight() {
  // The window's height: the bottom of the settings-file frame plus 600 twips.
  adjustSize();
  layout()->activate();
  setFixedHeight(frame5_->geometry().bottom() + 1 + 600 / 15);
}

template <typename Handler>
void ParametersWidget::Handle(Handler handler) {
  if (pushing_) return;
  PullModel();
  handler();
  PushModel();
  if (refreshMain_) refreshMain_();
}

void ParametersWidget::PullModel() {
  ParamsControls& s = p_.frmParams;
  s.chkAllowWordsWithHyphens.value = chkAllowWordsWithHyphens_->isChecked() ? 1 : 0;
  s.chkAllowWordsWithNumerals.value = chkAllowWordsWithNumerals_->isChecked() ? 1 : 0;
  s.chkIgnoreInfrequentWords.value = chkIgnoreInfrequentWords_->isChecked() ? 1 : 0;
  s.chkWindowsText.value = chkWindowsText_->isChecked() ? 1 : 0;
  s.cboThresholdFrequency.listIndex = cboThresholdFrequency_->currentIndex();
  s.strWordRules = FromQString(cboWordRules_->currentText());
  s.strEncoding = cboEncoding_->currentIndex() <= 0 ? "" : FromQString(cboEncoding_->currentText());
  s.strSortLanguage =
      cboSortLanguage_->currentIndex() <= 0 ? "" : FromQString(cboSortLanguage_->currentText());
  s.txbStopWordsFile.text = FromQString(txbStopWordsFile_->text());
  s.txbExtraStopWords.text = FromQString(txbExtraStopWords_->text());
}

void ParametersWidget::PushModel() {
  pushing_ = true;
  const ParamsControls& s = p_.frmParams;
  chkAllowWordsWithHyphens_->setChecked(s.chkAllowWordsWithHyphens.checked());
  chkAllowWordsWithNumerals_->setChecked(s.chkAllowWordsWithNumerals.checked());
  chkIgnoreInfrequentWords_->setChecked(s.chkIgnoreInfrequentWords.checked());
  chkWindowsText_->setChecked(s.chkWindowsText.checked());
  if (cboThresholdFrequency_->count() != static_cast<int>(s.cboThresholdFrequency.items.size())) {
    cboThresholdFrequency_->clear();
    for (const std::string& item : s.cboThresholdFrequency.items)
      cboThresholdFrequency_->addItem(ToQString(item));
  }
  cboThresholdFrequency_->setCurrentIndex(s.cboThresholdFrequency.listIndex);
  cboWordRules_->setCurrentIndex(std::max(0, cboWordRules_->findText(ToQString(s.strWordRules))));
  // An encoding named elsewhere by another of its names joins the list.
  if (!s.strEncoding.empty() && cboEncoding_->findText(ToQString(s.strEncoding)) < 0) {
    cboEncoding_->addItem(ToQString(s.strEncoding));
  }
  cboEncoding_->setCurrentIndex(
      s.strEncoding.empty() ? 0 : cboEncoding_->findText(ToQString(s.strEncoding)));
  cboSortLanguage_->setCurrentIndex(
      s.strSortLanguage.empty()
          ? 0
          : std::max(0, cboSortLanguage_->findText(ToQString(s.strSortLanguage))));
  if (txbStopWordsFile_->text() != ToQString(s.txbStopWordsFile.text))
    txbStopWordsFile_->setText(ToQString(s.txbStopWordsFile.text));
  txbStopWordsFile_->setToolTip(ToQString(s.txbStopWordsFile.toolTip));
  if (txbExtraStopWords_->text() != ToQString(s.txbExtraStopWords.text)) {
    txbExtraStopWords_->setText(ToQString(s.txbExtraStopWords.text));
  }
  lblParameters_->setText(ToQString(s.lblParameters.caption));
  txbParametersFile_->setText(ToQString(s.txbParametersFile.text));
  txbParametersFile_->setVisible(s.txbParametersFile.visible);
  cmdListStopWords_->setEnabled(s.cmdListStopWords.enabled);
  if (s.focus == "cmdClose" && close_ != nullptr && isVisible()) close_->setFocus();
  pushing_ = false;
}

}  // namespace quillmoor
