#include "link/adapter_failure_text.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "link/helper_protocol.h"
#include "link/translation.h"

AdapterFailureText adapter_failure_text(AdapterSearchFailure failure, const std::string& error,
                                        const std::string& helper_path,
                                        const std::string& setcap_path,
                                        const std::string& front_end) {
  AdapterFailureText text;
  // At the start of a sentence: "The wizard", "Der Assistent", but "qbr20g-cli" as it is typed.
  std::string subject = front_end;
  if (subject.find(' ') != std::string::npos && subject[0] >= 'a' && subject[0] <= 'z')
    subject[0] = static_cast<char>(subject[0] - 'a' + 'A');
  // TRANSLATORS: the heading of the message shown when no adapter can reach a bridge.
  text.primary = _("Error: NIC not found!");
  // The right to capture belongs to the link helper alone, never to a front end.
  const std::string grant = setcap_path.empty()
                                ? "    sudo apt-get install libcap2-bin\n"
                                  "    sudo /usr/sbin/setcap cap_net_raw=ep " +
                                      helper_path
                                : "    sudo " + setcap_path + " cap_net_raw=ep " + helper_path;
  if (failure == AdapterSearchFailure::ListingFailed &&
      error.rfind(helper_protocol::LISTING_FAILED, 0) == 0) {
    // The helper runs, but the system would not give it the adapters.
    text.secondary = translation::filled(
        // TRANSLATORS: %1 is "The wizard" or "qbr20g-cli", %2 the helper's path, %3 the system's
        // reason, %4 "the wizard" or "qbr20g-cli", %5 a package's name.
        _("%1's link helper, %2, %3.\n\nStart %4 again; should it fail the same way, reinstall "
          "the package %5."),
        {subject, helper_path, error, front_end, LINK_HELPER_PACKAGE});
    return text;
  }
  if (failure == AdapterSearchFailure::ListingFailed) {
    text.secondary = translation::filled(
        // TRANSLATORS: %1 is "The wizard" or "qbr20g-cli", %2 the helper's path, %3 why it could
        // not be started, %4 a package's name, %5 "the wizard" or "qbr20g-cli", %6 the commands
        // that give the right to capture (keep them on lines of their own).
        _("%1 reaches the network adapters through its link helper, %2, which could not be "
          "started (%3).\n\nReinstall the package %4, or, for a build of your own, make the "
          "helper executable and give it the right to capture, then start %5 again:\n\n%6"),
        {subject, helper_path, error, LINK_HELPER_PACKAGE, front_end, grant});
    return text;
  }
  // libpcap's words, or the link helper's.
  const std::string libpcap_words = error.empty() ? "" : " (" + error + ")";
  if (failure == AdapterSearchFailure::PermissionDenied) {
    text.secondary = translation::filled(
        // TRANSLATORS: %1 is "The wizard" or "qbr20g-cli", %2 the helper's path, %3 libpcap's
        // words in parentheses after a space (or nothing), %4 "the wizard" or "qbr20g-cli", %5 the
        // commands that give the right to capture (keep them on lines of their own).
        _("%1's link helper, %2, may not capture frames on the network adapters%3.\n\nGive the "
          "helper the right to capture, then start %4 again:\n\n%5"),
        {subject, helper_path, libpcap_words, front_end, grant});
    return text;
  }
  text.secondary = translation::filled(
      // TRANSLATORS: %1 is libpcap's words in parentheses after a space (or nothing), %2 "the
      // wizard" or "qbr20g-cli".
      _("No wired Ethernet adapter of this computer is up with a cable plugged in and able to "
        "send%1.\n\nConnect the bridge to a wired Ethernet port of this computer with a cable, "
        "switch the bridge on, make sure the adapter is enabled, then start %2 again."),
      {libpcap_words, front_end});
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
