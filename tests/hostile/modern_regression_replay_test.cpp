// Replays every input the zip, .xlsx and .ods fuzz targets once failed on
// (tests/hostile/regressions/<target>/) through the same entry points, so a fixed fault
// stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/grid_visit.h"
#include "fuzz/package_input.h"
#include "ods/ods_book.h"
#include "xlsx/xlsx_book.h"
#include "zip/zip_archive.h"

namespace {

std::vector<std::string> Inputs(const std::string& target) {
  std::vector<std::string> bytes;
  const auto dir = std::filesystem::path(TALLYFORM_SOURCE_DIR) / "tests/hostile/regressions" / target;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
    std::ifstream in(e.path(), std::ios::binary);
    bytes.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return bytes;
}

template <typename Book>
void LoadAndVisit(const std::string& package) {
  zip_maker::ScratchDir dir;
  Book book;
  if (book.Load(dir.Write("input", package))) VisitGridBook(book);
}

TEST(ModernFuzzRegressions, ZipArchive) {
  for (const std::string& input : Inputs("fuzz_zip_archive")) {
    Zip::Archive archive;
    if (!archive.Open(reinterpret_cast<const uint8_t*>(input.data()), input.size())) continue;
    for (uint64_t i = 0; i < 64; ++i) {
      Zip::EntryStream stream;
      char buffer[4096];
      if (stream.Open(archive, i))
        while (stream.Read(buffer, sizeof buffer) > 0) {
        }
    }
  }
}

TEST(ModernFuzzRegressions, XlsxBook) {
  for (const std::string& input : Inputs("fuzz_xlsx_book"))
    LoadAndVisit<Xlsx::XlsxBook>(XlsxPackageFromParts(reinterpret_cast<const uint8_t*>(input.data()), input.size()));
}

TEST(ModernFuzzRegressions, OdsBook) {
  for (const std::string& input : Inputs("fuzz_ods_book"))
    LoadAndVisit<Ods::OdsBook>(OdsPackageFromContent(reinterpret_cast<const uint8_t*>(input.data()), input.size()));
}

}  // namespace
