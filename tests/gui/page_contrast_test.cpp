// The text that Qt and our controls draw on the pages at run time, measured from the pages'
// rendered pixels: each text against the same place drawn without it. Disabled controls are left
// out, as WCAG 2.1 (1.4.3) leaves out inactive components; the artwork's own text is measured
// where it is drawn (artwork_contrast_test).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>

#include <functional>
#include <string>
#include <vector>

#include "skin/transparent_label.h"
#include "tests/gui/bridge_pages.h"
#include "tests/gui/contrast.h"
#include "wizard/device_list_page.h"
#include "wizard/report_list.h"
#include "wizard/security_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

namespace {

struct MeasuredText {
  std::string where;
  double contrast;
};

class PageContrast : public BridgePages {
protected:
  // Measures the text that `shown` puts into `area` of `page` (page coordinates): `hide` takes
  // it away, `shown` puts it back.
  void Measure(QWidget* page, QRect area, const std::string& where,
               const std::function<void()>& hide, const std::function<void()>& shown) {
    hide();
    const QImage without = page->grab(area).toImage();
    shown();
    measured_.push_back({where, TextContrast(without, page->grab(area).toImage())});
  }

  // Every enabled text field, drop-down list, list cell and heading, and status line, of `page`.
  void MeasurePage(QWidget* page, const std::string& name) {
    page->setFocus(); // no text cursor in the fields
    for (auto* label : page->findChildren<CTransparentLabel*>()) {
      const QString text = label->Text();
      if (!text.isEmpty())
        Measure(
            page, label->geometry(), name + " label \"" + text.toStdString() + '"',
            [label] { label->SetText(QString()); }, [label, text] { label->SetText(text); });
    }
    for (auto* edit : page->findChildren<QLineEdit*>()) {
      const QString text = edit->text();
      if (edit->isEnabled() && edit->isVisible() && !text.isEmpty())
        Measure(
            page, QRect(edit->mapTo(page, QPoint()), edit->size()),
            name + " field \"" + text.toStdString() + '"', [edit] { edit->setText({}); },
            [edit, text] { edit->setText(text); });
    }
    for (auto* list : page->findChildren<QComboBox*>()) {
      const int at = list->currentIndex();
      const QString text = list->itemText(at);
      if (list->isEnabled() && !list->isEditable())
        Measure(
            page, list->geometry(), name + " list \"" + text.toStdString() + '"',
            [list, at] { list->setItemText(at, {}); },
            [list, at, text] { list->setItemText(at, text); });
    }
    for (auto* table : page->findChildren<QTableWidget*>()) {
      if (!table->isEnabled())
        continue;
      const QPoint corner = table->viewport()->mapTo(page, QPoint());
      for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
          QTableWidgetItem* item = table->item(row, column);
          const QString text = item->text();
          const QRect cell = table->visualItemRect(item).translated(corner) &
                             QRect(corner, table->viewport()->size());
          if (!text.isEmpty() && !cell.isEmpty())
            Measure(
                page, cell,
                name + (item->isSelected() ? " chosen cell \"" : " cell \"") + text.toStdString() +
                    '"',
                [item] { item->setText({}); }, [item, text] { item->setText(text); });
        }
      }
      QHeaderView* header = table->horizontalHeader();
      for (int column = 0; column < table->columnCount(); ++column) {
        QTableWidgetItem* heading = table->horizontalHeaderItem(column);
        const QString text = heading->text();
        const QRect place(header->mapTo(page, QPoint(header->sectionViewportPosition(column), 0)),
                          QSize(header->sectionSize(column), header->height()));
        Measure(
            page, place & QRect(header->mapTo(page, QPoint()), header->size()),
            name + " heading \"" + text.toStdString() + '"', [heading] { heading->setText({}); },
            [heading, text] { heading->setText(text); });
      }
    }
  }

  std::vector<MeasuredText> measured_;
};

} // namespace

TEST_F(PageContrast, EveryTextDrawnOverThePagesReadsAtFourAndAHalfToOne) {
  {
    WizardDriver device_list(std::make_unique<CDeviceListPage>());
    ASSERT_TRUE(device_list.WaitForMessage(WM_SEARCH_RESULT));
    auto* list = device_list.Control<ReportList>(CDeviceListPage::IDC_LIST);
    list->SetRows(
        {{"02-00-00-00-0b-01", "02-00-00-00-0b-01"}, {"02-00-00-00-0b-02", "02-00-00-00-0b-02"}});
    list->selectRow(1);
    MeasurePage(device_list.page(), "device list");
  }
  {
    SetUp(); // the device list emptied the chosen bridge
    auto survey = OpenSurvey();
    survey->ClickRow(CSiteSurveyPage::IDC_LIST, 2);
    MeasurePage(survey->page(), "site survey");
    survey->Click(CSiteSurveyPage::IDC_MANUAL);
    survey->Type(CSiteSurveyPage::IDC_SSID, "Typed Net");
    MeasurePage(survey->page(), "site survey, typed");
  }
  {
    WizardDriver security(std::make_unique<CSecurityPage>());
    MeasurePage(security.page(), "security");
  }
  {
    WizardDriver wep(std::make_unique<CWepPage>());
    wep.Type(CWepPage::IDC_KEY1, "012345678");
    wep.Click(CWepPage::IDC_NEXT);
    MeasurePage(wep.page(), "WEP");
  }
  {
    auto page = std::make_unique<CWpaPage>();
    page->SetSecurityModeNumber(3);
    WizardDriver wpa(std::move(page));
    wpa.Type(CWpaPage::IDC_PASSPHRASE, "short");
    wpa.Click(CWpaPage::IDC_NEXT);
    MeasurePage(wpa.page(), "WPA2");
  }
  {
    std::strcpy(CurrentNetwork.ssid, "Old");
    std::strcpy(CurrentNetwork.security, "WPA-PSK");
    std::strcpy(WirelessSettings.ssid, "Office");
    std::strcpy(WirelessSettings.security, "WPA2-PSK");
    WizardDriver summary(std::make_unique<CSummaryPage>());
    MeasurePage(summary.page(), "summary");
  }

  ASSERT_GT(measured_.size(), 60u);
  double lowest = measured_.front().contrast;
  for (const MeasuredText& text : measured_) {
    EXPECT_GE(text.contrast, READABLE_CONTRAST) << text.where;
    lowest = std::min(lowest, text.contrast);
  }
  std::printf("%zu texts, lowest contrast %.2f:1\n", measured_.size(), lowest);
}
