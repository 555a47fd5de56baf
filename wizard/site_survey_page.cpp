#include "wizard/site_survey_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>

#include <cstring>
#include <vector>

#include "device/input_checks.h"
#include "device/security_modes.h"
#include "device/site_survey.h"
#include "device/user_choices.h"
#include "device/wireless_records.h"
#include "link/link_frame.h"
#include "link/mac_text.h"
#include "skin/page_skin.h"
#include "skin/progress_banner.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"
#include "wizard/link_state.h"
#include "wizard/page_messages.h"
#include "wizard/record_text.h"
#include "wizard/report_list.h"

namespace {

constexpr const char* HIDDEN_SSID = "[HiddenSSID]";
// The entry choice: a network from the list, or an SSID and channel entered by hand.
constexpr int FROM_LIST = 0;
constexpr int MANUAL_ENTRY = 1;

} // namespace

CSiteSurveyPage::CSiteSurveyPage() : CWorkerPage(Page::SiteSurvey, IDD, WM_SURVEY_RESULT) {
  list_ = new ReportList(
      this, IDC_LIST, [this](ReportList::By by) { OnRowChoice(by == ReportList::By::Keyboard); });
  refresh_ = AddSkinButton(IDC_REFRESH);
  back_ = AddSkinButton(IDC_BACK);
  next_ = AddSkinButton(IDC_NEXT);
  next_->setEnabled(false);
  exit_ = AddExitButton();

  from_list_ = AddControl<QRadioButton>(IDC_FROM_LIST);
  manual_ = AddControl<QRadioButton>(IDC_MANUAL);
  entry_group_ = new QButtonGroup(this);
  entry_group_->addButton(from_list_, FROM_LIST);
  entry_group_->addButton(manual_, MANUAL_ENTRY);

  ssid_box_ = AddControl<QLineEdit>(IDC_SSID);
  ssid_box_->setEnabled(false);

  channel_ = AddControl<QComboBox>(IDC_CHANNEL);
  channel_->setEditable(true);
  channel_->setInsertPolicy(QComboBox::NoInsert);
  for (int channel = 1; channel <= 13; ++channel)
    //: An entry of the channel list, 150 pixels wide.
    channel_->addItem(QCoreApplication::translate("SiteSurveyPage", "channel %1").arg(channel));
  channel_->setEnabled(false);

  status_ = AddLabel(IDC_STATUS);

  connect(refresh_, &QPushButton::clicked, this, &CSiteSurveyPage::OnRefresh);
  connect(back_, &QPushButton::clicked, this, [this] { Follow(Choice::Back); });
  connect(next_, &QPushButton::clicked, this, &CSiteSurveyPage::OnNext);
  connect(from_list_, &QRadioButton::clicked, this, &CSiteSurveyPage::OnListMode);
  connect(manual_, &QRadioButton::clicked, this, &CSiteSurveyPage::OnManualMode);
  connect(ssid_box_, &QLineEdit::textEdited, this, &CSiteSurveyPage::OnSsidChange);
}

CSiteSurveyPage::~CSiteSurveyPage() { StopWorker(); }

bool CSiteSurveyPage::OnInitDialog() {
  entry_choice_ = FROM_LIST;
  SkinPage(SITE_SURVEY_BACKGROUND);
  PlaceSkinButton(refresh_, SURVEY_REFRESH_BUTTON);
  PlaceNavigation();
  list_->setGeometry(NETWORK_LIST_RECT);
  PlaceStatusLine(status_);
  ssid_box_->setGeometry(SSID_BOX_RECT);
  channel_->setGeometry(CHANNEL_LIST_RECT);
  channel_->setCurrentIndex(5);
  from_list_->setGeometry(FROM_LIST_RADIO_RECT);
  manual_->setGeometry(MANUAL_RADIO_RECT);
  AddWorkBanner();

  OnRefresh();
  list_ready_ = true;
  UpdateControls();

  const SiteSurveyWords& words = SITE_SURVEY_WORDS;
  NameControl(list_, words.list);
  NameControl(from_list_, words.from_list);
  NameControl(manual_, words.manual, words.manual_note);
  NameControl(ssid_box_, words.ssid);
  NameControl(channel_, words.channel);
  FinishSetUp(words.heading, list_);
  return true;
}

void CSiteSurveyPage::OnRefresh() {
  if (!list_ready_) {
    // The widths in pixels are what each column heading has.
    list_->MakeColumns({{QCoreApplication::translate("SiteSurveyPage", "SSID"), 105},
                        {QCoreApplication::translate("SiteSurveyPage", "Mac Address"), 110},
                        {QCoreApplication::translate("SiteSurveyPage", "Channel"), 60},
                        {QCoreApplication::translate("SiteSurveyPage", "Signal"), 60},
                        {QCoreApplication::translate("SiteSurveyPage", "Security"), 70},
                        {QCoreApplication::translate("SiteSurveyPage", "Speed"), 70}});
  }
  list_->setRowCount(0);
  rows_.clear();
  // The rows are rebuilt, so an earlier choice would point at another network.
  selected_row_ = -1;
  hidden_row_selected_ = false;
  if (entry_choice_ == FROM_LIST) {
    next_->setEnabled(false);
    ssid_box_->setEnabled(false);
  }
  //: The status line under the network list while the bridge searches; about 60 characters.
  status_->SetText(QCoreApplication::translate("SiteSurveyPage", "Searching Wireless Network ..."));
  UpdateControls();
  BeginWork(BANNER_PLEASE_WAIT);
}

void CSiteSurveyPage::OnWorkStarted() {
  refresh_->setEnabled(false);
  back_->setEnabled(false);
  manual_->setEnabled(false);
}

void CSiteSurveyPage::DoWork(const std::stop_token& stop) {
  std::vector<std::uint8_t> frame(MAX_FRAME_SIZE);
  // The wizard's own address is the first entry of the host list.
  const std::string own = host_adapter_macs.Get().substr(0, MAC_TEXT_LENGTH);
  const std::string bridge = selected_device_mac.Get();
  int count = 0;
  bool fill = true;
  int result = run_site_survey(frame.data(), frame.data(), own.c_str(), bridge.c_str(), &count);
  if (result == 0) {
    if (count == 0)
      fill = false;
  } else if (!stop.stop_requested()) {
    result = run_site_survey(frame.data(), frame.data(), own.c_str(), bridge.c_str(), &count);
  }
  if (stop.stop_requested())
    return;

  const QVector<NetworkEntry> rows =
      fill ? QVector<NetworkEntry>(NetworkTable,
                                   NetworkTable + std::min(count, NETWORK_TABLE_ENTRIES))
           : QVector<NetworkEntry>();
  PostToUi([this, rows] { FillList(rows); });
  //: The status line under the network list after a search; about 60 characters.
  const QString outcome = QCoreApplication::translate(
      "SiteSurveyPage", "There are %n wireless networks.", nullptr, count);
  status_->SetText(result == 0 ? outcome : WithLinkFailure(outcome));
}

void CSiteSurveyPage::FillList(const QVector<NetworkEntry>& rows) {
  rows_ = rows;
  std::vector<QStringList> texts;
  for (const NetworkEntry& row : rows)
    texts.push_back({FieldDisplayText(row.ssid), FieldDisplayText(row.mac_text),
                     FieldDisplayText(row.channel), FieldDisplayText(row.signal_text),
                     FieldDisplayText(row.security), FieldDisplayText(row.speed)});
  list_->SetRows(texts);
}

void CSiteSurveyPage::OnWorkDone() {
  UpdateControls();
  refresh_->setEnabled(entry_choice_ == FROM_LIST);
  back_->setEnabled(true);
  manual_->setEnabled(true);
}

void CSiteSurveyPage::UpdateControls() {
  if (ssid_box_->text() != ssid_text_)
    ssid_box_->setText(ssid_text_);
  QRadioButton* chosen = entry_choice_ == FROM_LIST ? from_list_ : manual_;
  chosen->setChecked(true);
  // The pair is one stop of Tab, at the chosen one (Qt moves the stop to a radio button only once
  // it has had the focus); the arrows move between the two.
  for (QRadioButton* radio : {from_list_, manual_})
    radio->setFocusPolicy(Qt::FocusPolicy(radio == chosen ? radio->focusPolicy() | Qt::TabFocus
                                                          : radio->focusPolicy() & ~Qt::TabFocus));
}

void CSiteSurveyPage::ReadControls() {
  ssid_text_ = ssid_box_->text();
  entry_choice_ = manual_->isChecked() ? MANUAL_ENTRY : FROM_LIST;
}

void CSiteSurveyPage::OnListMode() {
  entry_choice_ = FROM_LIST;
  ssid_box_->setEnabled(false);
  channel_->setEnabled(false);
  list_->setEnabled(true);
  // Not while a survey runs: Refresh would start a second one.
  refresh_->setEnabled(!WorkerRunning());
}

void CSiteSurveyPage::OnManualMode() {
  entry_choice_ = MANUAL_ENTRY;
  list_->setEnabled(false);
  refresh_->setEnabled(false);
  channel_->setEnabled(true);
  ssid_box_->setEnabled(true);
  ssid_box_->setFocus();
}

void CSiteSurveyPage::OnRowChoice(bool by_keyboard) {
  if (list_->rowCount() == 0) {
    if (entry_choice_ == FROM_LIST)
      next_->setEnabled(false);
    return;
  }
  if (entry_choice_ == MANUAL_ENTRY)
    return;
  const int row = list_->SelectedRow();
  if (row < 0)
    return;
  selected_row_ = row;
  if (field_text(rows_.value(selected_row_).ssid).find(HIDDEN_SSID) != std::string_view::npos) {
    hidden_row_selected_ = true;
    ssid_box_->setEnabled(true);
    // Arrowing through the list must not be pulled out of it: from the keyboard the focus stays,
    // and Tab reaches the SSID box.
    if (!by_keyboard)
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

void CSiteSurveyPage::OnNext() {
  if (list_->rowCount() == 0 && entry_choice_ == FROM_LIST)
    return;
  const bool typed = hidden_row_selected_ || entry_choice_ == MANUAL_ENTRY;
  if (typed) {
    ReadControls();
    if (ssid_text_.isEmpty()) {
      //: The status line when Next is clicked with no SSID typed; about 60 characters.
      status_->SetText(QCoreApplication::translate("SiteSurveyPage", "You must input the ssid!"),
                       CTransparentLabel::Announce::Alert);
      ssid_box_->setEnabled(true);
      ssid_box_->setFocus();
      return;
    }
  }
  if (entry_choice_ == FROM_LIST && (selected_row_ < 0 || selected_row_ >= rows_.size()))
    return;
  const QByteArray ssid = typed ? ssid_text_.toUtf8() : FieldBytes(rows_[selected_row_].ssid);
  if (const auto problem = ssid_problem(View(ssid), typed)) {
    status_->SetText(QString::fromStdString(*problem), CTransparentLabel::Announce::Alert);
    return;
  }

  if (entry_choice_ == MANUAL_ENTRY) {
    const int channel = ChannelNumber();
    Follow(Choice::NextTyped);
    choose_typed_network(View(ssid), channel);
    return;
  }

  const NetworkEntry& row = rows_[selected_row_];
  security_mode_ = security_mode_of_text(field_text(row.security));
  Follow(Choice::Next, security_mode_);
  choose_listed_network(row, View(ssid));
}
