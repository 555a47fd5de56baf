#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/page_base.h"
#include "wizard/setup_app.h"

namespace {

int live_pages = 0;
// Timers and messages that reached any test page, on the UI thread.
int deliveries = 0;

class TestPage : public CPageBase {
public:
  explicit TestPage(int idd = 500) : CPageBase(idd) { ++live_pages; }
  ~TestPage() override {
    StopWorker();
    --live_pages;
  }
  std::vector<int> timer_ids;
  std::atomic<int> ticks_seen{0};
  std::vector<int> messages;
  std::atomic<int> ui_thread_calls{0};
  bool initialised = false;

  bool OnInitDialog() override {
    initialised = true;
    return true;
  }
  int enters = 0;

protected:
  void OnTimer(int id) override {
    ++deliveries;
    if (QThread::currentThread() == thread()) {
      timer_ids.push_back(id);
      ++ticks_seen;
    }
  }
  void OnPageMessage(int message) override {
    ++deliveries;
    if (QThread::currentThread() == thread())
      messages.push_back(message);
  }
  void OnEnter() override { ++enters; }
};

} // namespace

TEST(PageBase, WorkerStartsAndStopsTimersAndPostsMessagesThroughTheUiThread) {
  TestPage page;
  QSignalSpy fired(&page, &CPageBase::timerFired);
  QSignalSpy handled(&page, &CPageBase::pageMessageHandled);
  page.StartWorker([&](std::stop_token) {
    page.SetTimer(TIMER_RX_TICK, 5);
    // Until two ticks have come through, however slowly the UI thread runs (sanitizers, load).
    for (int waited = 0; waited < 2000 && page.ticks_seen < 2; waited += 5)
      std::this_thread::sleep_for(std::chrono::milliseconds{5});
    page.KillTimer(TIMER_RX_TICK);
    page.EnableControl(7, false);
    page.PostPageMessage(WM_USER + 100);
  });
  ASSERT_TRUE(handled.wait(2000));
  EXPECT_EQ(page.messages, std::vector<int>{WM_USER + 100});
  EXPECT_GE(page.timer_ids.size(), 2u) << "ticks reached the UI thread";
  for (int id : page.timer_ids)
    EXPECT_EQ(id, TIMER_RX_TICK);
  EXPECT_FALSE(page.TimerActive(TIMER_RX_TICK));
  const auto ticks = page.timer_ids.size();
  QTest::qWait(30);
  EXPECT_EQ(page.timer_ids.size(), ticks) << "killed from the worker, the timer stays dead";
}

TEST(PageBase, StopWorkerHandsTheWorkerItsStopAndWaitsForIt) {
  TestPage page;
  std::atomic<bool> stopped{false};
  page.StartWorker([&](std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, stop, std::chrono::seconds{30}, [] { return false; });
    stopped = stop.stop_requested();
  });
  QTest::qWait(20);
  EXPECT_TRUE(page.WorkerRunning());
  const auto start = std::chrono::steady_clock::now();
  page.StopWorker();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds{2});
  EXPECT_TRUE(stopped);
  EXPECT_FALSE(page.WorkerRunning());
}

TEST(PageBase, MessagesAndTimersOfAPageThatIsGoneAreDropped) {
  deliveries = 0;
  auto page = std::make_unique<TestPage>();
  page->PostPageMessage(WM_USER + 102);
  page->PostToUi([] { ++deliveries; });
  page->SetTimer(TIMER_START_WORKER, 1);
  page.reset();
  QTest::qWait(30);
  EXPECT_EQ(deliveries, 0);
}

TEST(PageBase, InitRunsOnceWhenFirstShownAfterPresets) {
  TestPage page;
  EXPECT_FALSE(page.initialised);
  page.show();
  EXPECT_TRUE(page.initialised);
  page.hide();
  page.initialised = false;
  page.show();
  EXPECT_FALSE(page.initialised);
}

TEST(PageBase, EscapeEndsTheWizard) {
  TestPage page;
  page.HandOver([] { return std::make_unique<TestPage>(); });
  page.show();
  QTest::keyClick(&page, Qt::Key_Escape);
  EXPECT_FALSE(page.isVisible());
  EXPECT_TRUE(page.Ended());
  EXPECT_FALSE(page.TakeNextPage()) << "the key cleared the recorded successor";
}

// Enter never ends a page by itself: it presses the focused push button, or else it is the
// page's to give a meaning, once per press.
TEST(PageBase, EnterPressesTheFocusedButtonOrIsLeftToThePage) {
  for (const Qt::Key key : {Qt::Key_Enter, Qt::Key_Return}) {
    TestPage page;
    auto* edit = new QLineEdit(&page);
    auto* button = new QPushButton(&page);
    button->setAutoDefault(false);
    QSignalSpy clicked(button, &QPushButton::clicked);
    page.show();
    edit->setFocus();
    QTest::keyClick(edit, key);
    EXPECT_TRUE(page.isVisible());
    EXPECT_EQ(page.enters, 1) << "from an edit box, Enter goes to the page";
    EXPECT_EQ(clicked.count(), 0);

    button->setFocus();
    QTest::keyClick(button, key);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(page.enters, 1) << "a focused button takes Enter itself";

    QKeyEvent held(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(button, &held);
    EXPECT_EQ(clicked.count(), 1) << "a held Enter acts once";
    EXPECT_TRUE(page.isVisible());
  }
}

TEST(PageBase, PagesRunOneAfterAnotherWithoutAGrowingStack) {
  std::vector<int> shown;
  int max_live = 0;
  auto make = [&](int idd, CPageBase::PageFactory next) {
    auto page = std::make_unique<TestPage>(idd);
    max_live = std::max(max_live, live_pages);
    TestPage* raw = page.get();
    QTimer::singleShot(0, raw, [raw, &shown, idd, next] {
      shown.push_back(idd);
      if (next)
        raw->HandOver(next);
      else
        raw->reject();
    });
    return page;
  };
  CPageBase::PageFactory third = [&] { return make(3, nullptr); };
  CPageBase::PageFactory second = [&] { return make(2, third); };
  CSetupApp::RunPages(make(1, second));
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(max_live, 1) << "a page is gone before the next one is built";
  EXPECT_EQ(live_pages, 0);
}
