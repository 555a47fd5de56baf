// The wizard as a process: the time from process start to the first page painted, with three
// wired adapters, and the peak memory (VmHWM) through a whole flow from start-up to the finish
// page; each against a bare Qt dialog in a process of the same program. Every figure comes from
// a fresh process (this program run again in one of its modes), started inside the test
// namespace on the offscreen platform. Needs root: it makes its own namespaces.
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_figures.h"
#include "bench/bench_network.h"
#include "tests/gui/wizard_driver.h"
#include "tests/netns/testnet.h"
#include "wizard/device_list_page.h"
#include "wizard/finish_page.h"
#include "wizard/link_state.h"
#include "wizard/page_messages.h"
#include "wizard/setup_app.h"
#include "wizard/site_survey_page.h"
#include "wizard/summary_page.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int STARTUP_RUNS = 5;
constexpr int FLOW_RUNS = 3;
constexpr double STARTUP_TARGET_MS = 1000;
constexpr double RSS_TARGET_RATIO = 1.5;

const char* const SCENARIO = "mac = 02:00:00:00:0b:01\nssid = Previous\nsecmode = 0\n"
                             "network = OpenCafe|a4:2b:b0:00:00:01|1|BG|0|80\n"
                             "network = Office|a4:2b:b0:00:00:03|11|BG|2|70\n";

// Calls `then` once a top-level window has been painted for the first time, after the paint.
class FirstPaint : public QObject {
public:
  explicit FirstPaint(std::function<void(QWidget*)> then) : then_(std::move(then)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
      seen_ = true;
      auto* window = static_cast<QWidget*>(watched);
      QTimer::singleShot(0, window, [this, window] { then_(window); });
    }
    return false;
  }

private:
  std::function<void(QWidget*)> then_;
  bool seen_ = false;
};

double since_spawn_ms(const char* spawned_ns) {
  const Clock::time_point spawned{Clock::duration{std::stoll(spawned_ns)}};
  return std::chrono::duration<double, std::milli>(Clock::now() - spawned).count();
}

// Start-up as main() runs it, until the device list page is first painted; then Exit.
int startup_child(int argc, char** argv, const char* spawned_ns) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  double shown_ms = -1;
  FirstPaint watcher([&](QWidget* window) {
    shown_ms = since_spawn_ms(spawned_ns);
    if (auto* page = dynamic_cast<CDeviceListPage*>(window))
      page->EndWizard();
  });
  app.installEventFilter(&watcher);
  theApp.report_startup_failure = [](const QString& text) {
    std::fprintf(stderr, "start-up failed: %s\n", qPrintable(text));
  };
  theApp.InitInstance();
  std::printf("%.3f %ld\n", shown_ms, peak_rss_kib());
  return shown_ms < 0 ? 1 : 0;
}

// A bare dialog of the pages' size, until it is first painted.
int bare_child(int argc, char** argv, const char* spawned_ns) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.resize(635, 474);
  double shown_ms = -1;
  FirstPaint watcher([&](QWidget*) {
    shown_ms = since_spawn_ms(spawned_ns);
    dialog.done(0);
  });
  app.installEventFilter(&watcher);
  dialog.exec();
  std::printf("%.3f %ld\n", shown_ms, peak_rss_kib());
  return shown_ms < 0 ? 1 : 0;
}

// The whole flow against the emulated bridge: search, survey, the open network, save, finish.
// Short link timings: memory does not depend on how long the waits last.
int flow_child(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  netns::QuickLinkTiming timing;
  if (!start_up_link())
    return 1;
  WizardDriver wizard(std::make_unique<CDeviceListPage>());
  bool ok = wizard.WaitForMessage(WM_SEARCH_RESULT);
  wizard.ClickRow(CDeviceListPage::IDC_LIST, 0);
  wizard.Click(CDeviceListPage::IDC_NEXT);
  ok = ok && wizard.Advance() && wizard.WaitForMessage(WM_SURVEY_RESULT);
  wizard.ClickRow(CSiteSurveyPage::IDC_LIST, 0);
  wizard.Click(CSiteSurveyPage::IDC_NEXT);
  ok = ok && wizard.Advance() && wizard.page()->Idd() == CSummaryPage::IDD;
  wizard.Click(CSummaryPage::IDC_NEXT);
  ok = ok && wizard.WaitForMessage(WM_SAVE_RESULT) && wizard.Advance() &&
       wizard.page()->Idd() == CFinishPage::IDD;
  QTest::qWait(200);
  std::printf("0 %ld\n", peak_rss_kib());
  return ok ? 0 : 1;
}

struct ChildResult {
  bool ok = false;
  double shown_ms = 0;
  double peak_kib = 0;
};

// Runs this program again in `mode`, telling it when it was started.
ChildResult run_child(const std::string& mode) {
  char self[PATH_MAX] = {};
  if (readlink("/proc/self/exe", self, sizeof self - 1) < 0)
    return {};
  int out[2];
  if (pipe(out) != 0)
    return {};
  const std::string spawned = std::to_string(Clock::now().time_since_epoch().count());
  const pid_t child = fork();
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    execl(self, self, mode.c_str(), spawned.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string text;
  char chunk[256];
  for (ssize_t got; (got = read(out[0], chunk, sizeof chunk)) > 0;)
    text.append(chunk, static_cast<std::size_t>(got));
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ChildResult result;
  result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
              std::sscanf(text.c_str(), "%lf %lf", &result.shown_ms, &result.peak_kib) == 2;
  return result;
}

bool run_children(const std::string& mode, int runs, std::vector<double>* shown,
                  std::vector<double>* peak) {
  for (int i = 0; i < runs; ++i) {
    const ChildResult result = run_child(mode);
    if (!result.ok) {
      std::printf("the %s run failed\n", mode.c_str());
      return false;
    }
    shown->push_back(result.shown_ms);
    peak->push_back(result.peak_kib);
  }
  return true;
}

} // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--startup") == 0)
    return startup_child(1, argv, argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "--bare") == 0)
    return bare_child(1, argv, argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "--flow") == 0)
    return flow_child(1, argv);

  if (skipped_without_namespaces("wizard_bench"))
    return 0;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  try {
    netns::TestNet net;
    const auto wizard = net.add_namespace("wiz");
    const auto bridge = net.add_namespace("br");
    const auto quiet = net.add_namespace("quiet");
    net.add_veth(wizard, "eth0", "02:00:00:00:0a:01", bridge, "br0", "-");
    net.add_veth(wizard, "eth1", "02:00:00:00:0a:02", quiet, "q1", "-");
    net.add_veth(wizard, "eth2", "02:00:00:00:0a:03", quiet, "q2", "-");
    auto& emulator = net.start_emulator(bridge, "br0", SCENARIO);
    net.enter(wizard);

    std::vector<double> startup_ms, startup_kib, bare_ms, bare_kib, flow_ms, flow_kib;
    run_child("--bare"); // warms the page cache for both
    if (!run_children("--startup", STARTUP_RUNS, &startup_ms, &startup_kib) ||
        !run_children("--bare", STARTUP_RUNS, &bare_ms, &bare_kib) ||
        !run_children("--flow", FLOW_RUNS, &flow_ms, &flow_kib))
      return 1;
    if (emulator.settings().rfind("7000 :OpenCafe\n", 0) != 0) {
      std::printf("the flow did not store its settings in the bridge\n");
      return 1;
    }

    const Figures startup = figures_of(startup_ms);
    const Figures bare = figures_of(bare_ms);
    const double flow_peak = figures_of(flow_kib).median;
    const double bare_peak = figures_of(bare_kib).median;
    std::printf("start-up to the device list page painted, 3 wired adapters, %d runs: "
                "median %.1f ms, max %.1f ms\n",
                STARTUP_RUNS, startup.median, startup.max);
    std::printf("bare Qt dialog painted, %d runs: median %.1f ms, max %.1f ms\n", STARTUP_RUNS,
                bare.median, bare.max);
    std::printf("peak RSS: whole flow %.1f MiB (median of %d), start-up only %.1f MiB, bare Qt "
                "dialog %.1f MiB\n",
                flow_peak / 1024, FLOW_RUNS, figures_of(startup_kib).median / 1024,
                bare_peak / 1024);
    print_row("start-up to first page painted, 3 wired adapters, median",
              format("%.0f ms", startup.median), "< 1000 ms",
              format("%.2fx a bare Qt dialog", startup.median / bare.median),
              startup.median < STARTUP_TARGET_MS);
    print_row("peak RSS through a whole flow (VmHWM), median", format("%.1f MiB", flow_peak / 1024),
              "< 1.5x bare Qt dialog", format("%.2fx a bare Qt dialog", flow_peak / bare_peak),
              flow_peak < RSS_TARGET_RATIO * bare_peak);
  } catch (const std::exception& failure) {
    std::printf("wizard_bench failed: %s\n", failure.what());
    return 1;
  }
  return 0;
}
