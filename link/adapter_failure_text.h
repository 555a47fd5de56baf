// What a front end tells the user when no wired adapter can be used, worded as Wireshark words
// a capture error: a primary line, then the cause and the fix. The wizard shows it in its
// start-up message box, the command line on standard error.
#pragma once

#include <string>

#include "link/adapter_selection.h"

struct AdapterFailureText {
  std::string primary;   // "Error: NIC not found!"
  std::string secondary; // paragraphs split by blank lines; command lines indented by four
};

// The text for a failed adapter search. `error` is libpcap's text for the last capture that
// would not open, why the link helper could not be started, or why it could not list the
// adapters (then beginning with helper_protocol::LISTING_FAILED); it may be empty. `helper_path`
// the link helper, the program that needs the right to capture; `setcap_path` where setcap is
// installed, empty when it is not; `front_end` the program that speaks, as the user knows it
// ("the wizard", "qbr20g-cli"), so that the fix says which one to start again.
AdapterFailureText adapter_failure_text(AdapterSearchFailure failure, const std::string& error,
                                        const std::string& helper_path,
                                        const std::string& setcap_path,
                                        const std::string& front_end);

// The package that installs the link helper and gives it its capability.
inline constexpr const char* LINK_HELPER_PACKAGE = "qbr20g-link";

// setcap on this machine: on PATH, else in /usr/sbin or /sbin (ordinary users' PATH often lacks
// them, where Debian puts it); empty when libcap2-bin is not installed.
std::string find_setcap();
