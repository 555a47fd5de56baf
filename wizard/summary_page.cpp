#include "wizard/summary_page.h"

#include <QLineEdit>

#include <atomic>
#include <vector>

#include "device/config_write.h"
#include "device/wireless_records.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_timing.h"
#include "link/mac_text.h"
#include "skin/page_skin.h"
#include "skin/progress_banner.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"
#include "wizard/finish_page.h"
#include "wizard/link_state.h"
#include "wizard/page_messages.h"
#include "wizard/record_text.h"
#include "wizard/security_page.h"
#include "wizard/site_survey_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

namespace {

struct Box {
  int id;
  QRect rect;
};
// Old settings on the left, new ones on the right: channel, network type, SSID, security.
const Box BOXES[8] = {
    {CSummaryPage::IDC_OLD_CHANNEL, OLD_SETTING_RECTS[0]},
    {CSummaryPage::IDC_OLD_TYPE, OLD_SETTING_RECTS[1]},
    {CSummaryPage::IDC_OLD_SSID, OLD_SETTING_RECTS[2]},
    {CSummaryPage::IDC_OLD_SECURITY, OLD_SETTING_RECTS[3]},
    {CSummaryPage::IDC_NEW_CHANNEL, NEW_SETTING_RECTS[0]},
    {CSummaryPage::IDC_NEW_TYPE, NEW_SETTING_RECTS[1]},
    {CSummaryPage::IDC_NEW_SSID, NEW_SETTING_RECTS[2]},
    {CSummaryPage::IDC_NEW_SECURITY, NEW_SETTING_RECTS[3]},
};

} // namespace

CSummaryPage::CSummaryPage() : CWizardPage(IDD) {
  back_ = AddSkinButton(IDC_BACK, 0, 0, 0, 0);
  next_ = AddSkinButton(IDC_NEXT, 0, 0, 0, 0);
  exit_ = AddSkinButton(IDC_EXIT, 0, 0, 0, 0);
  status_ = AddLabel(IDC_STATUS, 0, 0, 0, 0);
  for (int i = 0; i < 8; ++i) {
    boxes_[i] = new QLineEdit(this);
    SetControlId(boxes_[i], BOXES[i].id);
    boxes_[i]->setReadOnly(true);
    boxes_[i]->setEnabled(false);
  }
  connect(back_, &QPushButton::clicked, this, &CSummaryPage::OnBack);
  connect(next_, &QPushButton::clicked, this, &CSummaryPage::OnSave);
  connect(exit_, &QPushButton::clicked, this, &CPageBase::reject);
}

CSummaryPage::~CSummaryPage() { StopWorker(); }

bool CSummaryPage::OnInitDialog() {
  SkinPage(SUMMARY_BACKGROUND);
  PlaceButton(back_, BACK_BUTTON);
  PlaceButton(next_, NEXT_BUTTON);
  PlaceButton(exit_, EXIT_BUTTON);
  PlaceStatusLine(status_);
  for (int i = 0; i < 8; ++i)
    boxes_[i]->setGeometry(BOXES[i].rect);
  FinishSetUp();
  banner_ = AddBanner(WORK_BANNER_SIZE.width(), WORK_BANNER_SIZE.height());

  texts_[0] = texts_[4] = QStringLiteral("Auto");
  texts_[1] = texts_[5] = QStringLiteral("Infrastructure");
  texts_[2] = DisplayText(FieldBytes(CurrentNetwork.ssid));
  texts_[3] = DisplayText(FieldBytes(CurrentNetwork.security));
  texts_[6] = DisplayText(FieldBytes(WirelessSettings.ssid));
  texts_[7] = DisplayText(FieldBytes(WirelessSettings.security));
  UpdateControls();
  return true;
}

void CSummaryPage::UpdateControls() {
  for (int i = 0; i < 8; ++i)
    boxes_[i]->setText(texts_[i]);
}

void CSummaryPage::OnSave() {
  // A value that would break the bridge's settings text is refused before anything is sent.
  if (const auto problem = unsafe_setting_message()) {
    status_->SetText(QString::fromStdString(*problem));
    return;
  }
  status_->SetText(QStringLiteral("Saving wifi config ..."));
  banner_->SetKind(BANNER_PLEASE_WAIT);
  banner_->Start();
  SetTimer(TIMER_START_WORKER, TIMER_START_WORKER_PERIOD_MS);
}

void CSummaryPage::OnTimer(int id) {
  if (id == TIMER_START_WORKER) {
    KillTimer(TIMER_START_WORKER);
    StartWorker([this] { SaveWorker(); });
    back_->setEnabled(false);
    next_->setEnabled(false);
  } else if (id == TIMER_RX_TICK) {
    tick_rx_timeout();
  }
}

void CSummaryPage::SaveWorker() {
  SetTimer(TIMER_RX_TICK, static_cast<int>(link_timing().tick_period.count()));
  std::vector<std::uint8_t> send(MAX_FRAME_SIZE);
  std::vector<std::uint8_t> receive(MAX_FRAME_SIZE);
  const std::string own = host_adapter_macs.Get().substr(0, MAC_TEXT_LENGTH);
  const std::string bridge = selected_device_mac.Get();
  const int result = write_configuration(send.data(), receive.data(), own.c_str(), bridge.c_str());
  if (result == 0) {
    status_->SetText(QStringLiteral("Save config successfully !"));
    PostToUi([this] { saved_ = true; });
  } else {
    status_->SetText(QStringLiteral("Save config failed !"));
    EnableControl(IDC_NEXT, true);
  }
  KillTimer(TIMER_RX_TICK);
  PostPageMessage(WM_SAVE_RESULT);
}

void CSummaryPage::OnPageMessage(int message) {
  if (message != WM_SAVE_RESULT)
    return;
  UpdateControls();
  back_->setEnabled(true);
  banner_->Stop();
  update();
  if (saved_)
    HandOver([] { return std::make_unique<CFinishPage>(); });
}

void CSummaryPage::OnBack() {
  switch (origin_) {
  case 1:
    HandOver([] { return std::make_unique<CSecurityPage>(); });
    break;
  case 2:
    HandOver([] {
      auto page = std::make_unique<CWepPage>();
      page->SetSecurityModeNumber(1);
      return page;
    });
    break;
  case 3:
  case 4: {
    const int mode = origin_ - 1;
    HandOver([mode] {
      auto page = std::make_unique<CWpaPage>();
      page->SetSecurityModeNumber(mode);
      return page;
    });
    break;
  }
  default:
    HandOver([] { return std::make_unique<CSiteSurveyPage>(); });
  }
}
