// The spreadsheet reader in-process: loads a workbook and visits every stored cell, as the
// FreeXL peer does. The file is $TALLYFORM_XLS_BENCH_FILE, else build/bench-data/big.xls
// (the 65,535-row workbook bench/run generates). Reports peak resident memory as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "xls/xls_book.h"

namespace {

std::string BenchFile() {
  const char* env = std::getenv("TALLYFORM_XLS_BENCH_FILE");
  return env ? env : "build/bench-data/big.xls";
}

void BM_XlsLoadAndVisit(benchmark::State& state) {
  const std::string path = BenchFile();
  size_t cells = 0, textBytes = 0;
  for (auto _ : state) {
    Xls::XlsBook book;
    if (!book.Load(path)) {
      state.SkipWithError(("cannot load " + path + " (run bench/run first)").c_str());
      return;
    }
    cells = textBytes = 0;
    for (int32_t s = 0; s < book.GetTotalWorkSheets(); ++s)
      book.GetWorksheet(s)->ForEachStoredCell([&](int32_t, int32_t, const Xls::XlsCell& cell) {
        ++cells;
        if (const char* t = cell.GetString()) textBytes += std::strlen(t);
      });
    benchmark::DoNotOptimize(textBytes);
  }
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.counters["cells"] = static_cast<double>(cells);
}
BENCHMARK(BM_XlsLoadAndVisit)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
