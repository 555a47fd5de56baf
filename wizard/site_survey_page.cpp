#include "wizard/site_survey_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>

#include <cstring>
#include <vector>

#include "device/site_survey.h"
#include "device/wireless_records.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_timing.h"
#include "link/mac_text.h"
#include "skin/page_skin.h"
#include "skin/progress_banner.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"
#include "wizard/device_list_page.h"
#include "wizard/link_state.h"
#include "wizard/page_messages.h"
#include "wizard/record_text.h"
#include "wizard/security_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

namespace {

constexpr const char* HIDDEN_SSID = "[HiddenSSID]";

} // namespace

CSiteSurveyPage::CSiteSurveyPage() : CWizardPage(IDD) {
  list_ = new QTableWidget(this);
  SetControlId(list_, IDC_LIST);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setDefaultSectionSize(22);
  list_->viewport()->installEventFilter(this);

  refresh_ = AddSkinButton(IDC_REFRESH, 0, 0, 0, 0);
  back_ = AddSkinButton(IDC_BACK, 0, 0, 0, 0);
  next_ = AddSkinButton(IDC_NEXT, 0, 0, 0, 0);
  next_->setEnabled(false);
  exit_ = AddSkinButton(IDC_EXIT, 0, 0, 0, 0);

  from_list_ = new QRadioButton(this);
  SetControlId(from_list_, IDC_FROM_LIST);
  manual_ = new QRadioButton(this);
  SetControlId(manual_, IDC_MANUAL);
  entry_group_ = new QButtonGroup(this);
  entry_group_->addButton(from_list_, 0);
  entry_group_->addButton(manual_, 1);

  ssid_box_ = new QLineEdit(this);
  SetControlId(ssid_box_, IDC_SSID);
  ssid_box_->setEnabled(false);

  channel_ = new QComboBox(this);
  SetControlId(channel_, IDC_CHANNEL);
  channel_->setEditable(true);
  channel_->setInsertPolicy(QComboBox::NoInsert);
  for (int channel = 1; channel <= 13; ++channel)
    channel_->addItem(QStringLiteral("channel %1").arg(channel));
  channel_->setEnabled(false);

  status_ = AddLabel(IDC_STATUS, 0, 0, 0, 0);

  connect(refresh_, &QPushButton::clicked, this, &CSiteSurveyPage::OnRefresh);
  connect(back_, &QPushButton::clicked, this, &CSiteSurveyPage::OnBack);
  connect(next_, &QPushButton::clicked, this, &CSiteSurveyPage::OnNext);
  connect(exit_, &QPushButton::clicked, this, &CPageBase::reject);
  connect(from_list_, &QRadioButton::clicked, this, &CSiteSurveyPage::OnListMode);
  connect(manual_, &QRadioButton::clicked, this, &CSiteSurveyPage::OnManualMode);
  connect(ssid_box_, &QLineEdit::textEdited, this, &CSiteSurveyPage::OnSsidChange);
}

CSiteSurveyPage::~CSiteSurveyPage() { StopWorker(); }

bool CSiteSurveyPage::OnInitDialog() {
  entry_choice_ = 0;
  SkinPage(SITE_SURVEY_BACKGROUND);
  PlaceButton(refresh_, SURVEY_REFRESH_BUTTON);
  PlaceButton(back_, BACK_BUTTON);
  PlaceButton(next_, NEXT_BUTTON);
  PlaceButton(exit_, EXIT_BUTTON);
  list_->setGeometry(NETWORK_LIST_RECT);
  PlaceStatusLine(status_);
  ssid_box_->setGeometry(SSID_BOX_RECT);
  channel_->setGeometry(CHANNEL_LIST_RECT);
  channel_->setCurrentIndex(5);
  from_list_->setGeometry(FROM_LIST_RADIO_RECT);
  manual_->setGeometry(MANUAL_RADIO_RECT);
  FinishSetUp();
  banner_ = AddBanner(WORK_BANNER_SIZE.width(), WORK_BANNER_SIZE.height());

  OnRefresh();
  list_ready_ = true;
  UpdateControls();
  return true;
}

void CSiteSurveyPage::OnRefresh() {
  if (!list_ready_) {
    list_->setRowCount(0);
    list_->setColumnCount(6);
    list_->setHorizontalHeaderLabels({QStringLiteral("SSID"), QStringLiteral("Mac Address"),
                                      QStringLiteral("Channel"), QStringLiteral("Signal"),
                                      QStringLiteral("Security"), QStringLiteral("Speed")});
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int widths[] = {105, 110, 60, 60, 70, 70};
    for (int column = 0; column < 6; ++column)
      list_->setColumnWidth(column, widths[column]);
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  }
  list_->setRowCount(0);
  rows_.clear();
  // The rows are rebuilt, so an earlier choice would point at another network.
  selected_row_ = -1;
  hidden_row_selected_ = false;
  if (entry_choice_ == 0) {
    next_->setEnabled(false);
    ssid_box_->setEnabled(false);
  }
  SetTimer(TIMER_START_WORKER, TIMER_START_WORKER_PERIOD_MS);
  status_->SetText(QStringLiteral("Searching Wireless Network ..."));
  UpdateControls();
  banner_->SetKind(BANNER_PLEASE_WAIT);
  banner_->Start();
}

void CSiteSurveyPage::OnTimer(int id) {
  if (id == TIMER_START_WORKER) {
    StartWorker([this] { SurveyWorker(); });
    refresh_->setEnabled(false);
    back_->setEnabled(false);
    manual_->setEnabled(false);
    KillTimer(TIMER_START_WORKER);
  } else if (id == TIMER_RX_TICK) {
    tick_rx_timeout();
  }
}

void CSiteSurveyPage::SurveyWorker() {
  SetTimer(TIMER_RX_TICK, static_cast<int>(link_timing().tick_period.count()));
  std::vector<std::uint8_t> frame(MAX_FRAME_SIZE);
  // The wizard's own address is the first entry of the host list.
  const std::string own = host_adapter_macs.Get().substr(0, MAC_TEXT_LENGTH);
  const std::string bridge = selected_device_mac.Get();
  int count = 0;
  bool fill = true;
  if (run_site_survey(frame.data(), frame.data(), own.c_str(), bridge.c_str(), &count) == 0) {
    if (count == 0)
      fill = false;
  } else if (!link_stop_requested()) {
    run_site_survey(frame.data(), frame.data(), own.c_str(), bridge.c_str(), &count);
  }
  KillTimer(TIMER_RX_TICK);
  if (link_stop_requested())
    return;

  QVector<Row> rows;
  if (fill) {
    for (int i = 0; i < count && i < NETWORK_TABLE_ENTRIES; ++i) {
      const NetworkEntry& entry = NetworkTable[i];
      rows.push_back({FieldBytes(entry.ssid), FieldBytes(entry.mac_text), FieldBytes(entry.channel),
                      FieldBytes(entry.signal_text), FieldBytes(entry.security),
                      FieldBytes(entry.speed)});
    }
  }
  PostToUi([this, rows] { FillList(rows); });
  status_->SetText(QStringLiteral("There are %1 wireless networks.").arg(count));
  PostPageMessage(WM_SURVEY_RESULT);
}

void CSiteSurveyPage::FillList(const QVector<Row>& rows) {
  rows_ = rows;
  list_->setRowCount(0);
  for (const Row& row : rows) {
    const int index = list_->rowCount();
    list_->insertRow(index);
    const QByteArray* columns[] = {&row.ssid,        &row.mac_text, &row.channel,
                                   &row.signal_text, &row.security, &row.speed};
    for (int column = 0; column < 6; ++column)
      list_->setItem(index, column, new QTableWidgetItem(DisplayText(*columns[column])));
  }
}

void CSiteSurveyPage::OnPageMessage(int message) {
  if (message != WM_SURVEY_RESULT)
    return;
  UpdateControls();
  refresh_->setEnabled(entry_choice_ == 0);
  back_->setEnabled(true);
  manual_->setEnabled(true);
  banner_->Stop();
}

void CSiteSurveyPage::UpdateControls() {
  if (ssid_box_->text() != ssid_text_)
    ssid_box_->setText(ssid_text_);
  (entry_choice_ == 0 ? from_list_ : manual_)->setChecked(true);
}

void CSiteSurveyPage::ReadControls() {
  ssid_text_ = ssid_box_->text();
  entry_choice_ = manual_->isChecked() ? 1 : 0;
}

void CSiteSurveyPage::OnListMode() {
  entry_choice_ = 0;
  ssid_box_->setEnabled(false);
  channel_->setEnabled(false);
  list_->setEnabled(true);
  // Not while a survey runs: Refresh would start a second one.
  refresh_->setEnabled(!WorkerRunning());
}

void CSiteSurveyPage::OnManualMode() {
  entry_choice_ = 1;
  list_->setEnabled(false);
  refresh_->setEnabled(false);
  channel_->setEnabled(true);
  ssid_box_->setEnabled(true);
  ssid_box_->setFocus();
}

bool CSiteSurveyPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->viewport() && event->type() == QEvent::MouseButtonRelease)
    OnRowChoice();
  return CWizardPage::eventFilter(watched, event);
}

void CSiteSurveyPage::OnRowChoice() {
  if (list_->rowCount() == 0) {
    if (entry_choice_ == 0)
      next_->setEnabled(false);
    return;
  }
  if (entry_choice_ == 1)
    return;
  const QList<QTableWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty())
    return;
  selected_row_ = selected.first()->row();
  if (rows_.value(selected_row_).ssid.contains(HIDDEN_SSID)) {
    hidden_row_selected_ = true;
    ssid_box_->setEnabled(true);
    ssid_box_->setFocus();
  } else {
    hidden_row_selected_ = false;
    ssid_box_->setEnabled(false);
  }
  next_->setEnabled(true);
}

void CSiteSurveyPage::OnSsidChange() {
  ReadControls();
  next_->setEnabled(!ssid_text_.isEmpty());
}

int CSiteSurveyPage::ChannelNumber() const {
  const int index = channel_->currentIndex();
  // Text typed into the channel list's edit field selects no entry.
  if (index < 0 || channel_->currentText() != channel_->itemText(index))
    return 0;
  return index + 1;
}

QString CSiteSurveyPage::SsidProblem(const QByteArray& ssid, bool typed) const {
  if (typed && ssid.size() > SSID_MAX_BYTES)
    return QStringLiteral("The SSID must be at most %1 bytes!").arg(SSID_MAX_BYTES);
  if (HasControlByte(ssid))
    return QStringLiteral("The SSID must not contain control characters!");
  return {};
}

void CSiteSurveyPage::OnNext() {
  if (list_->rowCount() == 0 && entry_choice_ == 0)
    return;
  const bool typed = hidden_row_selected_ || entry_choice_ == 1;
  if (typed) {
    ReadControls();
    if (ssid_text_.isEmpty()) {
      status_->SetText(QStringLiteral("You must input the ssid!"));
      ssid_box_->setEnabled(true);
      ssid_box_->setFocus();
      return;
    }
  }
  if (entry_choice_ == 0 && (selected_row_ < 0 || selected_row_ >= rows_.size()))
    return;
  const QByteArray ssid = typed ? ssid_text_.toUtf8() : rows_[selected_row_].ssid;
  if (const QString problem = SsidProblem(ssid, typed); !problem.isEmpty()) {
    status_->SetText(problem);
    return;
  }

  if (entry_choice_ == 1) {
    const int channel = ChannelNumber();
    HandOver([] { return std::make_unique<CSecurityPage>(); });
    std::memset(&WirelessSettings, 0, sizeof WirelessSettings);
    store_ssid(WirelessSettings, View(ssid));
    StoreField(WirelessSettings.channel, QByteArray::number(channel));
    return;
  }

  const Row& row = rows_[selected_row_];
  if (row.security.contains("Disable"))
    security_mode_ = 0;
  else if (row.security.contains("WEP"))
    security_mode_ = 1;
  else if (row.security.contains("WPA-PSK"))
    security_mode_ = 2;
  else
    security_mode_ = 3;

  const int mode = security_mode_;
  if (mode == 1) {
    HandOver([] {
      auto page = std::make_unique<CWepPage>();
      page->SetSecurityModeNumber(1);
      return page;
    });
  } else if (mode == 2 || mode == 3) {
    HandOver([mode] {
      auto page = std::make_unique<CWpaPage>();
      page->SetSecurityModeNumber(mode);
      page->SetModeListEnabled(false);
      return page;
    });
  } else {
    HandOver([] {
      auto page = std::make_unique<CSummaryPage>();
      page->SetOrigin(0);
      return page;
    });
  }
  std::memset(&WirelessSettings, 0, sizeof WirelessSettings);
  store_ssid(WirelessSettings, View(ssid));
  StoreField(WirelessSettings.channel, row.channel);
  StoreField(WirelessSettings.security, row.security);
}

void CSiteSurveyPage::OnBack() {
  HandOver([] { return std::make_unique<CDeviceListPage>(); });
}
