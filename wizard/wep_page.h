// WEP keys: up to four keys typed as hex digits or ASCII text, the default key, and the width
// (64 or 128 bit) that follows from the keys' length. Keys are stored as hex text.
#pragma once

#include "wizard/wizard_page.h"

class QComboBox;
class QLabel;
class QLineEdit;

class CWepPage : public CWizardPage {
  Q_OBJECT

public:
  static constexpr int IDD = 105;
  static constexpr int IDC_KEY1 = 1017; // keys 1 to 4: 1017 to 1020
  static constexpr int IDC_DEFAULT_KEY = 1021;
  static constexpr int IDC_BACK = 1022;
  static constexpr int IDC_NEXT = 1023;
  static constexpr int IDC_MODE = 1024;
  static constexpr int IDC_STATUS = 1033;
  static constexpr int IDC_FORMAT = 1049;
  static constexpr int IDC_HINT = 1052;

  CWepPage();

  void SetSecurityModeNumber(int mode) { security_mode_ = mode; }
  int SecurityModeNumber() const { return security_mode_; }
  // The picture the hint shows.
  int HintBitmap() const { return hint_bitmap_; }

  bool OnInitDialog() override;
  void OnModeChoice(int position);
  void OnHintRefresh();
  void OnNext();
  void OnBack();

private:
  // 1 for "HEX"; -1 when the format list holds typed text that selects no entry.
  int FormatPosition() const;

  QLabel* hint_;
  QComboBox* format_;
  CTransparentLabel* status_;
  CSkinButton* next_;
  CSkinButton* back_;
  CSkinButton* exit_;
  QComboBox* default_key_;
  QComboBox* mode_;
  QLineEdit* keys_[4];
  QImage hint_ascii_;
  QImage hint_hex_;
  int hint_bitmap_ = 0;
  int security_mode_ = 1;
  int key_format_position_ = 1;
};
