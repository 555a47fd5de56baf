// WEP keys: up to four keys typed as hex digits or ASCII text, the default key, and the width
// (64 or 128 bit) that follows from the keys' length. Keys are stored as hex text.
#pragma once

#include "wizard/key_page.h"

class QComboBox;
class QLabel;
class QLineEdit;

class CWepPage : public CKeyPage {
  Q_OBJECT

public:
  enum : int {
    IDD = 105,
    IDC_KEY1 = 1017, // keys 1 to 4: 1017 to 1020
    IDC_DEFAULT_KEY = 1021,
    IDC_BACK = 1022,
    IDC_NEXT = 1023,
    IDC_MODE = 1024,
    IDC_STATUS = 1033,
    IDC_FORMAT = 1049,
    IDC_HINT = 1052
  };

  CWepPage();

  // The picture the hint shows.
  int HintBitmap() const { return hint_bitmap_; }

  bool OnInitDialog() override;
  void OnModeChoice(int position);
  void OnHintRefresh();
  void OnNext();

private:
  // 1 for "HEX"; -1 when the format list holds typed text that selects no entry.
  int FormatPosition() const;

  QLabel* hint_;
  QComboBox* format_;
  CTransparentLabel* status_;
  QComboBox* default_key_;
  QComboBox* mode_;
  QLineEdit* keys_[4];
  QImage hint_ascii_;
  QImage hint_hex_;
  int hint_bitmap_ = 0;
  int key_format_position_ = 1;
};
