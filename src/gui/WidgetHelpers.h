// Small helpers the desktop program's windows share.
#ifndef QUILLMOOR_GUI_WIDGETHELPERS_H_
#define QUILLMOOR_GUI_WIDGETHELPERS_H_

#include <QColor>
#include <QLocale>
#include <QMessageBox>
#include <QPalette>
#include <QString>
#include <QWidget>

#include "shared/FileSystem.h"

namespace quillmoor {

// The windows' background: 12839068 (blue C3, green E8, red 9C).
inline const QColor kWindowBackground(0x9C, 0xE8, 0xC3);

// Gives `widget` its object name (the control's name) and returns it.
template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// The program's window look: Arial, and the background colour behind every control.
inline void ApplyWindowLook(QWidget* window) {
  window->setFont(QFont(QStringLiteral("Arial"), 9));
  window->setAutoFillBackground(true);
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, kWindowBackground);
  window->setPalette(palette);
}

// "1 line", "2,345 lines": a count and its noun.
inline QString Counted(size_t n, const char* one, const char* many) {
  return QLocale().toString(static_cast<qulonglong>(n)) + QLatin1Char(' ') +
         QString::fromLatin1(n == 1 ? one : many);
}

// Writes an export (lines, a table, a plot) to `path` as every file of the program is
// written; false after a message box saying why not.
inline bool WriteExportFile(QWidget* parent, const QString& path,
                            const std::function<void(const PieceWriter& write)>& produce) {
  FileError error;
  if (WritePiecesAtomically(path.toStdString(), produce, &error)) return true;
  QMessageBox::warning(parent, QStringLiteral("Export"),
                       path + QStringLiteral(": ") + QString::fromStdString(error.description));
  return false;
}

}  // namespace quillmoor

#endif  // QUILLMOOR_GUI_WIDGETHELPERS_H_
