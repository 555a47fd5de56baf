#include "cli/secrets.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>

#include "cli/terminal_prompt.h"
#include "link/translation.h"

namespace {

// More than any set of four keys and a passphrase needs.
constexpr std::size_t MAX_SECRETS_BYTES = 64 * 1024;

// Reads `fd` to its end into *text, but stops once it holds more than the limit: /dev/zero or
// an endless pipe is refused as soon as it has said too much, not after it has filled the
// memory. False, with the reason in *problem, when it cannot be read or is too long.
bool read_bounded(int fd, const std::string& path, std::string* text, std::string* problem) {
  char chunk[4096];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0) {
      *problem = translation::filled(_("cannot read the secrets file %1: %2"),
                                     {path, std::strerror(errno)});
      return false;
    }
    if (got == 0)
      return true;
    text->append(chunk, static_cast<std::size_t>(got));
    if (text->size() > MAX_SECRETS_BYTES) {
      *problem = _("the secrets file is too long");
      return false;
    }
  }
}

} // namespace

std::optional<Secrets> read_secrets_file(const std::string& path, std::string* problem) {
  std::string text;
  if (path == "-") {
    // Typed at a terminal, the secrets are not shown.
    const bool typed = isatty(STDIN_FILENO);
    if (typed) {
      hide_typing(STDIN_FILENO);
      // TRANSLATORS: a prompt on the terminal; key1= ... passphrase= are typed as they are.
      std::fprintf(stderr, "%s\n",
                   _("Secrets (key1= to key4= or passphrase= lines, then Ctrl-D):"));
    }
    const bool read = read_bounded(STDIN_FILENO, path, &text, problem);
    if (typed)
      restore_terminal();
    if (!read)
      return std::nullopt;
  } else {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
      *problem = translation::filled(_("cannot read the secrets file %1: %2"),
                                     {path, std::strerror(errno)});
      return std::nullopt;
    }
    // As ssh refuses a private key that others may read: the secret is no longer one.
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        (status.st_mode & (S_IRWXG | S_IRWXO))) {
      close(fd);
      *problem = translation::filled(
          _("other users may read the secrets file %1; make it private (chmod 600 %1)"), {path});
      return std::nullopt;
    }
    const bool read = read_bounded(fd, path, &text, problem);
    close(fd);
    if (!read)
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
    // TRANSLATORS: %1 is a line's number in the secrets; NAME=VALUE is written as it is.
    const std::string where = translation::filled(_("secrets line %1: "), {std::to_string(number)});
    if (equals == std::string::npos) {
      *problem = where + _("not NAME=VALUE");
      return std::nullopt;
    }
    const std::string name = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (!seen.insert(name).second) {
      *problem = where + translation::filled(_("%1 is given twice"), {name});
      return std::nullopt;
    }
    if (name == "passphrase") {
      secrets.passphrase = value;
    } else if (name.size() == 4 && name.rfind("key", 0) == 0 && name[3] >= '1' && name[3] <= '4') {
      secrets.keys[name[3] - '1'] = value;
    } else {
      *problem =
          where + translation::filled(_("unknown name '%1' (key1 to key4, passphrase)"), {name});
      return std::nullopt;
    }
  }
  return secrets;
}
