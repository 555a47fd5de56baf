// qbr20g-emu: plays a QBR20G bridge on one network interface, for tests, benchmarks and demos.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link/link_frame.h"
#include "link/mac_text.h"
#include "link/pcap_capture.h"
#include "tools/emu/chatter_station.h"
#include "tools/emu/emulated_bridge.h"
#include "tools/emu/log_file.h"
#include "tools/emu/scenario.h"

namespace {

constexpr int EXIT_USAGE = 2;

std::atomic<bool> stop_requested{false};

void on_stop_signal(int) { stop_requested = true; }

void usage(std::ostream& out) {
  out << "Usage: qbr20g-emu --iface IF [options]\n"
         "Plays a QBR20G bridge on interface IF: answers the wizard's probe, begin, write and\n"
         "execute frames (EtherType 0x8888) as the bridge does, reports a site survey from the\n"
         "scenario, keeps the settings text of a write and applies it on \"9002:\".\n"
         "It sends raw frames on IF: run it only inside a test network namespace.\n"
         "\n"
         "Options:\n"
         "  --iface IF           interface to play the bridge on (required)\n"
         "  --scenario FILE      the bridge: 'key = value' lines, '#' comments:\n"
         "                         mac = 02:00:00:00:00:b1   the bridge's MAC (the default)\n"
         "                         ssid = OfficeNet          present SSID (default empty)\n"
         "                         secmode = 3               present security digit (default 0)\n"
         "                         network = SSID|MAC|CHANNEL|MODE|SECURITY|SIGNAL\n"
         "                                                   one network of the survey report,\n"
         "                                                   repeatable; empty SSID: hidden\n"
         "                         fault = FAULT             as --fault\n"
         "                       Values are raw bytes; a value in double quotes takes the\n"
         "                       escapes \\\\ \\\" \\n \\r \\t \\f \\v \\0 \\xHH and may hold "
         "blanks or\n"
         "                       ' #'.\n"
         "  --log FILE           write one line per frame seen (rx) and sent (tx):\n"
         "                         TIME DIR SRC DST CODE PARAM LENGTH SIZE \"PAYLOAD\"\n"
         "                       (seconds since start, MAC texts, 0x%08x codes, the signed length\n"
         "                       field, the frame's size, every byte after the header escaped);\n"
         "                       a flooding chatter station logs one 'flood' line a second\n"
         "                       with \"N frames\" as its payload\n"
         "  --settings-out FILE  the settings text of the last settings write, byte for byte,\n"
         "                       rewritten on every settings write\n"
         "  --ready-file FILE    created once the capture is open and replies can be made\n"
         "  --fault FAULT        inject a fault, FAULT one of (repeatable):\n";
  std::istringstream faults(FAULT_HELP);
  for (std::string line; std::getline(faults, line);)
    out << "    " << line << "\n";
  out << "  --help               this text\n"
         "\n"
         "Stops cleanly on SIGTERM or SIGINT, or when a vanish fault strikes. Exit status:\n"
         "0 after a stop, 1 when the interface cannot be used, 2 for a usage or scenario error.\n";
}

struct Options {
  std::string iface;
  std::string scenario_path;
  std::string log_path;
  std::string settings_path;
  std::string ready_path;
  std::vector<std::string> faults;
};

int parse_options(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      usage(std::cout);
      std::exit(0);
    }
    std::string* target = nullptr;
    if (arg == "--iface")
      target = &options->iface;
    else if (arg == "--scenario")
      target = &options->scenario_path;
    else if (arg == "--log")
      target = &options->log_path;
    else if (arg == "--settings-out")
      target = &options->settings_path;
    else if (arg == "--ready-file")
      target = &options->ready_path;
    else if (arg != "--fault") {
      std::cerr << "qbr20g-emu: unknown option '" << arg << "' (see --help)\n";
      return -1;
    }
    if (i + 1 >= argc) {
      std::cerr << "qbr20g-emu: " << arg << " needs a value (see --help)\n";
      return -1;
    }
    if (target)
      *target = argv[++i];
    else
      options->faults.push_back(argv[++i]);
  }
  if (options->iface.empty()) {
    std::cerr << "qbr20g-emu: --iface is required (see --help)\n";
    return -1;
  }
  return 0;
}

int load_scenario(const Options& options, Scenario* scenario) {
  std::string error;
  if (!options.scenario_path.empty()) {
    std::ifstream file(options.scenario_path, std::ios::binary);
    if (!file) {
      std::cerr << "qbr20g-emu: cannot read scenario " << options.scenario_path << "\n";
      return -1;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (parse_scenario(text.str(), scenario, &error) != 0) {
      std::cerr << "qbr20g-emu: " << options.scenario_path << ": " << error << "\n";
      return -1;
    }
  }
  for (const std::string& text : options.faults) {
    Fault fault;
    if (parse_fault(text, &fault, &error) != 0) {
      std::cerr << "qbr20g-emu: --fault: " << error << "\n";
      return -1;
    }
    scenario->faults.push_back(fault);
  }
  return 0;
}

// Written beside the target and renamed over it, so a reader sees the old text or the new.
bool write_file(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
      return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

std::unique_ptr<PcapCapture> open_capture(const std::string& iface) {
  CaptureOpenError error;
  // Promiscuous: the emulator plays bridges whose MACs are not its interface's.
  auto capture = PcapCapture::open(iface.c_str(), &error, Promiscuous::Yes);
  if (!capture) {
    std::cerr << "qbr20g-emu: cannot capture on " << iface << ": " << error.text << "\n";
    if (error.status == PCAP_ERROR_PERM_DENIED)
      std::cerr << "  Capturing needs CAP_NET_RAW: run as root inside the test namespace.\n";
    return nullptr;
  }
  if (capture->link_type() != DLT_EN10MB) {
    std::cerr << "qbr20g-emu: " << iface << " is not an Ethernet interface\n";
    return nullptr;
  }
  return capture;
}

} // namespace

int main(int argc, char** argv) {
  Options options;
  if (parse_options(argc, argv, &options) != 0)
    return EXIT_USAGE;
  Scenario scenario;
  if (load_scenario(options, &scenario) != 0)
    return EXIT_USAGE;
  LogFile log(options.log_path);
  if (!log.ok()) {
    std::cerr << "qbr20g-emu: cannot write log " << options.log_path << "\n";
    return EXIT_USAGE;
  }

  struct sigaction action {};
  action.sa_handler = on_stop_signal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);

  auto capture = open_capture(options.iface);
  if (!capture)
    return 1;
  std::string error;
  char filter[32];
  std::snprintf(filter, sizeof filter, "ether proto 0x%04x", LINK_ETHERTYPE);
  // Inbound only: frames sent by the chatter stations (or another emulator on the same
  // interface) are not for this bridge.
  if (capture->set_filter(filter, &error) != 0 || capture->set_inbound_only(&error) != 0) {
    std::cerr << "qbr20g-emu: cannot set up the capture on " << options.iface << ": " << error
              << "\n";
    return 1;
  }

  std::vector<std::unique_ptr<ChatterStation>> chatter;
  for (const Fault& fault : scenario.faults) {
    if (fault.type != Fault::Chatter)
      continue;
    auto station_capture = open_capture(options.iface);
    if (!station_capture)
      return 1;
    chatter.push_back(std::make_unique<ChatterStation>(std::move(station_capture), fault.mac,
                                                       fault.amount, &log));
  }

  EmulatedBridge bridge(scenario);
  if (!options.ready_path.empty() &&
      !write_file(options.ready_path, std::to_string(getpid()) + "\n")) {
    std::cerr << "qbr20g-emu: cannot write ready file " << options.ready_path << "\n";
    return EXIT_USAGE;
  }

  int status = 0;
  while (!stop_requested) {
    const std::uint8_t* frame = nullptr;
    int wire_length = 0;
    int captured = 0;
    const int result =
        capture->next(std::chrono::milliseconds{100}, &frame, &wire_length, &captured);
    if (result < 0) {
      if (stop_requested)
        break;
      std::cerr << "qbr20g-emu: capture on " << options.iface << " failed\n";
      status = 1;
      break;
    }
    if (result == 0)
      continue;
    log.frame("rx", frame, captured);
    for (const OutgoingFrame& reply : bridge.handle(frame, captured)) {
      if (reply.delay_ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds{reply.delay_ms});
      const int size = static_cast<int>(reply.bytes.size());
      if (capture->send(reply.bytes.data(), size) != 0)
        std::cerr << "qbr20g-emu: sending on " << options.iface << " failed\n";
      log.frame("tx", reply.bytes.data(), size);
    }
    if (bridge.take_settings_changed() && !options.settings_path.empty() &&
        !write_file(options.settings_path, bridge.settings_text()))
      std::cerr << "qbr20g-emu: cannot write " << options.settings_path << "\n";
    if (bridge.vanished())
      break;
  }
  chatter.clear();
  return status;
}
