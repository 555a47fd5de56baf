#include "wizard/wep_page.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include <cstring>

#include "device/wireless_records.h"
#include "link/mac_text.h"
#include "platform/bitmaps.h"
#include "platform/dialog_units.h"
#include "skin/page_skin.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"
#include "wizard/record_text.h"
#include "wizard/security_page.h"
#include "wizard/site_survey_page.h"
#include "wizard/summary_page.h"
#include "wizard/wpa_page.h"

namespace {

bool IsHexDigit(char c) { return hex_digit_value(c) >= 0; }

} // namespace

QByteArray AsciiKeyToHex(const QByteArray& key) { return key.toHex().toUpper(); }

CWepPage::CWepPage() : CWizardPage(IDD) {
  hint_ = new QLabel(this);
  SetControlId(hint_, IDC_HINT);
  format_ = new QComboBox(this);
  SetControlId(format_, IDC_FORMAT);
  format_->setEditable(true);
  format_->setInsertPolicy(QComboBox::NoInsert);
  // A sorted list: "ASCII" before "HEX".
  format_->addItems({QStringLiteral("ASCII"), QStringLiteral("HEX")});
  format_->setGeometry(dialog_units_to_pixels(182), dialog_units_to_pixels(243),
                       dialog_units_to_pixels(48), 22);
  status_ = AddLabel(IDC_STATUS, 0, 0, 0, 0);
  next_ = AddSkinButton(IDC_NEXT, 0, 0, 0, 0);
  back_ = AddSkinButton(IDC_BACK, 0, 0, 0, 0);
  exit_ = AddSkinButton(IDC_EXIT, 0, 0, 0, 0);
  default_key_ = new QComboBox(this);
  SetControlId(default_key_, IDC_DEFAULT_KEY);
  default_key_->addItems({QStringLiteral("Key1"), QStringLiteral("Key2"), QStringLiteral("Key3"),
                          QStringLiteral("Key4")});
  mode_ = MakeSecurityModeList(this, IDC_MODE);
  for (int i = 0; i < 4; ++i) {
    keys_[i] = new QLineEdit(this);
    SetControlId(keys_[i], IDC_KEY1 + i);
  }

  connect(next_, &QPushButton::clicked, this, &CWepPage::OnNext);
  connect(back_, &QPushButton::clicked, this, &CWepPage::OnBack);
  connect(exit_, &QPushButton::clicked, this, &CPageBase::reject);
  connect(mode_, &QComboBox::activated, this, &CWepPage::OnModeChoice);
  connect(format_, &QComboBox::activated, this, &CWepPage::OnHintRefresh);
}

bool CWepPage::OnInitDialog() {
  SkinPage(WEP_BACKGROUND);
  hint_ascii_ = LoadBitmap(HINT_ASCII);
  hint_hex_ = LoadBitmap(HINT_HEX);
  mode_->setCurrentIndex(security_mode_);
  default_key_->setCurrentIndex(0);
  format_->setCurrentIndex(1);
  hint_->setGeometry(KEY_HINT_RECT);
  OnHintRefresh();
  PlaceButton(back_, BACK_BUTTON);
  PlaceButton(next_, NEXT_BUTTON);
  PlaceButton(exit_, EXIT_BUTTON);
  PlaceStatusLine(status_);
  mode_->setGeometry(KEY_MODE_LIST_RECT);
  for (int i = 0; i < 4; ++i)
    keys_[i]->setGeometry(WEP_KEY_RECTS[i]);
  default_key_->setGeometry(DEFAULT_KEY_LIST_RECT);
  FinishSetUp();
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
  const bool hex = key_format_position_ == 1;
  hint_bitmap_ = hex ? HINT_HEX : HINT_ASCII;
  const QImage& picture = hex ? hint_hex_ : hint_ascii_;
  hint_->setPixmap(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
}

void CWepPage::OnModeChoice(int position) {
  security_mode_ = position;
  if (position == 1) {
    OnHintRefresh();
    return;
  }
  if (position == 0) {
    HandOver([] { return std::make_unique<CSecurityPage>(); });
  } else {
    HandOver([position] {
      auto page = std::make_unique<CWpaPage>();
      page->SetSecurityModeNumber(position);
      return page;
    });
  }
}

QString CWepPage::KeyProblem(const QByteArray (&keys)[4], bool hex, int* width_bits) const {
  const int short_length = hex ? 10 : 5;
  const int long_length = hex ? 26 : 13;
  if (std::all_of(std::begin(keys), std::end(keys),
                  [](const QByteArray& k) { return k.isEmpty(); }))
    return QStringLiteral("4 keys are all null !");
  const int default_key = default_key_->currentIndex();
  if (default_key >= 0 && keys[default_key].isEmpty())
    return QStringLiteral("The key of Key Index %1 is null !").arg(default_key + 1);

  auto all_filled_are = [&](int length) {
    return std::all_of(std::begin(keys), std::end(keys),
                       [&](const QByteArray& k) { return k.isEmpty() || k.size() == length; });
  };
  if (all_filled_are(short_length))
    *width_bits = 64;
  else if (all_filled_are(long_length))
    *width_bits = 128;
  else
    return QStringLiteral("Key length must be %1 or %2 characters!")
        .arg(short_length)
        .arg(long_length);

  for (int i = 0; i < 4; ++i) {
    if (hex && !std::all_of(keys[i].begin(), keys[i].end(), IsHexDigit))
      return QStringLiteral("Key %1 must be hexadecimal digits (0-9, A-F) !").arg(i + 1);
    if (HasControlByte(keys[i]))
      return QStringLiteral("Key %1 must not contain control characters !").arg(i + 1);
  }
  return {};
}

void CWepPage::OnNext() {
  security_mode_ = mode_->currentIndex();
  key_format_position_ = FormatPosition();
  if (security_mode_ != 1)
    return;
  const bool hex = key_format_position_ == 1;
  QByteArray keys[4];
  for (int i = 0; i < 4; ++i)
    keys[i] = keys_[i]->text().toUtf8();

  int width_bits = 0;
  if (const QString problem = KeyProblem(keys, hex, &width_bits); !problem.isEmpty()) {
    status_->SetText(problem);
    return;
  }

  const int origin = mode_->currentIndex() + 1;
  HandOver([origin] {
    auto page = std::make_unique<CSummaryPage>();
    page->SetOrigin(origin);
    return page;
  });
  StoreField(WirelessSettings.security, width_bits == 64 ? QByteArrayLiteral("WEP(64bit)")
                                                         : QByteArrayLiteral("WEP(128bits)"));
  std::memset(&WirelessKeys, 0, sizeof WirelessKeys);
  StoreField(WirelessKeys.key_index, QByteArray::number(std::max(default_key_->currentIndex(), 0)));
  char(*fields[4])[sizeof WirelessKeys.wep_key1] = {&WirelessKeys.wep_key1, &WirelessKeys.wep_key2,
                                                    &WirelessKeys.wep_key3, &WirelessKeys.wep_key4};
  for (int i = 0; i < 4; ++i) {
    if (!keys[i].isEmpty())
      StoreField(*fields[i], hex ? keys[i] : AsciiKeyToHex(keys[i]));
  }
}

void CWepPage::OnBack() {
  HandOver([] { return std::make_unique<CSiteSurveyPage>(); });
}
