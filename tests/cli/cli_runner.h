// Runs tallyform-cli as a separate process in a given folder and captures its exit code,
// standard output and standard error: the CLI tests check the program as a shell sees it.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/files.h"

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

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
  int status = 0;
  ::waitpid(pid, &status, 0);
  return CliRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, testing_support::ReadFile(out_path),
                testing_support::ReadFile(err_path)};
}
