#include "wizard/worker_page.h"

#include "link/frame_exchange.h"
#include "link/link_helper.h"
#include "link/link_timing.h"
#include "skin/progress_banner.h"

CWorkerPage::CWorkerPage(Page page, int idd, int result_message)
    : CWizardPage(page, idd), result_message_(result_message) {}

void CWorkerPage::AddWorkBanner() { banner_ = AddBanner(WORK_BANNER_SIZE); }

QString CWorkerPage::WithLinkFailure(const QString& outcome) {
  const std::string reason = link_failure();
  return reason.empty()
             ? outcome
             : outcome + QStringLiteral(" (") + QString::fromStdString(reason) + QLatin1Char(')');
}

void CWorkerPage::BeginWork(int banner_kind) {
  banner_->SetKind(banner_kind);
  banner_->Start();
  SetTimer(TIMER_START_WORKER, TIMER_START_WORKER_PERIOD_MS);
}

void CWorkerPage::OnTimer(int id) {
  if (id == TIMER_START_WORKER) {
    KillTimer(TIMER_START_WORKER);
    StartWorker([this](std::stop_token stop) { RunWorker(stop); });
    QWidget* focused = focusWidget();
    OnWorkStarted();
    if (focused != nullptr && !focused->isEnabled()) {
      resume_focus_ = focused;
      banner_->setFocus(Qt::OtherFocusReason);
    }
  } else if (id == TIMER_RX_TICK) {
    tick_rx_timeout();
  }
}

void CWorkerPage::RunWorker(const std::stop_token& stop) {
  // Each user action starts with a working link helper, even if the last one was lost.
  recover_link_helper();
  SetTimer(TIMER_RX_TICK, static_cast<int>(link_timing().tick_period.count()));
  {
    // The link procedures know no stop token: a stop of this worker reaches them as the
    // link's stop request, which is cleared again once the procedure has given up.
    std::stop_callback interrupt(stop, request_link_stop);
    DoWork(stop);
  }
  clear_link_stop();
  KillTimer(TIMER_RX_TICK);
  if (!stop.stop_requested())
    PostPageMessage(result_message_);
}

void CWorkerPage::OnPageMessage(int message) {
  if (message != result_message_)
    return;
  const bool holding_focus = focusWidget() == banner_;
  banner_->Stop();
  OnWorkDone();
  if (holding_focus && resume_focus_ && resume_focus_->isEnabled())
    resume_focus_->setFocus(Qt::OtherFocusReason);
  resume_focus_ = nullptr;
}
