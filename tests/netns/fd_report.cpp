// Stands in for the programs the wizard starts to open a link (xdg-open, xdg-mime, the browser):
// writes each descriptor it was started with, as "FD TARGET" lines, to fd-report-NAME beside
// its own executable (NAME as it was started), and ends. As xdg-mime it names the test's
// browser entry, so that the wizard goes on to start the browser.
#include <dirent.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

int main(int, char** argv) {
  // Read the list first: nothing this program opens itself may be mistaken for inherited.
  std::vector<std::string> lines;
  DIR* fds = opendir("/proc/self/fd");
  if (!fds)
    return 1;
  const int own = dirfd(fds);
  while (const dirent* entry = readdir(fds)) {
    const std::string name = entry->d_name;
    if (name == "." || name == ".." || std::atoi(name.c_str()) == own)
      continue;
    char target[PATH_MAX] = {};
    const ssize_t size = readlink(("/proc/self/fd/" + name).c_str(), target, sizeof target - 1);
    lines.push_back(name + " " +
                    std::string(target, size > 0 ? static_cast<std::size_t>(size) : 0));
  }
  closedir(fds);
  char self[PATH_MAX] = {};
  if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
    return 1;
  std::string report = self;
  std::string name = argv[0];
  name = name.substr(name.rfind('/') + 1);
  report = report.substr(0, report.rfind('/')) + "/fd-report-" + name;
  if (name == "xdg-mime")
    std::printf("qbr20g-test-browser.desktop\n");
  std::ofstream out(report + ".part");
  for (const std::string& line : lines)
    out << line << '\n';
  out.close();
  return std::rename((report + ".part").c_str(), report.c_str()) == 0 ? 0 : 1;
}
