#include "gui/QueryBox.h"

#include <QCheckBox>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStringListModel>

#include "gui/Accessibility.h"
#include "query/Query.h"

namespace quillmoor {

QueryBox::QueryBox(QLineEdit* edit, QWidget* parent, const QString& prefix, bool lines)
    : edit_(edit),
      caseSensitive_(new QCheckBox(QStringLiteral("Matc&h case"), parent)),
      wholeWords_(new QCheckBox(QStringLiteral("Whol&e words"), parent)),
      history_(new QStringListModel(parent)) {
  caseSensitive_->setObjectName(prefix + QStringLiteral("CaseSensitive"));
  SetAccessible(caseSensitive_, QString(),
                QStringLiteral("The query's words match letter case as typed"));
  wholeWords_->setObjectName(prefix + QStringLiteral("WholeWords"));
  wholeWords_->setChecked(true);
  SetAccessible(
      wholeWords_, QString(),
      QStringLiteral("Off: a word of the query may match inside a word (arth finds earth)"));
  if (lines) {
    withinLine_ = new QCheckBox(QStringLiteral("Within a &line"), parent);
    withinLine_->setObjectName(prefix + QStringLiteral("WithinLine"));
    SetAccessible(withinLine_, QString(),
                  QStringLiteral("A phrase, a proximity or a token pattern matches within one "
                                 "line of the document"));
  }
  auto* completer = new QCompleter(history_, parent);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  edit_->setCompleter(completer);
}

QHBoxLayout* QueryBox::OptionsLayout() const {
  auto* row = new QHBoxLayout;
  row->addWidget(caseSensitive_);
  row->addWidget(wholeWords_);
  if (withinLine_ != nullptr) row->addWidget(withinLine_);
  row->addStretch(1);
  return row;
}

QueryOptions QueryBox::Options() const {
  QueryOptions options;
  options.caseSensitive = caseSensitive_->isChecked();
  options.wholeWord = wholeWords_->isChecked();
  options.withinLine = withinLine_ != nullptr && withinLine_->isChecked();
  return options;
}

bool QueryBox::UsesLanguage() const {
  const QString text = edit_->text().trimmed();
  if (text.isEmpty()) return false;
  return caseSensitive_->isChecked() || !wholeWords_->isChecked() ||
         (withinLine_ != nullptr && withinLine_->isChecked()) ||
         UsesQueryLanguage(text.toStdString());
}

void QueryBox::Remember() {
  const QString text = edit_->text().trimmed();
  if (text.isEmpty()) return;
  QStringList list = history_->stringList();
  list.removeAll(text);
  list.prepend(text);
  while (list.size() > kRemembered) list.removeLast();
  history_->setStringList(list);
}

QStringList QueryBox::History() const { return history_->stringList(); }

}  // namespace quillmoor
