// The commands of qbr20g-cli. Each returns the program's exit status (exit_status.h); results
// go to standard output, messages and progress to standard error.
#pragma once

#include "cli/cli_options.h"

int run_adapters(const CliOptions& options);
int run_list(const CliOptions& options);
int run_survey(const CliOptions& options);
int run_show(const CliOptions& options);
int run_configure(const CliOptions& options);
