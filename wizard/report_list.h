// The report-style list of the device list and site survey pages: one whole row selected at a
// time, no editing, a grid, headings on the left, and every click reported, also one on empty
// space (the pages decide what a click means). A row chosen with the keyboard (arrows, Home,
// End, Page Up and Down, Space) is reported as a click is, saying it came from the keyboard; Tab
// leaves the list.
#pragma once

#include <QString>
#include <QTableWidget>

#include <functional>
#include <utility>
#include <vector>

class ReportList : public QTableWidget {
  Q_OBJECT

public:
  enum class By { Pointer, Keyboard };

  ReportList(QWidget* page, int id, std::function<void(By)> on_click);

  // Heading and width in pixels of each column, made once before the first rows.
  void MakeColumns(const std::vector<std::pair<QString, int>>& columns);
  // Replaces the rows; each row holds one text per column.
  void SetRows(const std::vector<QStringList>& rows);
  // The row that the selection marks, or -1.
  int SelectedRow() const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  std::function<void(By)> on_click_;
};
