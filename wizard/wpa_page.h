// WPA-PSK / WPA2-PSK passphrase, with the cipher that goes with the mode ("TKIP" or "AES").
#pragma once

#include <QString>

#include "wizard/wizard_page.h"

class QComboBox;
class QLineEdit;

class CWpaPage : public CWizardPage {
  Q_OBJECT

public:
  static constexpr int IDD = 106;
  static constexpr int IDC_MODE = 1025;
  static constexpr int IDC_CIPHER = 1026;
  static constexpr int IDC_PASSPHRASE = 1027;
  static constexpr int IDC_BACK = 1028;
  static constexpr int IDC_NEXT = 1029;
  static constexpr int IDC_STATUS = 1033;

  CWpaPage();

  void SetSecurityModeNumber(int mode) { security_mode_ = mode; }
  int SecurityModeNumber() const { return security_mode_; }
  void SetModeListEnabled(bool enabled) { mode_list_enabled_ = enabled; }
  // The background the page paints for its present mode: WPA-PSK's, else WPA2-PSK's.
  int BackgroundBitmap() const;

  bool OnInitDialog() override;
  void OnModeChoice(int position);
  void OnNext();
  void OnBack();

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  void UpdateControls();

  CTransparentLabel* status_;
  CSkinButton* exit_;
  CSkinButton* next_;
  CSkinButton* back_;
  QComboBox* mode_;
  QLineEdit* cipher_box_;
  QLineEdit* passphrase_box_;
  QString cipher_;
  QString passphrase_;
  int security_mode_ = 3;
  bool mode_list_enabled_ = true;
  int painted_bitmap_ = 0;
};
