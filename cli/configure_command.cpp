#include "cli/commands.h"

#include <cstdio>

#include "cli/exit_status.h"

int run_configure(const CliOptions&) {
  std::fputs("qbr20g-cli: configure is not built yet\n", stderr);
  return EXIT_USAGE;
}
