#include "wizard/security_page.h"

#include <QComboBox>

#include "device/security_modes.h"
#include "device/user_choices.h"
#include "device/wireless_records.h"
#include "skin/page_skin.h"
#include "skin/skin_button.h"
#include "wizard/record_text.h"

CSecurityPage::CSecurityPage() : CWizardPage(Page::Security, IDD) {
  back_ = AddSkinButton(IDC_BACK);
  next_ = AddSkinButton(IDC_NEXT);
  exit_ = AddExitButton();
  mode_ = AddSecurityModeList(IDC_MODE);
  connect(back_, &QPushButton::clicked, this, [this] { Follow(Choice::Back); });
  connect(next_, &QPushButton::clicked, this, &CSecurityPage::OnNext);
  connect(mode_, &QComboBox::activated, this, &CSecurityPage::OnModeChoice);
}

bool CSecurityPage::OnInitDialog() {
  SkinPage(SECURITY_BACKGROUND);
  PlaceNavigation();
  mode_->setGeometry(SECURITY_MODE_LIST_RECT);
  mode_->setCurrentIndex(SECURITY_DISABLE);
  NameControl(mode_, SECURITY_WORDS.mode, SECURITY_WORDS.note);
  FinishSetUp(SECURITY_WORDS.heading, mode_);
  return true;
}

void CSecurityPage::OnModeChoice(int position) {
  // The decision follows the entry's text, not its position.
  const QByteArray text = mode_->itemData(position).toString().toLatin1();
  Follow(Choice::Mode, security_mode_of_text(View(text)));
}

void CSecurityPage::OnNext() {
  Follow(Choice::Next, SECURITY_DISABLE);
  choose_open_network();
}
