// A box a query is typed in (the explorer's filter, the corpus window's keywords): the
// options of the search beside it (letter case, whole words) and the box's history, the
// queries run before offered again as they are typed.
#ifndef QUILLMOOR_GUI_QUERYBOX_H_
#define QUILLMOOR_GUI_QUERYBOX_H_

#include <QString>
#include <QStringList>

#include "query/Evaluate.h"

class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QStringListModel;
class QWidget;

namespace quillmoor {

class QueryBox {
 public:
  // The options' checkboxes are made in `parent`, named `prefix` + "CaseSensitive",
  // `prefix` + "WholeWords" and, with `lines` (a document's, not a corpus's: its index
  // holds no line breaks), `prefix` + "WithinLine"; Options() reads them.
  QueryBox(QLineEdit* edit, QWidget* parent, const QString& prefix, bool lines);
  QLineEdit* edit() const { return edit_; }
  QCheckBox* caseSensitive() const { return caseSensitive_; }
  QCheckBox* wholeWords() const { return wholeWords_; }
  QCheckBox* withinLine() const { return withinLine_; }  // null without lines
  // The checkboxes side by side, for the window's layout.
  QHBoxLayout* OptionsLayout() const;
  QueryOptions Options() const;
  // The box holds a query of the query language, or an option asks for one.
  bool UsesLanguage() const;
  // Puts the box's text first in its history (at most kRemembered queries).
  void Remember();
  QStringList History() const;
  static constexpr int kRemembered = 20;

 private:
  QLineEdit* edit_;
  QCheckBox* caseSensitive_;
  QCheckBox* wholeWords_;
  QCheckBox* withinLine_ = nullptr;
  QStringListModel* history_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_GUI_QUERYBOX_H_
