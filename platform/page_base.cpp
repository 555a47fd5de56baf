#include "platform/page_base.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <utility>

void SetControlId(QWidget* control, int id) {
  control->setObjectName(QStringLiteral("control_%1").arg(id));
}

QWidget* FindControl(const QWidget* page, int id) {
  return page->findChild<QWidget*>(QStringLiteral("control_%1").arg(id));
}

CPageBase::CPageBase(int idd, QWidget* parent)
    : QDialog(parent), idd_(idd), worker_running_(std::make_shared<std::atomic<bool>>(false)) {
  setAttribute(Qt::WA_DeleteOnClose, false);
}

CPageBase::~CPageBase() { StopWorker(); }

void CPageBase::setVisible(bool visible) {
  if (visible && !initialized_) {
    initialized_ = true;
    OnInitDialog();
  }
  QDialog::setVisible(visible);
}

void CPageBase::SetTimer(int id, int period_ms) {
  if (QThread::currentThread() != thread()) {
    PostToUi([this, id, period_ms] { SetTimer(id, period_ms); });
    return;
  }
  QTimer*& timer = timers_[id];
  if (!timer) {
    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, id] {
      OnTimer(id);
      emit timerFired(id);
    });
  }
  timer->start(period_ms);
}

void CPageBase::KillTimer(int id) {
  if (QThread::currentThread() != thread()) {
    PostToUi([this, id] { KillTimer(id); });
    return;
  }
  auto found = timers_.find(id);
  if (found != timers_.end())
    found->second->stop();
}

bool CPageBase::TimerActive(int id) const {
  auto found = timers_.find(id);
  return found != timers_.end() && found->second->isActive();
}

void CPageBase::PostPageMessage(int message) {
  PostToUi([this, message] {
    OnPageMessage(message);
    emit pageMessageHandled(message);
  });
}

void CPageBase::PostToUi(std::function<void()> call) {
  // The page is the call's context: Qt drops the call if the page is destroyed first.
  QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void CPageBase::EnableControl(int id, bool enabled) {
  if (QThread::currentThread() != thread()) {
    PostToUi([this, id, enabled] { EnableControl(id, enabled); });
    return;
  }
  if (QWidget* control = FindControl(this, id))
    control->setEnabled(enabled);
}

void CPageBase::StartWorker(std::function<void(std::stop_token)> body) {
  StopWorker();
  *worker_running_ = true;
  worker_ = std::jthread([running = worker_running_, body = std::move(body)](std::stop_token stop) {
    body(std::move(stop));
    *running = false;
  });
}

void CPageBase::StopWorker() {
  if (!worker_.joinable())
    return;
  worker_.request_stop();
  worker_.join();
}

bool CPageBase::WorkerRunning() const { return *worker_running_; }

void CPageBase::HandOver(PageFactory next) {
  next_ = std::move(next);
  ended_ = false;
  done(QDialog::Accepted);
}

void CPageBase::EndWizard() {
  next_ = nullptr;
  ended_ = true;
  done(QDialog::Rejected);
}

CPageBase::PageFactory CPageBase::TakeNextPage() { return std::exchange(next_, nullptr); }

void CPageBase::OnTimer(int) {}

void CPageBase::OnPageMessage(int) {}

void CPageBase::accept() { EndWizard(); }

void CPageBase::reject() { EndWizard(); }

bool CPageBase::PressIfUsable(QAbstractButton* button) {
  if (button == nullptr || !button->isEnabled() || !button->isVisible())
    return false;
  button->click();
  return true;
}

void CPageBase::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
  case Qt::Key_Escape:
    EndWizard();
    return;
  case Qt::Key_Enter:
  case Qt::Key_Return:
    if (!event->isAutoRepeat()) {
      if (!PressIfUsable(qobject_cast<QPushButton*>(focusWidget())))
        OnEnter();
    }
    return;
  default:
    QDialog::keyPressEvent(event);
  }
}
