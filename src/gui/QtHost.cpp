#include "gui/QtHost.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <cstdlib>

#include "ui/ParametersWindow.h"

namespace quillmoor {

QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQString(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

MsgResult QtHost::ShowMessage(const MessageBox& box) {
  if (unattended_) {
    if (hasUnattendedAnswer_ && box.buttons != MsgButtons::kOK) return unattendedAnswer_;
    return DefaultAnswer(box);
  }
  QMessageBox mb(parent_);
  mb.setWindowTitle(ToQString(box.title));
  mb.setText(ToQString(box.prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  switch (box.icon) {
    case MsgIcon::kNone:
      mb.setIcon(QMessageBox::NoIcon);
      break;
    case MsgIcon::kInformation:
      mb.setIcon(QMessageBox::Information);
      break;
    case MsgIcon::kExclamation:
      mb.setIcon(QMessageBox::Warning);
      break;
    case MsgIcon::kCritical:
      mb.setIcon(QMessageBox::Critical);
      break;
  }
  QMessageBox::StandardButton def = QMessageBox::Ok;
  switch (box.buttons) {
    case MsgButtons::kOK:
      mb.setStandardButtons(QMessageBox::Ok);
      break;
    case MsgButtons::kYesNo:
      mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      def = box.defaultButton == 2 ? QMessageBox::No : QMessageBox::Yes;
      break;
    case MsgButtons::kYesNoCancel:
      mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      def = box.defaultButton == 2   ? QMessageBox::No
            : box.defaultButton == 3 ? QMessageBox::Cancel
                                     : QMessageBox::Yes;
      break;
  }
  mb.setDefaultButton(def);
  switch (mb.exec()) {
    case QMessageBox::Yes:
      return MsgResult::kYes;
    case QMessageBox::No:
      return MsgResult::kNo;
    case QMessageBox::Cancel:
      return MsgResult::kCancel;
    default:
      return box.buttons == MsgButtons::kOK ? MsgResult::kOK : DefaultAnswer(box);
  }
}

void QtHost::DoEvents() {
  if (sinceEvents_.elapsed() < eventInterval_) return;
  if (onEvents_) onEvents_();
  if (repaint_) repaint_();
  QApplication::processEvents();
  sinceEvents_.restart();
}

void QtHost::Refresh(const std::string&, const std::string&) {
  // Repaints at most every 20 ms: a refresh per word must stay cheap.
  if (sinceRepaint_.isValid() && sinceRepaint_.elapsed() < 20) return;
  if (repaint_) repaint_();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  sinceRepaint_.restart();
}

QString ToolkitFilter(const std::string& filter) {
  // "description|pattern", and more such pairs after a "|".
  const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString pattern = parts[i + 1].trimmed();
    filters << (description.contains(pattern) ? description
                                              : description + QStringLiteral(" (") + pattern + ")");
  }
  return filters.join(QStringLiteral(";;"));
}

std::string QtHost::AskFileName(const FileDialog& dialog) {
  // The program's own flags: 2 asks before overwriting, 1000 hex wants an existing file.
  constexpr unsigned kOverwritePrompt = 0x2u;
  constexpr unsigned kFileMustExist = 0x1000u;
  QFileDialog box(parent_, ToQString(dialog.title));
  box.setObjectName(QStringLiteral("CommonDialog1"));
  const bool open = dialog.mode == FileDialogMode::kOpen;
  box.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  box.setFileMode(open && (dialog.flags & kFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                               : QFileDialog::AnyFile);
  if (!open && (dialog.flags & kOverwritePrompt) == 0)
    box.setOption(QFileDialog::DontConfirmOverwrite);
  const QString filter = ToolkitFilter(dialog.filter);
  if (!filter.isEmpty()) box.setNameFilter(filter);
  if (!dialog.folder.empty()) box.setDirectory(ToQString(dialog.folder));
  if (!dialog.fileName.empty()) box.selectFile(ToQString(dialog.fileName));
  if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return std::string();
  return FromQString(box.selectedFiles().first());
}

int QtHost::ShellOpen(const std::string& target) {
  QString t = ToQString(target);
  QUrl url = t.contains(QStringLiteral("://")) ? QUrl(t) : QUrl::fromLocalFile(t);
  return QDesktopServices::openUrl(url) ? 42 : 31;
}

void QtHost::ShowWindow(WindowId window, bool visible) {
  if (showWindow_) showWindow_(window, visible);
}

namespace {

// The pop-up's message: a click on it closes the window.
class PopUpLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void mouseReleaseEvent(QMouseEvent*) override { window()->close(); }
};

}  // namespace

void QtHost::PopUp(const PopUpMessage& popUp) {
  constexpr int kTwipsPerPixel = 15;
  QDialog dialog(parent_, Qt::FramelessWindowHint | Qt::Dialog);
  dialog.setObjectName(QStringLiteral("frmPopUp"));
  auto* label = new PopUpLabel(ToQString(popUp.message), &dialog);
  label->setObjectName(QStringLiteral("lblMessage"));
  label->setFont(QFont(QStringLiteral("Tahoma"), 9));
  label->setAlignment(Qt::AlignCenter);
  dialog.setFixedSize(popUp.width / kTwipsPerPixel, popUp.height / kTwipsPerPixel);
  label->setGeometry(0, 0, dialog.width(), dialog.height());
  dialog.move(popUp.left / kTwipsPerPixel, popUp.top / kTwipsPerPixel);
  QTimer::singleShot(unattended_ ? 0 : popUp.interval, &dialog, &QDialog::accept);
  dialog.exec();
}

int QtHost::SelectLanguage(const std::vector<std::string>& choices) {
  // The stop-word language window: a list, an accept button whose caption follows the
  // choice, and Cancel.
  QDialog dialog(parent_);
  dialog.setObjectName(QStringLiteral("frmLanguageSelection"));
  dialog.setWindowTitle(QStringLiteral("Select file of stop words in some language"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* question = new QLabel(QStringLiteral("Ignore stop words in which language?"), &dialog);
  layout->addWidget(question);
  auto* list = new QComboBox(&dialog);
  question->setBuddy(list);  // (the list's name for a screen reader)
  list->setObjectName(QStringLiteral("cboCommonWordsFiles"));
  for (const std::string& c : choices) list->addItem(ToQString(c));
  list->setCurrentIndex(-1);
  layout->addWidget(list);
  auto* accept =
      new QPushButton(QStringLiteral("Load common words file for this language"), &dialog);
  accept->setObjectName(QStringLiteral("cmdAccept"));
  accept->setEnabled(false);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
  cancel->setObjectName(QStringLiteral("cmdCancel"));
  layout->addWidget(accept);
  layout->addWidget(cancel);
  QObject::connect(list, &QComboBox::activated, &dialog, [accept](int index) {
    accept->setEnabled(index >= 0);
    accept->setText(ToQString(LanguageAcceptCaption(index)));
  });
  QObject::connect(accept, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  cancel->setFocus();
  // Just below the extra-stop-words box of the parameters window (300 twips down).
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() != QStringLiteral("frmParams") || !w->isVisible()) continue;
    if (auto* box = w->findChild<QWidget*>(QStringLiteral("txbExtraStopWords"))) {
      dialog.move(box->mapToGlobal(QPoint(0, 300 / 15)));
    }
  }
  if (unattended_) return -1;
  return dialog.exec() == QDialog::Accepted ? list->currentIndex() : -1;
}

void QtHost::EndProgram(int exitCode) { std::exit(exitCode); }

}  // namespace quillmoor
