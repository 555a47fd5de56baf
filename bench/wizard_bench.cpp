// The wizard as a process: the time from process start to the first page painted, with three
// wired adapters, and the peak memory (VmHWM) of the wizard and its link helper through a whole
// flow from start-up to the finish page; each against a bare Qt dialog in a process of the same
// program, and against the wizard with its captures in its own process (as before the helper).
// Every figure comes from a fresh process (this program run again in one of its modes), started
// inside the test namespace on the offscreen platform. The wizard's figures are taken in English
// and again in every other language it ships. Needs root: it makes its own namespaces.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <atomic>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "bench/bench_figures.h"
#include "bench/bench_network.h"
#include "link/adapter_access.h"
#include "link/link_helper.h"
#include "link/pcap_adapter_access.h"
#include "link/translation.h"
#include "platform/ui_language.h"
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
constexpr double STARTUP_TARGET_MS = 150;
constexpr double RSS_TARGET_RATIO = 1.5;
constexpr double HELPER_RSS_TARGET_KIB = 4 * 1024;
// The languages besides English, as LANGUAGE names them, and as the rows name them.
const std::pair<const char*, const char*> OTHER_LANGUAGES[] = {
    {"de", "German"}, {"fr", "French"}, {"es", "Spanish"}};

// The children run as the wizard does, through the link helper of the build tree, unless told
// to open their captures themselves.
void choose_link(bool in_process) {
  set_link_helper_path(QBR20G_LINK_HELPER_PATH);
  if (in_process)
    replace_adapter_access(make_pcap_adapter_access());
}

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
int startup_child(int argc, char** argv, const char* spawned_ns, bool in_process) {
  choose_link(in_process);
  translation::set_up_messages(QBR20G_LOCALE_OUTPUT);
  QApplication app(argc, argv);
  SetLanguageArtworkDir(QStringLiteral(QBR20G_ARTWORK_OUTPUT));
  InstallUiLanguage();
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
  std::printf("%.3f %ld 0\n", shown_ms, peak_rss_kib());
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
  std::printf("%.3f %ld 0\n", shown_ms, peak_rss_kib());
  return shown_ms < 0 ? 1 : 0;
}

// The whole flow against the emulated bridge: search, survey, the open network, save, finish.
// Short link timings: memory does not depend on how long the waits last. Reports the wizard's
// peak and its helper's.
int flow_child(int argc, char** argv, bool in_process) {
  choose_link(in_process);
  translation::set_up_messages(QBR20G_LOCALE_OUTPUT);
  QApplication app(argc, argv);
  SetLanguageArtworkDir(QStringLiteral(QBR20G_ARTWORK_OUTPUT));
  InstallUiLanguage();
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
  const std::shared_ptr<LinkHelper> helper = in_process ? nullptr : link_helper();
  std::printf("0 %ld %ld\n", peak_rss_kib(), helper ? peak_rss_kib(helper->pid()) : 0L);
  return ok ? 0 : 1;
}

struct ChildResult {
  bool ok = false;
  double shown_ms = 0;
  double peak_kib = 0;
  double helper_peak_kib = 0;
  double together_peak_kib = 0; // the most memory the child and its own children held at once
};

// The processes that `pid` started (the link helper), from every thread's list.
std::vector<pid_t> children_of(pid_t pid) {
  std::vector<pid_t> children;
  std::error_code failed;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", failed)) {
    std::ifstream list(task.path() / "children");
    for (pid_t child; list >> child;)
      children.push_back(child);
  }
  return children;
}

// The physical pages resident in any of `pids`, each counted once however many of them map it
// (libc, the Qt libraries and the like are shared between the wizard and its helper), in KiB.
// Root reads the page frames from /proc/PID/pagemap.
double resident_together_kib(const std::vector<pid_t>& pids) {
  std::unordered_set<std::uint64_t> frames;
  const long page = sysconf(_SC_PAGESIZE);
  for (const pid_t pid : pids) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    const int pagemap = open(("/proc/" + std::to_string(pid) + "/pagemap").c_str(), O_RDONLY);
    if (pagemap < 0)
      continue;
    std::string line;
    std::vector<std::uint64_t> entries;
    while (std::getline(maps, line)) {
      if (line.find("[vsyscall]") != std::string::npos || line.find("[vvar") != std::string::npos)
        continue;
      std::uint64_t start = 0;
      std::uint64_t end = 0;
      if (std::sscanf(line.c_str(), "%" SCNx64 "-%" SCNx64, &start, &end) != 2)
        continue;
      entries.resize((end - start) / static_cast<std::uint64_t>(page));
      const ssize_t got = pread(
          pagemap, entries.data(), entries.size() * sizeof(std::uint64_t),
          static_cast<off_t>(start / static_cast<std::uint64_t>(page) * sizeof(std::uint64_t)));
      for (ssize_t i = 0; i < got / static_cast<ssize_t>(sizeof(std::uint64_t)); ++i)
        if (entries[static_cast<std::size_t>(i)] >> 63) // present
          frames.insert(entries[static_cast<std::size_t>(i)] & ((1ull << 55) - 1));
    }
    close(pagemap);
  }
  return static_cast<double>(frames.size()) * static_cast<double>(page) / 1024;
}

// Runs this program again in `mode`, telling it when it was started.
ChildResult run_child(const std::string& mode, bool sample_together = false) {
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
  std::atomic<bool> done{false};
  double together_peak = 0;
  std::thread sampler;
  if (sample_together)
    sampler = std::thread([&] {
      while (!done) {
        std::vector<pid_t> pids = children_of(child);
        pids.push_back(child);
        together_peak = std::max(together_peak, resident_together_kib(pids));
        std::this_thread::sleep_for(std::chrono::milliseconds{20});
      }
    });
  std::string text;
  char chunk[256];
  for (ssize_t got; (got = read(out[0], chunk, sizeof chunk)) > 0;)
    text.append(chunk, static_cast<std::size_t>(got));
  close(out[0]);
  done = true;
  if (sampler.joinable())
    sampler.join();
  int status = 0;
  waitpid(child, &status, 0);
  ChildResult result;
  result.together_peak_kib = together_peak;
  result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
              std::sscanf(text.c_str(), "%lf %lf %lf", &result.shown_ms, &result.peak_kib,
                          &result.helper_peak_kib) == 3;
  return result;
}

bool run_children(const std::string& mode, int runs, std::vector<double>* shown,
                  std::vector<double>* peak, std::vector<double>* helper_peak = nullptr,
                  std::vector<double>* together_peak = nullptr) {
  for (int i = 0; i < runs; ++i) {
    const ChildResult result = run_child(mode, together_peak != nullptr);
    if (!result.ok) {
      std::printf("the %s run failed\n", mode.c_str());
      return false;
    }
    shown->push_back(result.shown_ms);
    peak->push_back(result.peak_kib);
    if (helper_peak)
      helper_peak->push_back(result.helper_peak_kib);
    if (together_peak)
      together_peak->push_back(result.together_peak_kib);
  }
  return true;
}

} // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 3 ? argv[1] : "";
  if (mode == "--startup" || mode == "--startup-in-process")
    return startup_child(1, argv, argv[2], mode == "--startup-in-process");
  if (mode == "--bare")
    return bare_child(1, argv, argv[2]);
  if (mode == "--flow" || mode == "--flow-in-process")
    return flow_child(1, argv, mode == "--flow-in-process");

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
    setenv("LANGUAGE", "en", 1);

    std::vector<double> startup_ms, startup_kib, bare_ms, bare_kib, flow_ms, flow_kib, helper_kib;
    std::vector<double> local_ms, local_kib, local_flow_ms, local_flow_kib, together_kib;
    run_child("--bare"); // warms the page cache for all
    if (!run_children("--startup", STARTUP_RUNS, &startup_ms, &startup_kib) ||
        !run_children("--startup-in-process", STARTUP_RUNS, &local_ms, &local_kib) ||
        !run_children("--bare", STARTUP_RUNS, &bare_ms, &bare_kib) ||
        !run_children("--flow", FLOW_RUNS, &flow_ms, &flow_kib, &helper_kib, &together_kib) ||
        !run_children("--flow-in-process", FLOW_RUNS, &local_flow_ms, &local_flow_kib))
      return 1;
    if (emulator.settings().rfind("7000 :OpenCafe\n", 0) != 0) {
      std::printf("the flow did not store its settings in the bridge\n");
      return 1;
    }

    const Figures startup = figures_of(startup_ms);
    const Figures local = figures_of(local_ms);
    const Figures bare = figures_of(bare_ms);
    const double wizard_peak = figures_of(flow_kib).median;
    const double helper_peak = figures_of(helper_kib).median;
    const double local_peak = figures_of(local_flow_kib).median;
    const double bare_peak = figures_of(bare_kib).median;
    const double flow_peak = figures_of(together_kib).median;
    std::printf("start-up to the device list page painted, 3 wired adapters, %d runs: "
                "median %.1f ms, max %.1f ms (captures in the wizard's own process: median "
                "%.1f ms)\n",
                STARTUP_RUNS, startup.median, startup.max, local.median);
    std::printf("bare Qt dialog painted, %d runs: median %.1f ms, max %.1f ms\n", STARTUP_RUNS,
                bare.median, bare.max);
    std::printf("peak RSS through a whole flow (median of %d): wizard %.1f MiB, link helper "
                "%.1f MiB (%.1f MiB of it shared with the wizard: libc and the like); both "
                "together, each page once, sampled every 20 ms: %.1f MiB; captures in the "
                "wizard's own process: %.1f MiB; start-up only %.1f MiB; bare Qt dialog "
                "%.1f MiB\n",
                FLOW_RUNS, wizard_peak / 1024, helper_peak / 1024,
                std::max(0.0, wizard_peak + helper_peak - flow_peak) / 1024, flow_peak / 1024,
                local_peak / 1024, figures_of(startup_kib).median / 1024, bare_peak / 1024);
    print_row("start-up to first page painted, 3 wired adapters, median",
              format("%.0f ms", startup.median), "< 150 ms",
              format("%.2fx captures in process", startup.median / local.median),
              startup.median < STARTUP_TARGET_MS);
    print_peer_row("start-up, captures in the wizard's own process (before the helper), median",
                   format("%.0f ms", local.median),
                   format("%.2fx a bare Qt dialog", local.median / bare.median));
    print_row("peak memory of wizard + link helper through a whole flow, median",
              format("%.1f MiB", flow_peak / 1024), "< 1.5x bare Qt dialog",
              format("%.2fx a bare Qt dialog", flow_peak / bare_peak),
              flow_peak < RSS_TARGET_RATIO * bare_peak);
    print_row("peak RSS of the link helper through a whole flow (VmHWM), median",
              format("%.2f MiB", helper_peak / 1024), "< 4 MiB",
              format("%.2fx the wizard's", helper_peak / wizard_peak),
              helper_peak > 0 && helper_peak < HELPER_RSS_TARGET_KIB);

    // The same start-up and flow in each other language: its translations, Qt's own, the
    // gettext catalogue and its own pictures.
    for (const auto& [language, name] : OTHER_LANGUAGES) {
      setenv("LANGUAGE", language, 1);
      std::vector<double> ms, kib, unused, flow_unused, helper_unused, together;
      if (!run_children("--startup", STARTUP_RUNS, &ms, &kib) ||
          !run_children("--flow", FLOW_RUNS, &flow_unused, &unused, &helper_unused, &together))
        return 1;
      const double shown = figures_of(ms).median;
      const double peak = figures_of(together).median;
      std::printf("in %s: start-up median %.1f ms; peak of wizard + link helper through a "
                  "whole flow %.1f MiB\n",
                  name, shown, peak / 1024);
      print_row(std::string("start-up to first page painted, 3 wired adapters, median, in ") + name,
                format("%.0f ms", shown), "< 150 ms",
                format("%.2fx in English", shown / startup.median), shown < STARTUP_TARGET_MS);
      print_row(
          std::string("peak memory of wizard + link helper through a whole flow, median, in ") +
              name,
          format("%.1f MiB", peak / 1024), "< 1.5x bare Qt dialog",
          format("%.2fx a bare Qt dialog", peak / bare_peak), peak < RSS_TARGET_RATIO * bare_peak);
    }
  } catch (const std::exception& failure) {
    std::printf("wizard_bench failed: %s\n", failure.what());
    return 1;
  }
  return 0;
}
