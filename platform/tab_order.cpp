#include "platform/tab_order.h"

#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

bool SameRow(const QRect& a, const QRect& b) {
  return std::abs(a.center().y() - b.center().y()) * 2 < std::min(a.height(), b.height());
}

} // namespace

void OrderTabsByPlace(QWidget* window) {
  std::vector<QWidget*> controls;
  for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->focusPolicy() & Qt::TabFocus)
      controls.push_back(child);
  std::stable_sort(controls.begin(), controls.end(), [](QWidget* a, QWidget* b) {
    return a->geometry().center().y() < b->geometry().center().y();
  });
  // Rows from the top; a row gathers the controls beside its first one.
  std::vector<QWidget*> order;
  for (std::size_t first = 0; first < controls.size();) {
    std::size_t end = first + 1;
    while (end < controls.size() && SameRow(controls[first]->geometry(), controls[end]->geometry()))
      ++end;
    std::vector<QWidget*> row(controls.begin() + static_cast<std::ptrdiff_t>(first),
                              controls.begin() + static_cast<std::ptrdiff_t>(end));
    std::stable_sort(row.begin(), row.end(),
                     [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    order.insert(order.end(), row.begin(), row.end());
    first = end;
  }
  for (std::size_t i = 1; i < order.size(); ++i)
    QWidget::setTabOrder(order[i - 1], order[i]);
}
