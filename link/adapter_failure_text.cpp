#include "link/adapter_failure_text.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "link/helper_protocol.h"

AdapterFailureText adapter_failure_text(AdapterSearchFailure failure, const std::string& error,
                                        const std::string& helper_path,
                                        const std::string& setcap_path,
                                        const std::string& front_end) {
  AdapterFailureText text;
  std::string subject = front_end; // at the start of a sentence: "The wizard", "qbr20g-cli"
  if (subject.rfind("the ", 0) == 0)
    subject[0] = 'T';
  const std::string again = "start " + front_end + " again";
  text.primary = "Error: NIC not found!";
  // The right to capture belongs to the link helper alone, never to a front end.
  const std::string grant = setcap_path.empty()
                                ? "    sudo apt-get install libcap2-bin\n"
                                  "    sudo /usr/sbin/setcap cap_net_raw=ep " +
                                      helper_path
                                : "    sudo " + setcap_path + " cap_net_raw=ep " + helper_path;
  if (failure == AdapterSearchFailure::ListingFailed &&
      error.rfind(helper_protocol::LISTING_FAILED, 0) == 0) {
    // The helper runs, but the system would not give it the adapters.
    text.secondary = subject + "'s link helper, " + helper_path + ", " + error +
                     ".\n\n"
                     "Start " +
                     front_end + " again; should it fail the same way, reinstall the package " +
                     LINK_HELPER_PACKAGE + ".";
    return text;
  }
  if (failure == AdapterSearchFailure::ListingFailed) {
    text.secondary = subject + " reaches the network adapters through its link helper, " +
                     helper_path + ", which could not be started (" + error +
                     ").\n\n"
                     "Reinstall the package " +
                     LINK_HELPER_PACKAGE +
                     ", or, for a build of your own, make the helper executable and give it the "
                     "right to capture, then " +
                     again + ":\n\n" + grant;
    return text;
  }
  // libpcap's words, or the link helper's.
  const std::string libpcap_words = error.empty() ? "" : " (" + error + ")";
  if (failure == AdapterSearchFailure::PermissionDenied) {
    text.secondary = subject + "'s link helper, " + helper_path +
                     ", may not capture frames on the network adapters" + libpcap_words +
                     ".\n\n"
                     "Give the helper the right to capture, then " +
                     again + ":\n\n" + grant;
    return text;
  }
  text.secondary = "No wired Ethernet adapter of this computer is up with a cable plugged in "
                   "and able to send" +
                   libpcap_words +
                   ".\n\n"
                   "Connect the bridge to a wired Ethernet port of this computer with a cable, "
                   "switch the bridge on, make sure the adapter is enabled, then " +
                   again + ".";
  return text;
}

std::string find_setcap() {
  std::string folders = "/usr/sbin:/sbin";
  if (const char* path = std::getenv("PATH"))
    folders = std::string(path) + ":" + folders;
  std::istringstream list(folders);
  for (std::string folder; std::getline(list, folder, ':');) {
    if (folder.empty())
      continue;
    const std::string candidate = folder + "/setcap";
    if (access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return "";
}
