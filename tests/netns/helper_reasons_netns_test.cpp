// Why the link helper could not serve reaches the command line's standard error word for word,
// with exit status 3: a helper that refuses to start under a low limit (and how it ended), one
// of another release, one that cannot list the adapters, one that dies. Run in a namespace of
// its own, as a real helper that did serve would search its adapters.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "link/helper_protocol.h"
#include "tests/netns/testnet.h"
#include "tests/support/fake_link_helper.h"

namespace hp = helper_protocol;

namespace {

struct CliRun {
  int status = -1;
  std::string err;
};

// Runs `program` with `arguments` under `files` open files at most (0: as this process has).
CliRun run(const std::string& program, const std::vector<std::string>& arguments,
           const std::string& folder, rlim_t files = 0) {
  const std::string err_path = folder + "/stderr";
  const pid_t child = fork();
  if (child == 0) {
    const int null = open("/dev/null", O_RDWR);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    close_range(3, ~0u, 0);
    const rlimit limit{files, files};
    if (files > 0 && setrlimit(RLIMIT_NOFILE, &limit) != 0)
      _exit(125);
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    netns::exec_argv(argv);
  }
  CliRun result;
  int status = 0;
  waitpid(child, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::ostringstream text;
  text << std::ifstream(err_path).rdbuf();
  result.err = text.str();
  return result;
}

} // namespace

using HelperReasonsOverVeth = netns::NetnsTest;

TEST_F(HelperReasonsOverVeth, EachReasonReachesTheCommandLinesStandardError) {
  const auto wizard = net->add_namespace("wiz");
  const auto bridge = net->add_namespace("br");
  net->add_veth(wizard, "eth0", "02:00:00:00:0a:01", bridge, "br0", "-");
  net->enter(wizard);
  // The command line finds its helper beside it, as installed.
  const std::string bin = net->files() + "/bin";
  const std::string libexec = net->files() + "/libexec/qbr20g-setup";
  std::filesystem::create_directories(bin);
  std::filesystem::create_directories(libexec);
  const std::string cli = bin + "/qbr20g-cli";
  const std::string helper = libexec + "/qbr20g-link";
  std::filesystem::copy_file(QBR20G_CLI_PATH, cli);

  struct Case {
    const char* command;
    FakeLinkHelper fake; // used when `files` is 0; else the real helper
    rlim_t files;
    std::string told;
  };
  const std::string not_started =
      "qbr20g-cli reaches the network adapters through its link helper, " + helper +
      ", which could not be started (";
  const Case cases[] = {
      {"adapters",
       {},
       12,
       not_started + "the link helper did not start: a limit of 12 open files is below the 16 it "
                     "needs (ulimit -n); it ended with exit status 2)"},
      {"adapters", FakeLinkHelper().Says(FakeLinkHelper::Hello(1)), 0,
       not_started + "the link helper does not fit this program: it speaks version 1 of the link "
                     "helper protocol and this program version 2: they come from different "
                     "releases; reinstall qbr20g-link and qbr20g-setup or qbr20g-cli, all of one "
                     "release)"},
      {"list",
       FakeLinkHelper()
           .Says(FakeLinkHelper::Hello(hp::VERSION))
           .Hears()
           .Hears()
           .Says(hp::encode_adapters_failure("cannot list adapters: no /sys")),
       0,
       "qbr20g-cli's link helper, " + helper +
           ", cannot list adapters: no /sys.\n\nStart qbr20g-cli again; should it fail the same "
           "way, reinstall the package qbr20g-link."},
      {"list",
       FakeLinkHelper().Says(FakeLinkHelper::Hello(hp::VERSION)).Hears().Hears().DiesOf(SIGSEGV), 0,
       not_started + "the link helper was lost: it was killed by signal 11 (Segmentation fault))"},
  };
  for (const Case& helper_case : cases) {
    std::filesystem::remove(helper);
    if (helper_case.files > 0)
      std::filesystem::copy_file(QBR20G_LINK_HELPER_PATH, helper);
    else
      helper_case.fake.Write(helper);
    const CliRun cli_run = run(cli, {helper_case.command}, net->files(), helper_case.files);
    EXPECT_EQ(cli_run.status, 3) << cli_run.err;
    EXPECT_NE(cli_run.err.find("Error: NIC not found!"), std::string::npos) << cli_run.err;
    EXPECT_NE(cli_run.err.find(helper_case.told), std::string::npos) << cli_run.err;
    EXPECT_EQ(cli_run.err.find("No wired Ethernet adapter"), std::string::npos)
        << "not a question of cables: " << cli_run.err;
  }
}
