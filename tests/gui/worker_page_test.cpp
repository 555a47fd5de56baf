// The pattern of the pages that talk to the bridge, on a page of its own: timer 1 starts the
// worker, timer 2 counts the receive time-outs while it runs, its result stops the banner; a
// page that leaves ends its worker's wait at once and gets no result.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_timing.h"
#include "skin/progress_banner.h"
#include "tests/support/scripted_capture.h"
#include "wizard/worker_page.h"

namespace {

constexpr int RESULT = WM_USER + 200;

class TestWorkerPage : public CWorkerPage {
public:
  using Work = std::function<void(const std::stop_token&)>;

  explicit TestWorkerPage(Work work) : CWorkerPage(Page::SiteSurvey, 500, RESULT), work_(work) {}
  ~TestWorkerPage() override { StopWorker(); }

  bool OnInitDialog() override {
    AddWorkBanner();
    return true;
  }
  void Start() { BeginWork(BANNER_PLEASE_WAIT); }

  int started = 0;
  bool running_when_started = false;
  int done = 0;
  bool banner_shown_when_done = true;

private:
  void OnWorkStarted() override {
    ++started;
    running_when_started = WorkerRunning();
  }
  void DoWork(const std::stop_token& stop) override { work_(stop); }
  void OnWorkDone() override {
    ++done;
    banner_shown_when_done = Banner()->isVisible();
  }

  Work work_;
};

} // namespace

TEST(WorkerPage, TicksCountWhileTheWorkRunsAndTheResultStopsTheBanner) {
  ScriptedLink link; // ticks of 10 ms
  std::atomic<int> ticks_seen{-1};
  TestWorkerPage page([&](const std::stop_token&) {
    rx_tick_count = 0;
    std::this_thread::sleep_for(std::chrono::milliseconds{100});
    ticks_seen = rx_tick_count.load();
  });
  page.show();
  QSignalSpy handled(&page, &CPageBase::pageMessageHandled);
  page.Start();
  EXPECT_TRUE(page.Banner()->isVisible());
  EXPECT_EQ(page.started, 0) << "the worker waits for timer 1";

  ASSERT_TRUE(handled.wait(5000));
  EXPECT_EQ(handled.takeFirst().at(0).toInt(), RESULT);
  EXPECT_EQ(page.started, 1);
  EXPECT_TRUE(page.running_when_started);
  EXPECT_GE(ticks_seen.load(), 3) << "timer 2 ticked while the work ran";
  EXPECT_EQ(page.done, 1);
  EXPECT_FALSE(page.banner_shown_when_done);
  EXPECT_FALSE(page.TimerActive(TIMER_START_WORKER));
  EXPECT_FALSE(page.TimerActive(TIMER_RX_TICK)) << "killed once the work ended";
}

TEST(WorkerPage, LeavingEndsALinkWaitAtOnceAndNoResultArrives) {
  ScriptedLink link;
  link_timing().tick_period = std::chrono::seconds{30};
  std::atomic<int> received{-1};
  std::atomic<bool> stop_seen{false};
  TestWorkerPage page([&](const std::stop_token& stop) {
    std::uint8_t buffer[MAX_FRAME_SIZE];
    received =
        receive_frame(BROADCAST_MAC, BROADCAST_MAC, LINK_ETHERTYPE, buffer, MAX_FRAME_SIZE, 3);
    stop_seen = stop.stop_requested();
  });
  page.show();
  page.Start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return page.WorkerRunning(); }, 2000));
  QTest::qWait(20);

  const auto start = std::chrono::steady_clock::now();
  page.StopWorker();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds{2});
  EXPECT_EQ(received.load(), 0);
  EXPECT_TRUE(stop_seen);
  EXPECT_FALSE(link_stop_requested()) << "the next worker starts with a clean link";
  QTest::qWait(30);
  EXPECT_EQ(page.done, 0);
}
