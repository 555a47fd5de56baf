#include "wizard/summary_page.h"

#include <QCoreApplication>
#include <QLineEdit>

#include <vector>

#include "device/config_write.h"
#include "device/wireless_records.h"
#include "link/link_frame.h"
#include "link/mac_text.h"
#include "platform/fit_text.h"
#include "res/page_text.h"
#include "skin/page_skin.h"
#include "skin/progress_banner.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"
#include "wizard/link_state.h"
#include "wizard/page_messages.h"
#include "wizard/record_text.h"

namespace {

const int BOX_IDS[2 * SUMMARY_ROWS] = {
    CSummaryPage::IDC_OLD_CHANNEL,  CSummaryPage::IDC_OLD_TYPE,    CSummaryPage::IDC_OLD_SSID,
    CSummaryPage::IDC_OLD_SECURITY, CSummaryPage::IDC_NEW_CHANNEL, CSummaryPage::IDC_NEW_TYPE,
    CSummaryPage::IDC_NEW_SSID,     CSummaryPage::IDC_NEW_SECURITY};

QRect BoxRect(int box) {
  return box < SUMMARY_ROWS ? OLD_SETTING_RECTS[box] : NEW_SETTING_RECTS[box - SUMMARY_ROWS];
}

} // namespace

CSummaryPage::CSummaryPage() : CWorkerPage(Page::Summary, IDD, WM_SAVE_RESULT) {
  back_ = AddSkinButton(IDC_BACK);
  next_ = AddSkinButton(IDC_NEXT);
  exit_ = AddExitButton();
  status_ = AddLabel(IDC_STATUS);
  for (int i = 0; i < 2 * SUMMARY_ROWS; ++i) {
    boxes_[i] = AddControl<QLineEdit>(BOX_IDS[i]);
    // Read-only but not disabled: the values are there to be read, also by the keyboard and a
    // screen reader, and keep the contrast of live text.
    boxes_[i]->setReadOnly(true);
  }
  connect(back_, &QPushButton::clicked, this, [this] { Follow(Choice::Back, origin_); });
  connect(next_, &QPushButton::clicked, this, &CSummaryPage::OnSave);
}

CSummaryPage::~CSummaryPage() { StopWorker(); }

bool CSummaryPage::OnInitDialog() {
  SkinPage(SUMMARY_BACKGROUND);
  PlaceNavigation();
  PlaceStatusLine(status_);
  for (int i = 0; i < 2 * SUMMARY_ROWS; ++i)
    boxes_[i]->setGeometry(BoxRect(i));
  AddWorkBanner();

  //: A summary field, 120 pixels wide: the channel is chosen by the bridge.
  texts_[0] = texts_[4] = QCoreApplication::translate("SummaryPage", "Auto");
  //: A summary field, 120 pixels wide: the network type (an access point's network, not
  //: ad hoc).
  texts_[1] = texts_[5] = QCoreApplication::translate("SummaryPage", "Infrastructure");
  texts_[2] = FieldDisplayText(CurrentNetwork.ssid);
  texts_[3] = FieldDisplayText(CurrentNetwork.security);
  texts_[6] = FieldDisplayText(WirelessSettings.ssid);
  texts_[7] = FieldDisplayText(WirelessSettings.security);
  UpdateControls();

  const SummaryWords& words = SUMMARY_WORDS;
  for (int i = 0; i < 2 * SUMMARY_ROWS; ++i) {
    const QString column = PageText(i < SUMMARY_ROWS ? words.old_settings : words.new_settings);
    //: The name a screen reader gives a summary field: the column, then the row, e.g.
    //: "New settings: SSID".
    boxes_[i]->setAccessibleName(QCoreApplication::translate("SummaryPage", "%1: %2")
                                     .arg(column, PageText(words.rows[i % SUMMARY_ROWS])));
  }
  FinishSetUp(words.heading, next_);
  return true;
}

void CSummaryPage::UpdateControls() {
  for (int i = 0; i < 2 * SUMMARY_ROWS; ++i) {
    boxes_[i]->setText(texts_[i]);
    FitFontToTexts(boxes_[i], {texts_[i]}, LineEditTextRoom(boxes_[i]));
  }
}

void CSummaryPage::OnSave() {
  // A value that would break the bridge's settings text is refused before anything is sent.
  if (const auto problem = unsafe_setting_message()) {
    status_->SetText(QString::fromStdString(*problem), CTransparentLabel::Announce::Alert);
    return;
  }
  //: The status line under the summary, while the bridge saves; about 60 characters.
  status_->SetText(QCoreApplication::translate("SummaryPage", "Saving wifi config ..."));
  BeginWork(BANNER_PLEASE_WAIT);
}

void CSummaryPage::OnWorkStarted() {
  back_->setEnabled(false);
  next_->setEnabled(false);
}

void CSummaryPage::DoWork(const std::stop_token&) {
  std::vector<std::uint8_t> send(MAX_FRAME_SIZE);
  std::vector<std::uint8_t> receive(MAX_FRAME_SIZE);
  const std::string own = host_adapter_macs.Get().substr(0, MAC_TEXT_LENGTH);
  const std::string bridge = selected_device_mac.Get();
  if (write_configuration(send.data(), receive.data(), own.c_str(), bridge.c_str()) == 0) {
    //: The status line once the bridge has saved; about 60 characters.
    status_->SetText(QCoreApplication::translate("SummaryPage", "Save config successfully !"));
    PostToUi([this] { saved_ = true; });
  } else {
    status_->SetText(
        WithLinkFailure(QCoreApplication::translate("SummaryPage", "Save config failed !")),
        CTransparentLabel::Announce::Alert);
    EnableControl(IDC_NEXT, true);
  }
}

void CSummaryPage::OnWorkDone() {
  UpdateControls();
  back_->setEnabled(true);
  update();
  if (saved_)
    Follow(Choice::Saved);
}
