// qbr20g-cli: sets up QBR20G bridges from a terminal, over SSH, in a script, or a whole batch at
// once, on the same link and device procedures as the wizard, through the same link helper.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <thread>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/terminal_prompt.h"
#include "link/link_timing.h"

namespace {

std::atomic<bool> finished{false};

// Ctrl-C (and a plain kill) asks the link to stop: the wait under way ends at once and nothing
// more is sent. Signals are taken by a thread of their own, outside any signal handler, so the
// stop request may lock. If the program is held elsewhere (reading a secret), it ends anyway.
void watch_signals(const sigset_t& signals) {
  std::thread([signals] {
    int signal = 0;
    sigwait(&signals, &signal);
    request_link_stop();
    restore_terminal();
    for (int waited = 0; waited < 2000 && !finished; waited += 10)
      std::this_thread::sleep_for(std::chrono::milliseconds{10});
    if (!finished) {
      std::fputs("\n", stderr);
      _exit(EXIT_INTERRUPTED);
    }
  }).detach();
}

int run(const CliOptions& options) {
  switch (options.command) {
  case CliCommand::Adapters:
    return run_adapters(options);
  case CliCommand::List:
    return run_list(options);
  case CliCommand::Survey:
    return run_survey(options);
  case CliCommand::Show:
    return run_show(options);
  case CliCommand::Configure:
    return run_configure(options);
  }
  return EXIT_USAGE;
}

} // namespace

int main(int argc, char** argv) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  int status = EXIT_USAGE;
  const std::optional<CliOptions> options = parse_cli_options(argc, argv, &status);
  if (options) {
    watch_signals(signals);
    status = run(*options);
    if (link_stop_requested()) {
      status = EXIT_INTERRUPTED;
      if (!options->quiet)
        std::fputs("qbr20g-cli: interrupted; nothing more was sent\n", stderr);
    }
  }
  finished = true;
  std::cout.flush();
  std::fflush(stdout);
  std::fflush(stderr);
  // The link helper ends by itself once this process's end of the socket pair closes; waiting
  // for it to close its captures would only hold up a script.
  _exit(status);
}
