// The .xlsx and .ods readers in-process: load the benchmark workbook and visit every stored
// cell, beside the floor of just inflating the parts the .xlsx load reads (its sheet and
// shared strings) with no parsing. Files: $TALLYFORM_XLSX_BENCH_FILE and
// $TALLYFORM_ODS_BENCH_FILE, else build/bench-data/big.xlsx and big.ods (LibreOffice's
// saves of the 65,535-row table). Reports peak resident memory as a counter.
// `modern_load_bench --once FILE` instead loads and visits FILE once and exits, so a whole
// process (start-up, read, parse, visit) can be timed from outside, as bench/run times peers.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ods/ods_book.h"
#include "xlsx/xlsx_book.h"
#include "lockedfile/locked_file.h"
#include "zip/zip_archive.h"

namespace {

std::string BenchFile(const char* variable, const char* fallback) {
  const char* env = std::getenv(variable);
  return env ? env : fallback;
}

void ReportMemory(benchmark::State& state, size_t cells) {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.counters["cells"] = static_cast<double>(cells);
}

struct Visited {
  size_t cells = 0;
  size_t textBytes = 0;
};

template <typename Book>
bool LoadAndVisitOnce(const std::string& path, Visited& out) {
  Book book;
  if (!book.Load(path)) return false;
  out = {};
  for (int32_t s = 0; s < book.GetTotalWorkSheets(); ++s)
    book.GetWorksheet(s)->ForEachStoredCell([&](int32_t, int32_t, const Grid::GridCell& cell) {
      ++out.cells;
      if (const char* t = cell.GetString()) out.textBytes += std::strlen(t);
    });
  return true;
}

template <typename Book>
void LoadAndVisit(benchmark::State& state, const std::string& path) {
  Visited visited;
  for (auto _ : state) {
    if (!LoadAndVisitOnce<Book>(path, visited)) {
      state.SkipWithError(("cannot load " + path + " (run bench/run first)").c_str());
      return;
    }
    benchmark::DoNotOptimize(visited.textBytes);
  }
  ReportMemory(state, visited.cells);
}

void BM_XlsxLoadAndVisit(benchmark::State& state) {
  LoadAndVisit<Xlsx::XlsxBook>(state, BenchFile("TALLYFORM_XLSX_BENCH_FILE", "build/bench-data/big.xlsx"));
}
BENCHMARK(BM_XlsxLoadAndVisit)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OdsLoadAndVisit(benchmark::State& state) {
  LoadAndVisit<Ods::OdsBook>(state, BenchFile("TALLYFORM_ODS_BENCH_FILE", "build/bench-data/big.ods"));
}
BENCHMARK(BM_OdsLoadAndVisit)->Unit(benchmark::kMillisecond)->UseRealTime();

// Inflating alone, one part after the other, into a small buffer: what a load cannot beat
// on one core.
void InflateParts(benchmark::State& state, const std::string& path, std::vector<std::string> parts) {
  for (auto _ : state) {
    LockedFile file;
    std::vector<uint8_t> bytes;
    Zip::Archive archive;
    if (!file.Open(path) || !file.ReadAll(Zip::Archive::kMaxArchiveBytes, bytes) ||
        !archive.Open(bytes.data(), bytes.size())) {
      state.SkipWithError(("cannot open " + path).c_str());
      return;
    }
    uint64_t total = 0;
    for (const auto& name : parts) {
      Zip::EntryStream stream;
      const auto index = archive.Find(name);
      if (!index || !stream.Open(archive, *index)) {
        state.SkipWithError(("no part " + name).c_str());
        return;
      }
      char buffer[65536];
      int64_t got;
      while ((got = stream.Read(buffer, sizeof buffer)) > 0) total += static_cast<uint64_t>(got);
    }
    benchmark::DoNotOptimize(total);
    state.counters["inflated_MB"] = static_cast<double>(total) / 1e6;
  }
}

void BM_XlsxInflateOnly(benchmark::State& state) {
  InflateParts(state, BenchFile("TALLYFORM_XLSX_BENCH_FILE", "build/bench-data/big.xlsx"),
               {"xl/worksheets/sheet1.xml", "xl/sharedStrings.xml"});
}
BENCHMARK(BM_XlsxInflateOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OdsInflateOnly(benchmark::State& state) {
  InflateParts(state, BenchFile("TALLYFORM_ODS_BENCH_FILE", "build/bench-data/big.ods"), {"content.xml"});
}
BENCHMARK(BM_OdsInflateOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

int LoadOnce(const std::string& path) {
  const bool ods = path.size() >= 4 && path.compare(path.size() - 4, 4, ".ods") == 0;
  Visited visited;
  if (!(ods ? LoadAndVisitOnce<Ods::OdsBook>(path, visited) : LoadAndVisitOnce<Xlsx::XlsxBook>(path, visited))) {
    std::fprintf(stderr, "cannot load %s\n", path.c_str());
    return 1;
  }
  std::printf("%zu cells, %zu text bytes\n", visited.cells, visited.textBytes);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--once") == 0) return LoadOnce(argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
