#include "wizard/device_list_page.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableWidget>

#include <cstdint>
#include <cstring>
#include <vector>

#include "device/discovery.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_timing.h"
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
#include "wizard/setup_app.h"
#include "wizard/site_survey_page.h"

namespace {

constexpr const char* PRODUCT_TIP = "QBR20N, a professional 150M Mini WiFi Bridge";

} // namespace

CDeviceListPage::CDeviceListPage() : CWizardPage(IDD) {
  // Controls in template order, at their template places.
  list_ = new QTableWidget(this);
  SetControlId(list_, IDC_LIST);
  list_->setGeometry(dialog_rect_to_pixels(31, 133, 231, 101));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setDefaultSectionSize(22);
  list_->viewport()->installEventFilter(this);

  back_ = AddSkinButton(IDC_BACK, 102, 266, 61, 16);
  back_->setEnabled(false);
  next_ = AddSkinButton(IDC_NEXT, 181, 266, 61, 16);
  next_->setEnabled(false);
  exit_ = AddSkinButton(IDC_EXIT, 260, 265, 61, 16);
  refresh_ = AddSkinButton(IDC_REFRESH, 303, 150, 88, 17);
  status_ = AddLabel(IDC_STATUS, 0, 300, 423, 14);
  version_label_ = AddLabel(IDC_VERSION, 23, 51, 93, 10);

  product_link_ = new CHyperLinkButton(this);
  SetControlId(product_link_, IDC_PRODUCT_LINK);
  product_link_->setGeometry(PRODUCT_LINK_RECT);
  product_link_->hide();

  icon_ = QIcon(QPixmap::fromImage(LoadBitmap(APPLICATION_ICON)));

  connect(refresh_, &QPushButton::clicked, this, &CDeviceListPage::OnRefresh);
  connect(next_, &QPushButton::clicked, this, &CDeviceListPage::OnNext);
  connect(exit_, &QPushButton::clicked, this, &CPageBase::reject);
}

CDeviceListPage::~CDeviceListPage() { StopWorker(); }

bool CDeviceListPage::OnInitDialog() {
  setWindowIcon(icon_);
  QPoint origin(theApp.page_origin_x, theApp.page_origin_y);
  background_ = ApplyDeviceListSkin(this, DEVICE_LIST_BACKGROUND, &origin);
  if (!background_.isNull()) {
    theApp.page_origin_x = origin.x();
    theApp.page_origin_y = origin.y();
  }

  PlaceButton(refresh_, DEVICE_LIST_REFRESH_BUTTON);
  PlaceButton(back_, BACK_BUTTON);
  PlaceButton(next_, NEXT_BUTTON);
  PlaceButton(exit_, EXIT_BUTTON);
  list_->setGeometry(DEVICE_LIST_RECT);
  PlaceStatusLine(status_);
  version_label_->setGeometry(VERSION_LABEL_RECT);
  version_label_->SetColor(QColor(0xff, 0xff, 0xff));
  version_label_->SetText(QString::fromLatin1(VERSION_TEXT));

  FinishSetUp();
  banner_ = AddBanner(WORK_BANNER_SIZE.width(), WORK_BANNER_SIZE.height());

  OnRefresh();
  columns_ready_ = true;

  product_link_->show();
  product_link_->SetBackdropBitmap(PRODUCT_BUBBLE);
  product_link_->SetShapeBitmap(PRODUCT_MASK, true);
  product_link_->SetMaskBitmap(PRODUCT_MASK, true);
  product_link_->SetStateBitmaps(PRODUCT_BUBBLE, PRODUCT_BUBBLE, PRODUCT_BUBBLE);
  product_link_->SetLinkTarget(QString::fromLatin1(PRODUCT_PAGE_URL));
  product_link_->SetTipText(QString::fromLatin1(PRODUCT_TIP));
  return true;
}

void CDeviceListPage::OnRefresh() {
  if (!columns_ready_) {
    list_->setRowCount(0);
    list_->setColumnCount(2);
    list_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Mac Address")});
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->setColumnWidth(0, 130);
    list_->setColumnWidth(1, 130);
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  }
  list_->setRowCount(0);
  SetTimer(TIMER_START_WORKER, TIMER_START_WORKER_PERIOD_MS);
  status_->SetText(QString());
  banner_->SetKind(BANNER_SEARCHING);
  banner_->Start();
  selected_device_mac.Clear();
}

void CDeviceListPage::OnTimer(int id) {
  if (id == TIMER_START_WORKER) {
    StartWorker([this] { SearchWorker(); });
    refresh_->setEnabled(false);
    KillTimer(TIMER_START_WORKER);
  } else if (id == TIMER_RX_TICK) {
    tick_rx_timeout();
  }
}

void CDeviceListPage::SearchWorker() {
  char devices[DEVICE_LIST_SIZE] = {};
  std::vector<std::uint8_t> frame(MAX_FRAME_SIZE);
  char hosts[HOST_ADAPTER_MACS_SIZE] = {};
  host_adapter_macs.CopyTo(hosts);

  SetTimer(TIMER_RX_TICK, static_cast<int>(link_timing().tick_period.count()));
  for (int run = 0; run < 2 && !link_stop_requested(); ++run) {
    if (discover_devices(frame.data(), frame.data(), hosts, devices) == 0)
      break;
  }
  KillTimer(TIMER_RX_TICK);
  host_adapter_macs.Set(hosts);

  // A search stopped because the page is leaving chooses nothing.
  if (link_stop_requested())
    return;
  QStringList macs;
  const int count = mac_list_count(devices);
  for (int i = 0; i < count; ++i) {
    const std::string mac(devices + MAC_TEXT_LENGTH * i, MAC_TEXT_LENGTH);
    macs << QString::fromLatin1(mac.c_str());
    selected_device_mac.Set(mac);
  }
  PostToUi([this, macs] { FillList(macs); });
  status_->SetText(QString());
  PostPageMessage(WM_SEARCH_RESULT);
}

void CDeviceListPage::FillList(const QStringList& macs) {
  list_->setRowCount(0);
  for (const QString& mac : macs) {
    const int row = list_->rowCount();
    list_->insertRow(row);
    list_->setItem(row, 0, new QTableWidgetItem(mac));
    list_->setItem(row, 1, new QTableWidgetItem(mac));
  }
}

void CDeviceListPage::OnPageMessage(int message) {
  if (message != WM_SEARCH_RESULT)
    return;
  refresh_->setEnabled(true);
  banner_->Stop();
}

bool CDeviceListPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->viewport() && event->type() == QEvent::MouseButtonRelease)
    OnListClick();
  return CWizardPage::eventFilter(watched, event);
}

void CDeviceListPage::OnListClick() {
  if (list_->rowCount() == 0) {
    next_->setEnabled(false);
    return;
  }
  const QList<QTableWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty())
    return;
  const int row = selected.first()->row();
  next_->setEnabled(true);
  if (QTableWidgetItem* mac = list_->item(row, 1))
    selected_device_mac.Set(mac->text().left(39).toStdString());
}

void CDeviceListPage::OnNext() {
  HandOver([] { return std::make_unique<CSiteSurveyPage>(); });
}
