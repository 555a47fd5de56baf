// Base of every wizard page: a QDialog with the services the pages lean on — timers by id,
// posted page messages, queued control updates, control lookup by id, one worker thread, and
// the hand-over to the next page.
#pragma once

#include <QDialog>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <stop_token>
#include <thread>

class QAbstractButton;
class QTimer;

constexpr int WM_USER = 0x0400;

// Page timers: 1 starts the page's worker, 2 advances the receive time-out while it runs.
constexpr int TIMER_START_WORKER = 1;
constexpr int TIMER_RX_TICK = 2;
constexpr int TIMER_START_WORKER_PERIOD_MS = 10;

// Controls carry their numeric id as object name "control_<id>".
void SetControlId(QWidget* control, int id);
QWidget* FindControl(const QWidget* page, int id);
template <typename T> T* FindControlAs(const QWidget* page, int id) {
  return qobject_cast<T*>(FindControl(page, id));
}

class CPageBase : public QDialog {
  Q_OBJECT

public:
  using PageFactory = std::function<std::unique_ptr<CPageBase>()>;

  explicit CPageBase(int idd, QWidget* parent = nullptr);
  ~CPageBase() override;

  int Idd() const { return idd_; }

  // Runs once, just before the page is first shown, after its opener preset its fields.
  virtual bool OnInitDialog() { return true; }
  void setVisible(bool visible) override;

  // Timers by id; from any thread (a worker's request runs on the UI thread).
  void SetTimer(int id, int period_ms);
  void KillTimer(int id);
  bool TimerActive(int id) const; // UI thread

  // Posts a private message to OnPageMessage; from any thread. Dropped if the page is gone.
  void PostPageMessage(int message);
  // Runs `call` later on the UI thread; from any thread. Dropped if the page is gone.
  void PostToUi(std::function<void()> call);
  // Enables or disables the control with `id`; from any thread.
  void EnableControl(int id, bool enabled);

  // The page's worker: `body` runs on a thread of its own with the worker's stop token. Only
  // one runs at a time. A page whose worker touches its members calls StopWorker() in its own
  // destructor, before those members go.
  void StartWorker(std::function<void(std::stop_token)> body);
  // Requests the worker's stop, then waits for it to end.
  void StopWorker();
  bool WorkerRunning() const;

  // Records the page that follows and closes this one. The wizard's page loop builds the
  // successor once this page (and its worker) are gone.
  void HandOver(PageFactory next);
  // Closes the page with no successor: the wizard ends.
  void EndWizard();
  PageFactory TakeNextPage();
  bool Ended() const { return ended_; }

  // Exit (Cancel), Escape and the dialog's OK command end the wizard.
  void accept() override;
  void reject() override;

signals:
  // Emitted after OnPageMessage has run; tests wait on it.
  void pageMessageHandled(int message);
  void timerFired(int id);

protected:
  virtual void OnTimer(int id);
  virtual void OnPageMessage(int message);
  // What Enter does on the page when no push button has the focus: nothing here.
  virtual void OnEnter() {}
  // Clicks `button` if it is there, enabled and shown, as a click of the user's would. True
  // when it did.
  static bool PressIfUsable(QAbstractButton* button);

  // Escape ends the wizard. Enter presses the push button that has the focus, or else runs
  // OnEnter; a held Enter acts once, so it cannot run on through the pages that follow.
  void keyPressEvent(QKeyEvent* event) override;

private:
  const int idd_;
  std::map<int, QTimer*> timers_;
  std::jthread worker_;
  std::shared_ptr<std::atomic<bool>> worker_running_;
  PageFactory next_;
  bool ended_ = false;
  bool initialized_ = false;
};
