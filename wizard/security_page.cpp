#include "wizard/security_page.h"

#include <QComboBox>

#include "device/wireless_records.h"
#include "skin/page_skin.h"
#include "skin/skin_button.h"
#include "wizard/record_text.h"
#include "wizard/site_survey_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

QComboBox* MakeSecurityModeList(QWidget* page, int id) {
  auto* list = new QComboBox(page);
  SetControlId(list, id);
  list->addItems({QStringLiteral("Disable"), QStringLiteral("WEP"), QStringLiteral("WPA-PSK"),
                  QStringLiteral("WPA2-PSK")});
  return list;
}

CSecurityPage::CSecurityPage() : CWizardPage(IDD) {
  back_ = AddSkinButton(IDC_BACK, 0, 0, 0, 0);
  next_ = AddSkinButton(IDC_NEXT, 0, 0, 0, 0);
  exit_ = AddSkinButton(IDC_EXIT, 0, 0, 0, 0);
  mode_ = MakeSecurityModeList(this, IDC_MODE);
  connect(back_, &QPushButton::clicked, this, &CSecurityPage::OnBack);
  connect(next_, &QPushButton::clicked, this, &CSecurityPage::OnNext);
  connect(exit_, &QPushButton::clicked, this, &CPageBase::reject);
  connect(mode_, &QComboBox::activated, this, &CSecurityPage::OnModeChoice);
}

bool CSecurityPage::OnInitDialog() {
  SkinPage(SECURITY_BACKGROUND);
  PlaceButton(back_, BACK_BUTTON);
  PlaceButton(next_, NEXT_BUTTON);
  PlaceButton(exit_, EXIT_BUTTON);
  mode_->setGeometry(SECURITY_MODE_LIST_RECT);
  FinishSetUp();
  mode_->setCurrentIndex(0);
  return true;
}

void CSecurityPage::OnModeChoice(int position) {
  // The decision follows the entry's text, not its position.
  const QString text = mode_->itemText(position);
  if (text == QLatin1String("WEP")) {
    HandOver([position] {
      auto page = std::make_unique<CWepPage>();
      page->SetSecurityModeNumber(position);
      return page;
    });
  } else if (text == QLatin1String("WPA-PSK") || text == QLatin1String("WPA2-PSK")) {
    HandOver([position] {
      auto page = std::make_unique<CWpaPage>();
      page->SetSecurityModeNumber(position);
      return page;
    });
  }
}

void CSecurityPage::OnNext() {
  HandOver([] {
    auto page = std::make_unique<CSummaryPage>();
    page->SetOrigin(1);
    return page;
  });
  // Keys of an earlier WEP or WPA visit stay where they are.
  StoreField(WirelessSettings.security, QByteArrayLiteral("Disable"));
}

void CSecurityPage::OnBack() {
  HandOver([] { return std::make_unique<CSiteSurveyPage>(); });
}
