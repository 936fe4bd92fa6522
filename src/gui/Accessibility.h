// What assistive technology reads of a window: each control's name and description
// (Qt's accessibility interface), and the check that a window leaves no control that
// takes the keyboard's focus without a name.
//
// A button's or a checkbox's caption is its name already, and a label made the buddy
// of a box names the box; a box, a list or a table without such a label is named here.
#ifndef QUILLMOOR_GUI_ACCESSIBILITY_H_
#define QUILLMOOR_GUI_ACCESSIBILITY_H_

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

class QTableView;
class QWidget;

namespace quillmoor {

// Sets `widget`'s accessible name (none: the one Qt derives stays, a button's or a
// checkbox's caption, a buddy label's text) and description, the description also as
// its tool tip when it has none.
void SetAccessible(QWidget* widget, const QString& name, const QString& description);

// Sets the tab order to the widgets' order (nulls passed over): Tab goes through a
// window as its layout reads, not as its widgets were made.
void ChainTabOrder(const std::vector<QWidget*>& widgets);

// A table for the keyboard: Tab leaves it (the arrows move in it), and Ctrl+Shift+S sorts
// it by the current cell's column, as a click on that column's header does (again: the
// other way round).
void ForKeyboard(QTableView* view);

// The name and the description assistive technology reads for `widget` ("" for none).
QString AccessibleNameOf(QWidget* widget);
QString AccessibleDescriptionOf(QWidget* widget);

// The controls of `window` that take the focus by the keyboard (tab) and are shown,
// in the order Tab visits them from the first.
QList<QWidget*> FocusChain(QWidget* window);

// What is wrong in `window` for a screen reader: each control of FocusChain without a
// name, or (with `descriptions`) without a description, as "objectName: what is
// missing". Empty when nothing is.
QStringList AccessibilityProblems(QWidget* window, bool descriptions);

}  // namespace quillmoor

#endif  // QUILLMOOR_GUI_ACCESSIBILITY_H_
