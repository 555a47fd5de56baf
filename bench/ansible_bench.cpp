// The qbr20g.bridge collection over two sites of ten bridges each (root): one play that puts
// every bridge of both sites on a network unless it is on it already (the survey reads each
// bridge's present settings, then the bridges that differ are written), from ansible-playbook's
// start to its end, against the command line's own floor: one discovery and one survey pause.
// Ansible's own work (start-up, the module sent to each site, its JSON back) is what is left.
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_figures.h"
#include "bench/bench_network.h"
#include "link/link_timing.h"
#include "tests/ansible/ansible_sites.h"

namespace {

constexpr int BRIDGES_PER_SITE = 10;
constexpr double ANSIBLE_SLACK_MS = 3000;

const char* const PLAY = R"(---
- name: Both sites onto the office network
  hosts: sites
  gather_facts: false
  tasks:
    - name: Every bridge of the site, unless it is on the network already
      qbr20g.bridge.wifi:
        cli_path: "{{ cli }}"
        all: true
        ssid: Office
        security: wpa2-psk
        passphrase: "{{ office_passphrase }}"
        update_secret: on_change
      register: written
    - name: Every bridge was written
      ansible.builtin.assert:
        that: written.bridges | map(attribute='result') | unique == ['saved']
)";

double timed(const std::vector<std::string>& argv, std::string* output) {
  const auto start = std::chrono::steady_clock::now();
  const int status = netns::run_to_end(argv, output);
  return status == 0 ? milliseconds_since(start) : -1;
}

} // namespace

int main() {
  if (skipped_without_namespaces("ansible_bench"))
    return 0;
  const std::string reason = ansible_sites::unavailable_reason();
  if (!reason.empty()) {
    std::printf("ansible_bench skipped: %s\n", reason.c_str());
    return 0;
  }
  try {
    netns::TestNet net;
    const std::vector<ansible_sites::Site> sites = {
        ansible_sites::add_site(net, 0, BRIDGES_PER_SITE),
        ansible_sites::add_site(net, 1, BRIDGES_PER_SITE)};
    ansible_sites::install_collection(QBR20G_COLLECTION_DIR, net.files());
    const std::string inventory = net.files() + "/inventory.yml";
    ansible_sites::write_inventory(inventory, sites, QBR20G_CLI_PATH);
    const std::string play = net.files() + "/play.yml";
    std::ofstream(play) << PLAY;
    const std::string secrets = net.files() + "/secrets.yml";
    std::ofstream(secrets) << "office_passphrase: twelve chars\n";
    chmod(secrets.c_str(), 0600);

    // The command line's discovery alone, on the same wire.
    std::string output;
    const double discovery = timed(
        {"ip", "netns", "exec", sites[0].host_ns, QBR20G_CLI_PATH, "--quiet", "list"}, &output);
    if (discovery < 0) {
      std::printf("ansible_bench: qbr20g-cli list failed: %s\n", output.c_str());
      return 1;
    }
    const double played =
        timed({"ansible-playbook", "-i", inventory, "-e", "@" + secrets, play}, &output);
    if (played < 0) {
      std::printf("ansible_bench: the play failed:\n%s\n", output.c_str());
      return 1;
    }
    const double pause = static_cast<double>(link_timing().survey_scan_pause.count());
    const double floor = discovery + pause;
    std::printf("two sites of %d bridges: discovery %.0f ms, scan pause %.0f ms, play %.0f ms "
                "(Ansible's own share %.0f ms)\n",
                BRIDGES_PER_SITE, discovery, pause, played, played - floor);
    print_row("ansible-playbook, qbr20g.bridge.wifi on_change, 2 sites x 10 bridges",
              format("%.0f ms", played),
              format("<= discovery + scan pause + 3000 = %.0f ms", floor + ANSIBLE_SLACK_MS),
              format("%.2fx discovery + scan pause", played / floor),
              played <= floor + ANSIBLE_SLACK_MS);
  } catch (const std::exception& failure) {
    std::printf("ansible_bench failed: %s\n", failure.what());
    return 1;
  }
  return 0;
}
