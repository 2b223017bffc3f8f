#include "xlsx/xlsx_book.h"

#include <cstring>

#include "xlsx/package_reader.h"
#include "zip/zip_archive.h"

namespace Xlsx {
namespace {

// An encrypted package is stored inside a compound file.
constexpr uint8_t kCompoundFileSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

}  // namespace

bool XlsxBook::Load(const std::string& filename) {
  file_.Close();
  if (!file_.Open(filename)) return false;
  std::vector<uint8_t> bytes;
  if (!file_.ReadAll(Zip::Archive::kMaxArchiveBytes, bytes)) {
    file_.Close();
    return false;
  }
  PackageContents contents;
  const bool compound = bytes.size() >= sizeof kCompoundFileSignature &&
                        std::memcmp(bytes.data(), kCompoundFileSignature, sizeof kCompoundFileSignature) == 0;
  if (!compound && !ReadPackage(bytes.data(), bytes.size(), contents)) {
    file_.Close();
    return false;
  }
  sharedTexts_ = std::move(contents.sharedTexts);
  sheets_ = std::move(contents.sheets);
  return true;
}

const Grid::GridSheet* XlsxBook::GetWorksheet(int32_t sheetIndex) const {
  if (sheetIndex < 0 || sheetIndex >= GetTotalWorkSheets()) return nullptr;
  return sheets_[static_cast<size_t>(sheetIndex)].get();
}

}  // namespace Xlsx
