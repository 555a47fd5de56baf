// The exit statuses of qbr20g-cli, as its manual page lists them.
#pragma once

#include "link/translation.h"

enum ExitStatus : int {
  EXIT_DONE = 0,
  EXIT_NOT_CONFIRMED = 1, // the bridge did not confirm (in a batch: any bridge)
  EXIT_USAGE = 2,         // bad usage, or a value that fails its check
  EXIT_NO_ADAPTER = 3,    // no usable wired adapter, or no right to capture
  EXIT_NO_BRIDGE = 4,     // no bridge answered
  EXIT_INTERRUPTED = 130, // Ctrl-C
};

// What is said with EXIT_NO_BRIDGE when no bridge answered at all: the cause and the fix.
// Marked for the catalogue; looked up where it is said.
inline constexpr const char* NO_BRIDGE_ANSWERED =
    N_("no bridge answered: check its cable and power, then try again");
