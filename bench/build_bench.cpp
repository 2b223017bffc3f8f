// Times the whole text build (load both tables, index, match, write the document) on a
// generated 100,000-row settings table and a 100,000-entry setlist, about 90% matching, once
// in ASCII and once in Windows-1252 (accented names, titles and notes, as Excel saves them).
// The window's build keeps a report of every entry and its preview reads the document back:
// both are timed too. Reports the process's peak resident memory as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "builder/build.h"
#include "builder/dispatch.h"
#include "builder/setlist_preview.h"

namespace {

class CountingConsole : public Console {
 public:
  void string_to_textbox(const std::string&, COLORBOX, bool) override { ++lines; }
  int64_t lines = 0;
};

// Settings rows with a quoted field; about 90% of the setlist names a row (in mixed case).
// `accented`: the same tables with Windows-1252 letters in every name, title and note.
void WriteTables(const std::string& dir, int rows, bool accented) {
  const char* song = accented ? "canci\xF3n" : "song";
  const char* Song = accented ? "Canci\xF3n" : "Song";
  const char* title = accented ? "Se\xF1or T\xEDtulo" : "Song Title";
  const char* soft = accented ? "verso m\xE1s suave" : "verse soft";
  std::mt19937 rng(7);
  std::ofstream settings(dir + "/settings.csv", std::ios::binary);
  for (int i = 0; i < rows; ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "%s %06d,%s %d,P%03d,\"capo %d, %s\",%d\n", song, i, title, i,
                  i % 128, i % 5, soft, 60 + i % 140);
    settings << line;
  }
  std::ofstream setlist(dir + "/setlist.csv", std::ios::binary);
  std::uniform_int_distribution<int> pick(0, rows - 1);
  std::uniform_real_distribution<double> chance(0.0, 1.0);
  for (int i = 0; i < rows; ++i) {
    char line[64];
    if (chance(rng) < 0.9) {
      std::snprintf(line, sizeof line, "%s %06d\n", Song, pick(rng));
    } else {
      std::snprintf(line, sizeof line, "Unknown %d\n", i);
    }
    setlist << line;
  }
}

// The two tables of `state.range(0)` rows in a scratch folder, and the paths of a build there.
BuildPaths MakeTables(benchmark::State& state, bool accented) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tallyform-bench-XXXXXX").string();
  const std::string dir = ::mkdtemp(pattern.data());
  WriteTables(dir, static_cast<int>(state.range(0)), accented);
  return {dir + "/setlist.csv", dir + "/settings.csv", dir + "/setlist.json"};
}

// The peak resident memory as a counter, then the scratch folder goes.
void Finish(benchmark::State& state, const BuildPaths& paths) {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  std::filesystem::remove_all(std::filesystem::path(paths.json_file).parent_path());
}

void BM_TextBuild(benchmark::State& state, bool accented) {
  const BuildPaths paths = MakeTables(state, accented);
  int64_t lines = 0;
  for (auto _ : state) {
    CountingConsole console;
    if (create_fromtext_file(paths, console)) state.SkipWithError("build stopped");
    lines = console.lines;
  }
  state.counters["console_lines"] = static_cast<double>(lines);
  state.counters["json_MB"] =
      static_cast<double>(std::filesystem::file_size(paths.json_file)) / (1024.0 * 1024.0);
  Finish(state, paths);
}

// "Create Output" in the window (the build with its report), then "Preview" of what it wrote.
void BM_WindowBuildAndPreview(benchmark::State& state) {
  const BuildPaths paths = MakeTables(state, false);
  size_t shown = 0;
  for (auto _ : state) {
    CountingConsole console;
    BuildReport report;
    if (RunChosenBuild(paths, console, &report) != BuildOutcome::Written) state.SkipWithError("build stopped");
    std::vector<PreviewRow> preview;
    std::string error;
    if (!ReadPreviewRows(paths.json_file, &report, preview, error)) state.SkipWithError(error.c_str());
    shown = preview.size();
  }
  state.counters["preview_rows"] = static_cast<double>(shown);
  Finish(state, paths);
}

BENCHMARK_CAPTURE(BM_TextBuild, ascii, false)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TextBuild, cp1252, true)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowBuildAndPreview)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
