// Times the whole text build (load both tables, index, match, write the document) on a
// generated 100,000-row settings table and a 100,000-entry setlist, about 90% matching.
// Reports the process's peak resident memory as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "builder/build.h"

namespace {

class CountingConsole : public Console {
 public:
  void string_to_textbox(const std::string&, COLORBOX, bool) override { ++lines; }
  int64_t lines = 0;
};

// Settings rows with a quoted field; about 90% of the setlist names a row (in mixed case).
void WriteTables(const std::string& dir, int rows) {
  std::mt19937 rng(7);
  std::ofstream settings(dir + "/settings.csv", std::ios::binary);
  for (int i = 0; i < rows; ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "song %06d,Song Title %d,P%03d,\"capo %d, verse soft\",%d\n",
                  i, i, i % 128, i % 5, 60 + i % 140);
    settings << line;
  }
  std::ofstream setlist(dir + "/setlist.csv", std::ios::binary);
  std::uniform_int_distribution<int> pick(0, rows - 1);
  std::uniform_real_distribution<double> chance(0.0, 1.0);
  for (int i = 0; i < rows; ++i) {
    char line[64];
    if (chance(rng) < 0.9) {
      std::snprintf(line, sizeof line, "Song %06d\n", pick(rng));
    } else {
      std::snprintf(line, sizeof line, "Unknown %d\n", i);
    }
    setlist << line;
  }
}

void BM_TextBuild(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  std::string pattern = (std::filesystem::temp_directory_path() / "tallyform-bench-XXXXXX").string();
  const std::string dir = ::mkdtemp(pattern.data());
  WriteTables(dir, rows);
  const BuildPaths paths{dir + "/setlist.csv", dir + "/settings.csv", dir + "/setlist.json"};
  int64_t lines = 0;
  for (auto _ : state) {
    CountingConsole console;
    if (create_fromtext_file(paths, console)) state.SkipWithError("build stopped");
    lines = console.lines;
  }
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.counters["console_lines"] = static_cast<double>(lines);
  state.counters["json_MB"] =
      static_cast<double>(std::filesystem::file_size(paths.json_file)) / (1024.0 * 1024.0);
  std::filesystem::remove_all(dir);
}

BENCHMARK(BM_TextBuild)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
