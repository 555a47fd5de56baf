#include "wizard/wep_page.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include <string>

#include "device/input_checks.h"
#include "device/security_modes.h"
#include "device/user_choices.h"
#include "device/wireless_records.h"
#include "platform/bitmaps.h"
#include "platform/dialog_units.h"
#include "skin/page_skin.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"
#include "wizard/record_text.h"

namespace {

constexpr int FORMAT_HEX = 1;

} // namespace

CWepPage::CWepPage() : CKeyPage(Page::Wep, IDD, SECURITY_WEP) {
  hint_ = AddControl<QLabel>(IDC_HINT);
  format_ = AddControl<QComboBox>(IDC_FORMAT);
  format_->setEditable(true);
  format_->setInsertPolicy(QComboBox::NoInsert);
  // A sorted list: "ASCII" before "HEX".
  format_->addItems({QStringLiteral("ASCII"), QStringLiteral("HEX")});
  format_->setGeometry(dialog_units_to_pixels(182), dialog_units_to_pixels(243),
                       dialog_units_to_pixels(48), 22);
  status_ = AddLabel(IDC_STATUS);
  next_ = AddSkinButton(IDC_NEXT);
  back_ = AddSkinButton(IDC_BACK);
  exit_ = AddExitButton();
  default_key_ = AddControl<QComboBox>(IDC_DEFAULT_KEY);
  //: The entries of the Key Index list, 90 pixels wide.
  default_key_->addItems({QCoreApplication::translate("WepPage", "Key1"),
                          QCoreApplication::translate("WepPage", "Key2"),
                          QCoreApplication::translate("WepPage", "Key3"),
                          QCoreApplication::translate("WepPage", "Key4")});
  mode_ = AddSecurityModeList(IDC_MODE);
  for (int i = 0; i < WEP_KEY_COUNT; ++i) {
    keys_[i] = AddControl<QLineEdit>(IDC_KEY1 + i);
  }

  connect(next_, &QPushButton::clicked, this, &CWepPage::OnNext);
  connect(back_, &QPushButton::clicked, this, [this] { Follow(Choice::Back); });
  connect(mode_, &QComboBox::activated, this, &CWepPage::OnModeChoice);
  connect(format_, &QComboBox::activated, this, &CWepPage::OnHintRefresh);
}

bool CWepPage::OnInitDialog() {
  SkinPage(WEP_BACKGROUND);
  hint_ascii_ = LoadBitmapForScreen(ASCII_KEY_HINT, hint_->devicePixelRatioF());
  hint_hex_ = LoadBitmapForScreen(HEX_KEY_HINT, hint_->devicePixelRatioF());
  mode_->setCurrentIndex(security_mode_);
  default_key_->setCurrentIndex(0);
  format_->setCurrentIndex(FORMAT_HEX);
  hint_->setGeometry(KEY_HINT_RECT);
  OnHintRefresh();
  PlaceNavigation();
  PlaceStatusLine(status_);
  mode_->setGeometry(KEY_MODE_LIST_RECT);
  for (int i = 0; i < WEP_KEY_COUNT; ++i)
    keys_[i]->setGeometry(WEP_KEY_RECTS[i]);
  default_key_->setGeometry(DEFAULT_KEY_LIST_RECT);

  const WepWords& words = WEP_WORDS;
  NameControl(mode_, words.mode);
  for (int i = 0; i < WEP_KEY_COUNT; ++i)
    NameControl(keys_[i], words.keys[i], words.help);
  NameControl(default_key_, words.key_index);
  FinishSetUp(words.heading, keys_[0]);
  return true;
}

int CWepPage::FormatPosition() const {
  const int index = format_->currentIndex();
  if (index < 0 || format_->currentText() != format_->itemText(index))
    return -1;
  return index;
}

void CWepPage::OnHintRefresh() {
  key_format_position_ = FormatPosition();
  const bool hex = key_format_position_ == FORMAT_HEX;
  hint_bitmap_ = hex ? HEX_KEY_HINT : ASCII_KEY_HINT;
  const QImage& picture = hex ? hint_hex_ : hint_ascii_;
  hint_->setPixmap(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
  // The hint's words, for those who cannot see it, describe the format list it is about.
  const char* hint = hex ? WEP_WORDS.hex_hint : WEP_WORDS.ascii_hint;
  NameControl(hint_, hint);
  NameControl(format_, WEP_WORDS.key_format, hint);
}

void CWepPage::OnModeChoice(int position) {
  security_mode_ = position;
  if (!Follow(Choice::Mode, position))
    OnHintRefresh();
}

void CWepPage::OnNext() {
  security_mode_ = mode_->currentIndex();
  key_format_position_ = FormatPosition();
  if (security_mode_ != SECURITY_WEP)
    return;
  const bool hex = key_format_position_ == FORMAT_HEX;
  QByteArray keys[WEP_KEY_COUNT];
  std::string_view views[WEP_KEY_COUNT];
  for (int i = 0; i < WEP_KEY_COUNT; ++i) {
    keys[i] = keys_[i]->text().toUtf8();
    views[i] = View(keys[i]);
  }

  WepWidth width{};
  if (const auto problem = wep_keys_problem(views, hex, default_key_->currentIndex(), &width)) {
    status_->SetText(QString::fromStdString(*problem), CTransparentLabel::Announce::Alert);
    return;
  }

  Follow(Choice::Next, security_mode_);
  choose_wep_keys(views, hex, default_key_->currentIndex(), width);
}
