#include "tests/package/probe/probe_report.h"

#include <arpa/inet.h>
#include <linux/if_ether.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

std::string CapEff() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("CapEff:", 0) == 0)
      return line.substr(line.find_first_not_of(" \t", 7));
  return "unknown";
}

} // namespace

void ReportLine(const char* line) {
  const char* path = std::getenv("QBR20G_PROBE_REPORT");
  if (!path)
    return;
  std::ofstream(path, std::ios::app) << line << '\n';
}

void ReportProbe(const char* who) {
  char exe[PATH_MAX] = {};
  if (readlink("/proc/self/exe", exe, sizeof exe - 1) < 0)
    std::strcpy(exe, "unknown");
  const int packet = socket(AF_PACKET, SOCK_RAW | SOCK_CLOEXEC, htons(ETH_P_ALL));
  const std::string socket_result = packet >= 0 ? "opened" : std::strerror(errno);
  if (packet >= 0)
    close(packet);
  const std::string line =
      std::string(who) + " exe=" + exe + " CapEff=" + CapEff() + " packet_socket=" + socket_result;
  ReportLine(line.c_str());
}
