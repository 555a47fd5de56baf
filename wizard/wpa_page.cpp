#include "wizard/wpa_page.h"

#include <QComboBox>
#include <QLineEdit>

#include "device/input_checks.h"
#include "device/security_modes.h"
#include "device/user_choices.h"
#include "device/wireless_records.h"
#include "platform/bitmaps.h"
#include "skin/page_skin.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"
#include "wizard/record_text.h"

namespace {

int BackgroundOf(int mode) { return mode == SECURITY_WPA_PSK ? WPA_BACKGROUND : WPA2_BACKGROUND; }

QString CipherOf(int mode) { return QString::fromLatin1(wpa_cipher_text(mode)); }

const PageHeading& HeadingOf(int mode) {
  return mode == SECURITY_WPA_PSK ? WPA_WORDS.wpa_heading : WPA_WORDS.wpa2_heading;
}

} // namespace

CWpaPage::CWpaPage() : CKeyPage(Page::Wpa, IDD, SECURITY_WPA2_PSK) {
  status_ = AddLabel(IDC_STATUS);
  exit_ = AddExitButton();
  next_ = AddSkinButton(IDC_NEXT);
  back_ = AddSkinButton(IDC_BACK);
  mode_ = AddSecurityModeList(IDC_MODE);
  cipher_box_ = AddControl<QLineEdit>(IDC_CIPHER);
  // Read-only but not disabled: its value is for reading, also by the keyboard and a screen
  // reader, and it keeps the contrast of live text.
  cipher_box_->setReadOnly(true);
  passphrase_box_ = AddControl<QLineEdit>(IDC_PASSPHRASE);

  connect(next_, &QPushButton::clicked, this, &CWpaPage::OnNext);
  connect(back_, &QPushButton::clicked, this, [this] { Follow(Choice::Back); });
  connect(mode_, &QComboBox::activated, this, &CWpaPage::OnModeChoice);
}

int CWpaPage::BackgroundBitmap() const { return BackgroundOf(mode_->currentIndex()); }

bool CWpaPage::OnInitDialog() {
  SkinPage(BackgroundOf(security_mode_));
  painted_bitmap_ = BackgroundOf(security_mode_);
  PlaceNavigation();
  PlaceStatusLine(status_);
  cipher_box_->setGeometry(CIPHER_BOX_RECT);
  passphrase_box_->setGeometry(PASSPHRASE_BOX_RECT);
  mode_->setGeometry(KEY_MODE_LIST_RECT);
  mode_->setCurrentIndex(security_mode_);
  mode_->setEnabled(mode_list_enabled_);
  cipher_ = CipherOf(security_mode_);
  UpdateControls();

  NameControl(mode_, WPA_WORDS.mode);
  NameControl(passphrase_box_, WPA_WORDS.passphrase, WPA_WORDS.passphrase_note);
  NameByMode(security_mode_);
  FinishSetUp(HeadingOf(security_mode_), passphrase_box_);
  return true;
}

void CWpaPage::NameByMode(int mode) {
  NameControl(this, HeadingOf(mode).title, HeadingOf(mode).instruction);
  NameControl(cipher_box_, WPA_WORDS.cipher,
              mode == SECURITY_WPA_PSK ? WPA_WORDS.wpa_cipher_note : WPA_WORDS.wpa2_cipher_note);
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
    background_ = ScreenBitmap(wanted);
    painted_bitmap_ = wanted;
  }
  CWizardPage::paintEvent(event);
}

void CWpaPage::OnModeChoice(int position) {
  if (Follow(Choice::Mode, position))
    return;
  cipher_ = CipherOf(position);
  UpdateControls();
  NameByMode(position);
  update();
}

void CWpaPage::OnNext() {
  cipher_ = cipher_box_->text();
  passphrase_ = passphrase_box_->text();
  const QByteArray passphrase = passphrase_.toUtf8();
  if (const auto problem = passphrase_problem(View(passphrase))) {
    status_->SetText(QString::fromStdString(*problem), CTransparentLabel::Announce::Alert);
    return;
  }

  const int mode = mode_->currentIndex();
  Follow(Choice::Next, mode);
  choose_wpa_passphrase(mode, View(passphrase));
}
