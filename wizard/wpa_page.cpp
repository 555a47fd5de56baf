#include "wizard/wpa_page.h"

#include <QComboBox>
#include <QLineEdit>

#include <cstring>

#include "device/wireless_records.h"
#include "platform/bitmaps.h"
#include "skin/page_skin.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"
#include "wizard/record_text.h"
#include "wizard/security_page.h"
#include "wizard/site_survey_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"

namespace {

QString CipherFor(int mode) { return mode == 2 ? QStringLiteral("TKIP") : QStringLiteral("AES"); }

} // namespace

CWpaPage::CWpaPage() : CWizardPage(IDD) {
  status_ = AddLabel(IDC_STATUS, 0, 0, 0, 0);
  exit_ = AddSkinButton(IDC_EXIT, 0, 0, 0, 0);
  next_ = AddSkinButton(IDC_NEXT, 0, 0, 0, 0);
  back_ = AddSkinButton(IDC_BACK, 0, 0, 0, 0);
  mode_ = MakeSecurityModeList(this, IDC_MODE);
  cipher_box_ = new QLineEdit(this);
  SetControlId(cipher_box_, IDC_CIPHER);
  cipher_box_->setReadOnly(true);
  cipher_box_->setEnabled(false);
  passphrase_box_ = new QLineEdit(this);
  SetControlId(passphrase_box_, IDC_PASSPHRASE);

  connect(exit_, &QPushButton::clicked, this, &CPageBase::reject);
  connect(next_, &QPushButton::clicked, this, &CWpaPage::OnNext);
  connect(back_, &QPushButton::clicked, this, &CWpaPage::OnBack);
  connect(mode_, &QComboBox::activated, this, &CWpaPage::OnModeChoice);
}

int CWpaPage::BackgroundBitmap() const {
  return mode_->currentIndex() == 2 ? WPA_BACKGROUND : WPA2_BACKGROUND;
}

bool CWpaPage::OnInitDialog() {
  SkinPage(security_mode_ == 2 ? WPA_BACKGROUND : WPA2_BACKGROUND);
  painted_bitmap_ = security_mode_ == 2 ? WPA_BACKGROUND : WPA2_BACKGROUND;
  PlaceButton(back_, BACK_BUTTON);
  PlaceButton(next_, NEXT_BUTTON);
  PlaceButton(exit_, EXIT_BUTTON);
  PlaceStatusLine(status_);
  FinishSetUp();
  cipher_box_->setGeometry(CIPHER_BOX_RECT);
  passphrase_box_->setGeometry(PASSPHRASE_BOX_RECT);
  mode_->setGeometry(KEY_MODE_LIST_RECT);
  mode_->setCurrentIndex(security_mode_);
  mode_->setEnabled(mode_list_enabled_);
  cipher_ = CipherFor(security_mode_);
  UpdateControls();
  return true;
}

void CWpaPage::UpdateControls() {
  cipher_box_->setText(cipher_);
  passphrase_box_->setText(passphrase_);
}

void CWpaPage::paintEvent(QPaintEvent* event) {
  // The background follows the mode list, picked anew at each paint.
  security_mode_ = mode_->currentIndex();
  const int wanted = BackgroundBitmap();
  if (wanted != painted_bitmap_ || background_.isNull()) {
    background_ = LoadBitmap(wanted);
    painted_bitmap_ = wanted;
  }
  CWizardPage::paintEvent(event);
}

void CWpaPage::OnModeChoice(int position) {
  if (position == 2 || position == 3) {
    cipher_ = CipherFor(position);
    UpdateControls();
    update();
    return;
  }
  if (position == 0) {
    HandOver([] { return std::make_unique<CSecurityPage>(); });
  } else if (position == 1) {
    HandOver([] {
      auto page = std::make_unique<CWepPage>();
      page->SetSecurityModeNumber(1);
      return page;
    });
  }
}

void CWpaPage::OnNext() {
  cipher_ = cipher_box_->text();
  passphrase_ = passphrase_box_->text();
  const QByteArray passphrase = passphrase_.toUtf8();
  if (passphrase.size() < PASSPHRASE_MIN_BYTES) {
    status_->SetText(QStringLiteral("Passphrase at least 8 characters !"));
    return;
  }
  if (passphrase.size() > PASSPHRASE_MAX_BYTES) {
    status_->SetText(QStringLiteral("Passphrase at most 63 characters !"));
    return;
  }
  if (HasControlByte(passphrase)) {
    status_->SetText(QStringLiteral("Passphrase must not contain control characters !"));
    return;
  }

  const int position = mode_->currentIndex();
  HandOver([position] {
    auto page = std::make_unique<CSummaryPage>();
    page->SetOrigin(position + 1);
    return page;
  });
  StoreField(WirelessSettings.security,
             position == 2 ? QByteArrayLiteral("WPA-PSK") : QByteArrayLiteral("WPA2-PSK"));
  std::memset(&WirelessKeys, 0, sizeof WirelessKeys);
  StoreField(WirelessKeys.passphrase, passphrase);
}

void CWpaPage::OnBack() {
  HandOver([] { return std::make_unique<CSiteSurveyPage>(); });
}
