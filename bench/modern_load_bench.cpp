// The .xlsx and .ods readers in-process: load the benchmark workbook and visit every stored
// cell, beside the floor of just inflating the parts the .xlsx load reads (its sheet and
// shared strings) with no parsing. Files: $TALLYFORM_XLSX_BENCH_FILE and
// $TALLYFORM_ODS_BENCH_FILE, else build/bench-data/big.xlsx and big.ods (LibreOffice's
// saves of the 65,535-row table). Reports peak resident memory as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ods/ods_book.h"
#include "xlsx/xlsx_book.h"
#include "zip/locked_file.h"
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

template <typename Book>
void LoadAndVisit(benchmark::State& state, const std::string& path) {
  size_t cells = 0, textBytes = 0;
  for (auto _ : state) {
    Book book;
    if (!book.Load(path)) {
      state.SkipWithError(("cannot load " + path + " (run bench/run first)").c_str());
      return;
    }
    cells = textBytes = 0;
    for (int32_t s = 0; s < book.GetTotalWorkSheets(); ++s)
      book.GetWorksheet(s)->ForEachStoredCell([&](int32_t, int32_t, const Grid::GridCell& cell) {
        ++cells;
        if (const char* t = cell.GetString()) textBytes += std::strlen(t);
      });
    benchmark::DoNotOptimize(textBytes);
  }
  ReportMemory(state, cells);
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
    Zip::LockedFile file;
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

}  // namespace

BENCHMARK_MAIN();
