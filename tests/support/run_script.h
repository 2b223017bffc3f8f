// The differential tests' road to the Python comparison scripts: whether a module is there,
// and one script run with its report printed into the test log and kept for the test.
// tests/tools/compare_cells.py is the comparison of our cells with a reference reading.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace testing_support {

#if defined(__SANITIZE_ADDRESS__) || defined(TALLYFORM_SANITIZED)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif

inline bool PythonHas(const char* modules) {
  const std::string cmd = std::string("/usr/bin/python3 -c 'import ") + modules + "' >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

struct ScriptRun {
  int status = -1;
  std::string report;
};

// `cmd` with every argument quoted after it; standard error joins the report.
inline ScriptRun RunScript(std::string cmd, const std::vector<std::string>& args) {
  for (const auto& a : args) cmd += " '" + a + "'";
  cmd += " 2>&1";
  ScriptRun run;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return run;
  char buf[4096];
  while (fgets(buf, sizeof buf, p)) run.report += buf;
  const int status = pclose(p);
  std::printf("%s", run.report.c_str());
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// tests/tools/compare_cells.py over `pairs` (FILE or FILE=REFERENCE), with `options`.
inline ScriptRun CompareCells(const std::string& options, const std::vector<std::string>& pairs) {
  std::string cmd = "/usr/bin/python3 " TALLYFORM_SOURCE_DIR "/tests/tools/compare_cells.py --cli " TALLYFORM_CLI " ";
  if (kSanitized) cmd += "--sanitized ";
  return RunScript(cmd + options, pairs);
}

}  // namespace testing_support
