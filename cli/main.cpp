// qbr20g-cli: sets up QBR20G bridges from a terminal, over SSH, in a script, or a whole fleet at
// once, on the same link and device procedures as the wizard, through the same link helper.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <iostream>
#include <thread>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/terminal_prompt.h"
#include "link/link_timing.h"
#include "link/translation.h"

namespace {

// Signals are taken by a thread of their own, outside any signal handler, so that what they
// ask for may lock. Before the command talks to any bridge (it is reading its input, perhaps a
// secret), a Ctrl-C ends it at once. Once it does, the first Ctrl-C (or SIGTERM) winds the work
// down: no new step starts, the steps under way end or time out as they would, and every row
// is printed; a second one ends the waits at once; a third ends the program.
void watch_signals(const sigset_t& signals, bool quiet) {
  std::thread([signals, quiet] {
    for (int received = 1;; ++received) {
      int signal = 0;
      sigwait(&signals, &signal);
      restore_terminal();
      if (!link_work_begun() || received >= 3) {
        std::fputs("\n", stderr);
        _exit(EXIT_INTERRUPTED);
      }
      if (received == 1) {
        request_link_wind_down();
        if (!quiet)
          std::fprintf(stderr, "\n%s\n",
                       _("qbr20g-cli: interrupted; finishing the steps under way (Ctrl-C again "
                         "to stop them)"));
      } else {
        request_link_stop();
      }
    }
  }).detach();
}

} // namespace

int main(int argc, char** argv) {
  translation::set_up_messages(QBR20G_LOCALE_FROM_BIN);
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  int status = EXIT_USAGE;
  const std::optional<CliOptions> options = parse_cli_options(argc, argv, &status);
  if (options) {
    // JSON is for programs: the reasons its rows quote from the link stay English.
    if (options->json)
      translation::keep_link_reasons_english();
    watch_signals(signals, options->quiet);
    for (const Command& command : command_table()) {
      if (options->command != command.name)
        continue;
      const CommandResult result = command.run(*options);
      if (result.table)
        print_table(*result.table, options->json);
      if (!options->quiet)
        for (const std::string& note : result.notes)
          std::fprintf(stderr, "%s\n", note.c_str());
      for (const std::string& error : result.errors)
        std::fprintf(stderr, "%s\n", error.c_str());
      status = result.status;
    }
  }
  std::cout.flush();
  std::fflush(stdout);
  std::fflush(stderr);
  // The link helpers end by themselves once this process's ends of their socket pairs close;
  // waiting for them to close their captures would only hold up a script.
  _exit(status);
}
