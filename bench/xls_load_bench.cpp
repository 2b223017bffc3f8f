// Load time of the spreadsheet reader on the 65,535-row x 6-column LibreOffice workbook that
// bench/xls-load generates (build/bench/xls-load-65535x6.xls, or $TALLYFORM_XLS_BENCH_FILE).
// Measures the stream walk and grid build from the raw Workbook stream (NAME.bin beside it,
// which bench/xls-load --via-stream writes) and, when that file opens, the whole Load.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "xls/xls_book.h"

namespace {

std::string BenchFile() {
  const char* env = std::getenv("TALLYFORM_XLS_BENCH_FILE");
  return env ? env : "bench/xls-load-65535x6.xls";
}

void BM_XlsLoadStream(benchmark::State& state) {
  std::string path = BenchFile();
  path = path.substr(0, path.find_last_of('.')) + ".bin";
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.empty()) {
    state.SkipWithError(("no Workbook stream at " + path + " (run bench/xls-load --via-stream)").c_str());
    return;
  }
  for (auto _ : state) {
    Xls::XlsBook book;
    book.LoadStream(ByteOrder::ByteSpan(bytes.data(), bytes.size()));
    benchmark::DoNotOptimize(book.GetWorksheet(0));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_XlsLoadStream)->Unit(benchmark::kMillisecond);

void BM_XlsLoadFile(benchmark::State& state) {
  const std::string path = BenchFile();
  for (auto _ : state) {
    Xls::XlsBook book;
    if (!book.Load(path)) {
      state.SkipWithError(("cannot load " + path).c_str());
      return;
    }
    benchmark::DoNotOptimize(book.GetWorksheet(0));
  }
}
BENCHMARK(BM_XlsLoadFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
