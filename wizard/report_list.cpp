#include "wizard/report_list.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

#include <algorithm>

#include "platform/page_base.h"
#include "res/page_colours.h"

ReportList::ReportList(QWidget* page, int id, std::function<void(By)> on_click)
    : QTableWidget(page), on_click_(std::move(on_click)) {
  SetControlId(this, id);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Rows are chosen whole, with the arrows; Tab leaves the list for the next control.
  setTabKeyNavigation(false);
  // The chosen row in a blue that white text reads on at 7:1 (the default style's at 3.7:1), also
  // while the page is not the active window.
  QPalette colours = palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    colours.setColor(group, QPalette::Highlight, QColor::fromRgb(HEADER_BLUE));
    colours.setColor(group, QPalette::HighlightedText, Qt::white);
  }
  setPalette(colours);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(22);
  viewport()->installEventFilter(this);
}

void ReportList::MakeColumns(const std::vector<std::pair<QString, int>>& columns) {
  setRowCount(0);
  setColumnCount(static_cast<int>(columns.size()));
  for (int column = 0; column < columnCount(); ++column) {
    setHorizontalHeaderItem(column, new QTableWidgetItem(columns[column].first));
    // A heading longer than its column in the language shown widens the column.
    const int heading =
        horizontalHeader()->fontMetrics().horizontalAdvance(columns[column].first) +
        2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    setColumnWidth(column, std::max(columns[column].second, heading));
  }
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setShowGrid(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
}

void ReportList::SetRows(const std::vector<QStringList>& rows) {
  setRowCount(0);
  for (const QStringList& texts : rows) {
    const int row = rowCount();
    insertRow(row);
    for (int column = 0; column < texts.size(); ++column)
      setItem(row, column, new QTableWidgetItem(texts[column]));
  }
}

int ReportList::SelectedRow() const {
  const QList<QTableWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : selected.first()->row();
}

bool ReportList::eventFilter(QObject* watched, QEvent* event) {
  if (watched == viewport() && event->type() == QEvent::MouseButtonRelease)
    on_click_(By::Pointer);
  return false;
}

void ReportList::keyPressEvent(QKeyEvent* event) {
  const int before = SelectedRow();
  QTableWidget::keyPressEvent(event);
  if (SelectedRow() != before)
    on_click_(By::Keyboard);
}
