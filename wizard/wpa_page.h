// WPA-PSK / WPA2-PSK passphrase, with the cipher that goes with the mode ("TKIP" or "AES").
#pragma once

#include <QString>

#include "wizard/key_page.h"

class QComboBox;
class QLineEdit;

class CWpaPage : public CKeyPage {
  Q_OBJECT

public:
  enum : int {
    IDD = 106,
    IDC_MODE = 1025,
    IDC_CIPHER = 1026,
    IDC_PASSPHRASE = 1027,
    IDC_BACK = 1028,
    IDC_NEXT = 1029,
    IDC_STATUS = 1033
  };

  CWpaPage();

  void SetModeListEnabled(bool enabled) { mode_list_enabled_ = enabled; }
  // The background the page paints for its present mode: WPA-PSK's, else WPA2-PSK's.
  int BackgroundBitmap() const;

  bool OnInitDialog() override;
  void OnModeChoice(int position);
  void OnNext();

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  void UpdateControls();
  // The window's title and the cipher's note follow the mode, as the background does.
  void NameByMode(int mode);

  CTransparentLabel* status_;
  QComboBox* mode_;
  QLineEdit* cipher_box_;
  QLineEdit* passphrase_box_;
  QString cipher_;
  QString passphrase_;
  bool mode_list_enabled_ = true;
  int painted_bitmap_ = 0;
};
