// The pattern of the pages that talk to the bridge (device list, site survey, summary), written
// once. The page's start action shows its banner and sets timer 1; timer 1 starts the worker;
// the worker keeps timer 2 ticking for the receive time-outs while it runs the page's
// procedure, then posts the page's result message; on that message the banner stops and the
// page shows the outcome. A page that leaves stops its worker: the procedure gives up at its
// next read or pause, and no result is posted. When the work disables the control that has the
// keyboard focus, the banner holds the focus until the result, and the control then gets it back:
// a key meant for it never lands on its neighbour (Enter after a failed save presses Next again,
// not Exit).
#pragma once

#include <QPointer>

#include <stop_token>

#include "wizard/wizard_page.h"

class CWorkerPage : public CWizardPage {
  Q_OBJECT

public:
  CProgressBanner* Banner() const { return banner_; }

protected:
  // A page stops its worker in its own destructor (StopWorker): until then its DoWork may run
  // and use the page's members.
  CWorkerPage(Page page, int idd, int result_message);

  // At set-up, once the page has its size: the banner, hidden, in the middle.
  void AddWorkBanner();
  // The start action's common part: the banner of `banner_kind` runs and timer 1 is set.
  void BeginWork(int banner_kind);

  // UI thread, as the worker starts: disables what the page keeps from the user meanwhile.
  virtual void OnWorkStarted() = 0;
  // Worker thread, while timer 2 ticks: runs the procedure and records its outcome. `stop` is
  // requested when the page leaves; then nothing needs recording.
  virtual void DoWork(const std::stop_token& stop) = 0;
  // UI thread, on the result message, after the banner stopped: shows the outcome.
  virtual void OnWorkDone() = 0;

  // A failed procedure's outcome as the page words it, and after it, when the link knows one,
  // the reason (a helper that ended, a frame it refused): "Save config failed ! (...)".
  static QString WithLinkFailure(const QString& outcome);

private:
  void OnTimer(int id) final;
  void OnPageMessage(int message) final;
  void RunWorker(const std::stop_token& stop);

  const int result_message_;
  CProgressBanner* banner_ = nullptr;
  QPointer<QWidget> resume_focus_;
};
