// Runs tallyform-cli as a separate process in a given folder and captures its exit code,
// standard output and standard error, and how many write calls it made (from the kernel's
// accounting, read while the ended process is still waited for): the CLI tests check the
// program as a shell sees it.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/files.h"

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
  long writes = -1;  // -1 where the kernel does not say
};

// The write calls of the ended, not yet reaped process `pid`.
inline long WriteCallsOf(pid_t pid) {
  std::ifstream io("/proc/" + std::to_string(pid) + "/io");
  for (std::string key; io >> key;) {
    long value = 0;
    if (!(io >> value)) break;
    if (key == "syscw:") return value;
  }
  return -1;
}

// Output goes to capture files of the run's own (tests running at once may share `cwd`).
inline CliRun RunCli(const std::vector<std::string>& args, const std::string& cwd) {
  testing_support::ScratchDir capture;
  const std::string out_path = capture.File("stdout"), err_path = capture.File("stderr");
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 || ::chdir(cwd.c_str()) != 0) {
      ::_exit(127);
    }
    std::vector<char*> argv{const_cast<char*>(TALLYFORM_CLI)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(TALLYFORM_CLI, argv.data());
    ::_exit(127);
  }
  siginfo_t ended{};
  ::waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOWAIT);
  const long writes = WriteCallsOf(pid);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return CliRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, testing_support::ReadFile(out_path),
                testing_support::ReadFile(err_path), writes};
}
