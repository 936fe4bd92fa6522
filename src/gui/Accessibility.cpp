#include "gui/Accessibility.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QComboBox>
#include <QHeaderView>
#include <QShortcut>
#include <QTableView>
#include <QWidget>
#include <algorithm>

namespace quillmoor {

void SetAccessible(QWidget* widget, const QString& name, const QString& description) {
  if (!name.isEmpty()) widget->setAccessibleName(name);
  widget->setAccessibleDescription(description);
  if (widget->toolTip().isEmpty()) widget->setToolTip(description);
}

void ChainTabOrder(const std::vector<QWidget*>& widgets) {
  QWidget* last = nullptr;
  for (QWidget* w : widgets) {
    if (w == nullptr) continue;
    if (last != nullptr) QWidget::setTabOrder(last, w);
    last = w;
  }
}

void ForKeyboard(QTableView* view) {
  view->setTabKeyNavigation(false);
  auto* sort = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), view);
  sort->setContext(Qt::WidgetShortcut);
  QObject::connect(sort, &QShortcut::activated, view, [view] {
    const int column = std::max(0, view->currentIndex().column());
    QHeaderView* header = view->horizontalHeader();
    if (view->isSortingEnabled()) {
      const bool again = header->sortIndicatorSection() == column;
      header->setSortIndicator(column, again && header->sortIndicatorOrder() == Qt::AscendingOrder
                                           ? Qt::DescendingOrder
                                           : Qt::AscendingOrder);
    } else {
      emit header->sectionClicked(column);  // what the view does with a click on it
    }
  });
}

QString AccessibleNameOf(QWidget* widget) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
  return a == nullptr ? QString() : a->text(QAccessible::Name).trimmed();
}

QString AccessibleDescriptionOf(QWidget* widget) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
  return a == nullptr ? QString() : a->text(QAccessible::Description).trimmed();
}

QList<QWidget*> FocusChain(QWidget* window) {
  QList<QWidget*> chain;
  QWidget* w = window;
  // (The chain is a ring through every widget of the window; each is met once.)
  do {
    w = w->nextInFocusChain();
    // (A spin box's or a combo box's own line edit is read as the box.)
    const bool part = qobject_cast<QAbstractSpinBox*>(w->parentWidget()) != nullptr ||
                      qobject_cast<QComboBox*>(w->parentWidget()) != nullptr;
    // (A widget whose focus goes to another, a tab widget's to its bar, is that one.)
    if (w != window && !part && w->focusProxy() == nullptr && w->isVisibleTo(window) &&
        (w->focusPolicy() & Qt::TabFocus) != 0 && w->window() == window && !chain.contains(w))
      chain.push_back(w);
  } while (w != window && w != nullptr);
  return chain;
}

QStringList AccessibilityProblems(QWidget* window, bool descriptions) {
  QStringList problems;
  for (QWidget* w : FocusChain(window)) {
    const QString who = w->objectName().isEmpty()
                            ? QString::fromLatin1(w->metaObject()->className())
                            : w->objectName();
    if (AccessibleNameOf(w).isEmpty()) problems << who + QStringLiteral(": no name");
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    if (a == nullptr) continue;
    if (a->role() == QAccessible::PageTabList) {
      // A tab bar is read tab by tab.
      for (int i = 0; i < a->childCount(); ++i) {
        QAccessibleInterface* tab = a->child(i);
        if (tab == nullptr || tab->role() != QAccessible::PageTab) continue;
        const QString name = tab->text(QAccessible::Name).trimmed();
        if (name.isEmpty()) problems << who + QStringLiteral(": a tab without a name");
        if (descriptions && tab->text(QAccessible::Description).trimmed().isEmpty())
          problems << who + QStringLiteral(": no description for tab ") + name;
      }
    } else if (descriptions && AccessibleDescriptionOf(w).isEmpty()) {
      problems << who + QStringLiteral(": no description");
    }
  }
  return problems;
}

}  // namespace quillmoor
