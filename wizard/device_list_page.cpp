#include "wizard/device_list_page.h"

#include <QCoreApplication>
#include <cstdint>
#include <vector>

#include "device/discovery.h"
#include "link/link_frame.h"
#include "link/mac_text.h"
#include "platform/bitmaps.h"
#include "platform/dialog_units.h"
#include "skin/hyperlink_button.h"
#include "skin/page_skin.h"
#include "skin/progress_banner.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"
#include "wizard/link_state.h"
#include "wizard/page_messages.h"
#include "wizard/report_list.h"
#include "wizard/setup_app.h"

namespace {

//: The tool tip of the product picture.
constexpr const char* PRODUCT_TIP =
    QT_TRANSLATE_NOOP("DeviceListPage", "QBR20N, a professional 150M Mini WiFi Bridge");

} // namespace

CDeviceListPage::CDeviceListPage() : CWorkerPage(Page::DeviceList, IDD, WM_SEARCH_RESULT) {
  // Controls in template order, at their template places.
  list_ = new ReportList(this, IDC_LIST, [this](ReportList::By) { OnListClick(); });
  list_->setGeometry(dialog_rect_to_pixels(31, 133, 231, 101));
  back_ = AddSkinButton(IDC_BACK, 102, 266, 61, 16);
  back_->setEnabled(false);
  next_ = AddSkinButton(IDC_NEXT, 181, 266, 61, 16);
  next_->setEnabled(false);
  exit_ = AddExitButton(260, 265, 61, 16);
  refresh_ = AddSkinButton(IDC_REFRESH, 303, 150, 88, 17);
  status_ = AddLabel(IDC_STATUS, 0, 300, 423, 14);
  version_label_ = AddLabel(IDC_VERSION, 23, 51, 93, 10);

  product_link_ = AddControl<CHyperLinkButton>(IDC_PRODUCT_LINK);
  product_link_->setGeometry(PRODUCT_LINK_RECT);
  product_link_->hide();

  icon_ = ApplicationIcon();

  connect(refresh_, &QPushButton::clicked, this, &CDeviceListPage::OnRefresh);
  connect(next_, &QPushButton::clicked, this, [this] { Follow(Choice::Next); });
}

CDeviceListPage::~CDeviceListPage() { StopWorker(); }

bool CDeviceListPage::OnInitDialog() {
  setWindowIcon(icon_);
  QPoint origin(theApp.page_origin_x, theApp.page_origin_y);
  background_ = ScreenBitmap(DEVICE_LIST_BACKGROUND,
                             ApplyDeviceListSkin(this, DEVICE_LIST_BACKGROUND, &origin));
  if (!background_.isNull()) {
    theApp.page_origin_x = origin.x();
    theApp.page_origin_y = origin.y();
  }

  PlaceSkinButton(refresh_, DEVICE_LIST_REFRESH_BUTTON);
  PlaceNavigation();
  list_->setGeometry(DEVICE_LIST_RECT);
  PlaceStatusLine(status_);
  version_label_->setGeometry(VERSION_LABEL_RECT);
  version_label_->SetColor(QColor(0xff, 0xff, 0xff));
  version_label_->SetText(QString::fromLatin1(VERSION_TEXT));
  AddWorkBanner();

  OnRefresh();
  columns_ready_ = true;

  product_link_->show();
  product_link_->SetBackdropBitmap(PRODUCT_BUBBLE);
  product_link_->SetShapeBitmap(PRODUCT_MASK, true);
  product_link_->SetMaskBitmap(PRODUCT_MASK, true);
  product_link_->SetStateBitmaps(PRODUCT_BUBBLE, PRODUCT_BUBBLE, PRODUCT_BUBBLE);
  product_link_->SetLinkTarget(QString::fromLatin1(PRODUCT_PAGE_URL));
  product_link_->SetTipText(QCoreApplication::translate("DeviceListPage", PRODUCT_TIP));
  product_link_->SetFocusBitmap(PRODUCT_BUBBLE_FOCUSED);

  const DeviceListWords& words = DEVICE_LIST_WORDS;
  NameControl(list_, words.list);
  NameControl(refresh_, DEVICE_LIST_REFRESH_BUTTON.caption, words.refresh_note);
  NameControl(version_label_, "", words.version);
  NameControl(product_link_, words.product, PRODUCT_TIP);
  FinishSetUp(words.heading, list_);
  return true;
}

void CDeviceListPage::OnRefresh() {
  if (!columns_ready_)
    //: Column headings of the bridge list, 130 pixels each.
    list_->MakeColumns({{QCoreApplication::translate("DeviceListPage", "Name"), 130},
                        {QCoreApplication::translate("DeviceListPage", "Mac Address"), 130}});
  list_->setRowCount(0);
  status_->SetText(QString());
  BeginWork(BANNER_SEARCHING);
  selected_device_mac.Clear();
}

void CDeviceListPage::OnWorkStarted() { refresh_->setEnabled(false); }

void CDeviceListPage::DoWork(const std::stop_token& stop) {
  char devices[DEVICE_LIST_SIZE] = {};
  std::vector<std::uint8_t> frame(MAX_FRAME_SIZE);
  char hosts[HOST_ADAPTER_LIST_SIZE] = {};
  // Until a bridge has answered, the adapters are chosen again as start-up chose them: a port
  // that got its link since (where a bridge was just plugged in), or an adapter plugged in, is
  // tried, and one that went away is left out.
  if (!bridges_answered)
    find_usable_adapters(hosts);
  else
    host_adapter_macs.CopyTo(hosts);
  bool answered = false;
  for (int run = 0; run < 2 && !stop.stop_requested() && !answered; ++run)
    answered = discover_devices(frame.data(), frame.data(), hosts, devices) == 0;
  host_adapter_macs.Set(hosts);
  if (answered)
    bridges_answered = true;

  // A search stopped because the page is leaving chooses nothing.
  if (stop.stop_requested())
    return;
  std::vector<QStringList> rows;
  const int count = mac_list_count(devices);
  for (int i = 0; i < count; ++i) {
    const std::string mac(devices + MAC_TEXT_LENGTH * i, MAC_TEXT_LENGTH);
    rows.push_back({QString::fromLatin1(mac.c_str()), QString::fromLatin1(mac.c_str())});
    selected_device_mac.Set(mac);
  }
  PostToUi([this, rows] { list_->SetRows(rows); });
  status_->SetText(QString());
}

void CDeviceListPage::OnWorkDone() { refresh_->setEnabled(true); }

void CDeviceListPage::OnListClick() {
  if (list_->rowCount() == 0) {
    next_->setEnabled(false);
    return;
  }
  const int row = list_->SelectedRow();
  if (row < 0)
    return;
  next_->setEnabled(true);
  if (QTableWidgetItem* mac = list_->item(row, 1))
    selected_device_mac.Set(mac->text().left(39).toStdString());
}
