#include "ods/ods_book.h"

#include <cstring>

#include "ods/content_part.h"
#include "zip/zip_archive.h"

namespace Ods {
namespace {

constexpr uint8_t kCompoundFileSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

bool ReadPackage(const std::vector<uint8_t>& bytes, std::vector<std::unique_ptr<Grid::GridSheet>>& sheets) {
  if (bytes.size() >= sizeof kCompoundFileSignature &&
      std::memcmp(bytes.data(), kCompoundFileSignature, sizeof kCompoundFileSignature) == 0)
    return true;
  Zip::Archive archive;
  if (!archive.Open(bytes.data(), bytes.size())) return false;
  const auto content = archive.Find("content.xml");
  return !content || ReadContentPart(archive, *content, sheets);
}

}  // namespace

bool OdsBook::Load(const std::string& filename) {
  file_.Close();
  if (!file_.Open(filename)) return false;
  std::vector<uint8_t> bytes;
  std::vector<std::unique_ptr<Grid::GridSheet>> sheets;
  if (!file_.ReadAll(Zip::Archive::kMaxArchiveBytes, bytes) || !ReadPackage(bytes, sheets)) {
    file_.Close();
    return false;
  }
  sheets_ = std::move(sheets);
  return true;
}

const Grid::GridSheet* OdsBook::GetWorksheet(int32_t sheetIndex) const {
  if (sheetIndex < 0 || sheetIndex >= GetTotalWorkSheets()) return nullptr;
  return sheets_[static_cast<size_t>(sheetIndex)].get();
}

}  // namespace Ods
