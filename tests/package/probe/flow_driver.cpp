#include "tests/package/probe/flow_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "tests/package/probe/probe_report.h"
#include "wizard/device_list_page.h"
#include "wizard/finish_page.h"
#include "wizard/site_survey_page.h"
#include "wizard/summary_page.h"
#include "wizard/wpa_page.h"

namespace {

constexpr const char* NETWORK = "Workshop";
constexpr const char* PASSPHRASE = "workshop passphrase";

template <typename T> T* Control(QWidget* page, int id) {
  return page->findChild<T*>(QStringLiteral("control_%1").arg(id));
}

bool ClickRow(QWidget* page, int list_id, const QString& text) {
  auto* list = Control<QTableWidget>(page, list_id);
  if (!list)
    return false;
  for (int row = 0; row < list->rowCount(); ++row)
    for (int column = 0; column < list->columnCount(); ++column)
      if (list->item(row, column) && (text.isEmpty() || list->item(row, column)->text() == text)) {
        const QRect cell = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        return true;
      }
  return false;
}

bool Press(QWidget* page, int id) {
  auto* button = Control<QAbstractButton>(page, id);
  if (!button || !button->isEnabled())
    return false;
  button->click();
  return true;
}

// One look at the page in front; acts when it is ready. `done` holds the steps taken.
void Step(QString* done) {
  auto* page = qobject_cast<QDialog*>(QApplication::activeModalWidget());
  if (!page)
    return;
  const auto note = [&](const char* step) {
    *done += QLatin1String(step);
    ReportLine((QStringLiteral("flow: ") + QLatin1String(step)).toUtf8().constData());
  };
  if (Control<QTableWidget>(page, CDeviceListPage::IDC_LIST)) {
    if (ClickRow(page, CDeviceListPage::IDC_LIST, {}) && Press(page, CDeviceListPage::IDC_NEXT))
      note("bridge chosen");
  } else if (Control<QTableWidget>(page, CSiteSurveyPage::IDC_LIST)) {
    if (ClickRow(page, CSiteSurveyPage::IDC_LIST, QLatin1String(NETWORK)) &&
        Press(page, CSiteSurveyPage::IDC_NEXT))
      note("network chosen");
  } else if (auto* passphrase = Control<QLineEdit>(page, CWpaPage::IDC_PASSPHRASE)) {
    passphrase->setText(QLatin1String(PASSPHRASE));
    if (Press(page, CWpaPage::IDC_NEXT))
      note("passphrase entered");
  } else if (Control<QWidget>(page, CSummaryPage::IDC_STATUS) && !done->contains("save")) {
    if (Press(page, CSummaryPage::IDC_NEXT))
      note("save pressed");
  } else if (Control<QAbstractButton>(page, CFinishPage::IDC_WEB_SITE)) {
    note("finish page reached");
    page->reject();
  }
}

} // namespace

void StartFlowDriver() {
  auto* timer = new QTimer(QCoreApplication::instance());
  auto* done = new QString;
  QObject::connect(timer, &QTimer::timeout, [done] { Step(done); });
  timer->start(200);
}
