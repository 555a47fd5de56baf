// Sites for the qbr20g.bridge collection over veth, for its test and its benchmark (root): each
// site a network namespace with its host side (eth0, and eth1 when asked) and emulated bridges
// behind it, reached by Ansible through a local connection whose Python runs inside the
// namespace. The collection is built with ansible-galaxy and installed into the TestNet's
// folder, as an administrator installs it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/netns/testnet.h"

namespace ansible_sites {

// Empty when Ansible can run here; otherwise why not.
inline std::string unavailable_reason() {
  std::string output;
  for (const char* program : {"ansible-playbook", "ansible-galaxy"})
    if (netns::run_to_end({program, "--version"}, &output) != 0)
      return std::string(program) + " is missing: install ansible-core (make deps does)";
  return "";
}

struct Site {
  std::string name;                        // the inventory's host name
  std::string host_ns;                     // where qbr20g-cli runs
  std::vector<std::string> bridges;        // MACs on eth0, in colon form
  std::vector<netns::Emulator*> emulators; // on eth0, in the order of `bridges`
};

// The scenario of a bridge set to the open network "Old" that hears "Office".
inline std::string scenario(const std::string& mac) {
  return "mac = " + mac +
         "\nssid = Old\nsecmode = 0\n"
         "network = Office|a4:2b:b0:00:00:03|11|BG|3|70\n"
         "network = Old|a4:2b:b0:00:00:04|6|BG|0|60\n";
}

// Bridge `i` of site `site`: 02:00:00:00:SS:II.
inline std::string bridge_mac(int site, int i) {
  char text[32];
  std::snprintf(text, sizeof text, "02:00:00:00:%02x:%02x", 0xa1 + site, i + 1);
  return text;
}

// A site with `bridges` bridges on eth0, and on eth1 one bridge with `second_faults` (none when
// empty).
inline Site add_site(netns::TestNet& net, int number, int bridges,
                     const std::vector<std::string>& second_faults = {}) {
  Site site;
  const std::string letter(1, static_cast<char>('a' + number));
  site.name = "site_" + letter;
  site.host_ns = net.add_namespace("host" + letter);
  const std::string wire = net.add_namespace("wire" + letter);
  char host_mac[32];
  std::snprintf(host_mac, sizeof host_mac, "02:00:00:00:0a:%02x", 2 * number + 1);
  net.add_veth(site.host_ns, "eth0", host_mac, wire, "br0", "-");
  for (int i = 0; i < bridges; ++i) {
    site.bridges.push_back(bridge_mac(number, i));
    site.emulators.push_back(&net.start_emulator(wire, "br0", scenario(site.bridges.back())));
  }
  if (!second_faults.empty()) {
    std::snprintf(host_mac, sizeof host_mac, "02:00:00:00:0a:%02x", 2 * number + 2);
    net.add_veth(site.host_ns, "eth1", host_mac, wire, "br1", "-");
    net.start_emulator(wire, "br1", scenario(bridge_mac(number, 0x80)), second_faults);
  }
  return site;
}

// An inventory of the sites: group `sites`, each host a local connection whose Python runs in
// its namespace, with `cli` (qbr20g-cli's path) and each site's `settings_files` (where its
// eth0 emulators keep the last settings written) and `bridges`.
inline void write_inventory(const std::string& path, const std::vector<Site>& sites,
                            const std::string& cli) {
  std::ofstream out(path);
  out << "sites:\n  vars:\n    ansible_connection: local\n    cli: " << cli << "\n  hosts:\n";
  for (const Site& site : sites) {
    out << "    " << site.name << ":\n      ansible_python_interpreter: ip netns exec "
        << site.host_ns << " /usr/bin/python3\n      settings_files:\n";
    for (const netns::Emulator* emulator : site.emulators)
      out << "        - " << emulator->settings_path() << "\n";
    out << "      bridges:\n";
    for (const std::string& mac : site.bridges)
      out << "        - \"" << mac << "\"\n";
  }
  if (!out)
    throw std::runtime_error("cannot write the inventory " + path);
}

// Builds the collection from `source` with ansible-galaxy, installs it under `folder` and points
// Ansible (this process's children) at it, with Ansible's own files in `folder` too.
inline void install_collection(const std::string& source, const std::string& folder) {
  std::string output;
  const std::string built = folder + "/built";
  if (netns::run_to_end({"ansible-galaxy", "collection", "build", source, "--output-path", built},
                        &output) != 0)
    throw std::runtime_error("ansible-galaxy collection build failed: " + output);
  const std::string tarball = built + "/qbr20g-bridge-1.0.0.tar.gz";
  const std::string installed = folder + "/collections";
  if (netns::run_to_end(
          {"ansible-galaxy", "collection", "install", "--offline", "-p", installed, tarball},
          &output) != 0)
    throw std::runtime_error("ansible-galaxy collection install failed: " + output);
  setenv("ANSIBLE_COLLECTIONS_PATH", installed.c_str(), 1);
  setenv("ANSIBLE_LOCAL_TEMP", (folder + "/ansible-local").c_str(), 1);
  setenv("ANSIBLE_REMOTE_TMP", (folder + "/ansible-remote").c_str(), 1);
  setenv("ANSIBLE_PIPELINING", "1", 1);
  setenv("ANSIBLE_NOCOLOR", "1", 1);
  setenv("ANSIBLE_HOST_KEY_CHECKING", "0", 1);
  setenv("ANSIBLE_CONFIG", (folder + "/no-ansible.cfg").c_str(), 1);
}

} // namespace ansible_sites
