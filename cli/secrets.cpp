#include "cli/secrets.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

namespace {

// More than any set of four keys and a passphrase needs.
constexpr std::size_t MAX_SECRETS_BYTES = 64 * 1024;

} // namespace

std::optional<Secrets> read_secrets_file(const std::string& path, std::string* problem) {
  std::string text;
  if (path == "-") {
    std::ostringstream all;
    all << std::cin.rdbuf();
    text = all.str();
  } else {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
      *problem = "cannot read the secrets file " + path;
      return std::nullopt;
    }
    std::ostringstream all;
    all << file.rdbuf();
    text = all.str();
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && (status.st_mode & (S_IRWXG | S_IRWXO)))
      std::fprintf(stderr, "qbr20g-cli: note: other users may read the secrets file %s\n",
                   path.c_str());
  }
  if (text.size() > MAX_SECRETS_BYTES) {
    *problem = "the secrets file is too long";
    return std::nullopt;
  }

  Secrets secrets;
  std::set<std::string> seen;
  std::istringstream lines(text);
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.empty() || line.front() == '#')
      continue;
    const auto equals = line.find('=');
    const std::string where = "secrets line " + std::to_string(number) + ": ";
    if (equals == std::string::npos) {
      *problem = where + "not NAME=VALUE";
      return std::nullopt;
    }
    const std::string name = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (!seen.insert(name).second) {
      *problem = where + name + " is given twice";
      return std::nullopt;
    }
    if (name == "passphrase") {
      secrets.passphrase = value;
    } else if (name.size() == 4 && name.rfind("key", 0) == 0 && name[3] >= '1' && name[3] <= '4') {
      secrets.keys[name[3] - '1'] = value;
    } else {
      *problem = where + "unknown name '" + name + "' (key1 to key4, passphrase)";
      return std::nullopt;
    }
  }
  return secrets;
}
