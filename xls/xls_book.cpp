#include "xls/xls_book.h"

#include <cstring>

namespace Xls {

namespace {
constexpr uint16_t kGlobals = 0x0005;
constexpr uint16_t kWorksheetType = 0x0010;
}  // namespace

XlsBook::~XlsBook() {
  Close();
  sheets.clear();
  recordSheets.clear();
}

bool XlsBook::Load(const std::string& filename) { return Load(Cfb::widen_string(filename)); }

bool XlsBook::Load(const std::u16string& filename) {
  if (document.IsOpen()) document.Close();
  if (!document.Open(filename, 3)) return false;
  // A missing or unreadable stream leaves no BOF to find: a book without worksheets.
  BigVector<char> stream;
  uint64_t size = 0;
  if (document.FileSize(std::string("Workbook"), size) == Cfb::CfSuccess && size > 0) {
    if (size > kMaxWorkbookStream) {
      Parse(ByteOrder::ByteSpan());
      document.Close();
      return false;
    }
    stream.resize(static_cast<size_t>(size));  // bounded: FileSize refuses sizes beyond the file
    if (document.ReadFile(std::string("Workbook"), stream.data(), static_cast<uint32_t>(size)) != Cfb::CfSuccess)
      stream.clear();
  }
  Parse(ByteOrder::ByteSpan(stream.data(), stream.size()));
  // Nothing refers to the stream's bytes once read: let them go before the grids are built.
  BigVector<char>().swap(stream);
  if (UpdateSheets()) return true;
  document.Close();
  return false;
}

bool XlsBook::LoadStream(ByteOrder::ByteSpan workbookStream) {
  const bool tooLarge = workbookStream.size() > kMaxWorkbookStream;
  Parse(tooLarge ? ByteOrder::ByteSpan() : workbookStream);
  return UpdateSheets() && !tooLarge;
}

void XlsBook::Parse(ByteOrder::ByteSpan stream) {
  sheets.clear();
  globals = Workbook();
  recordSheets.clear();
  Read(stream);
}

void XlsBook::Close() {
  if (document.IsOpen()) document.Close();
}

uint32_t XlsBook::Read(ByteOrder::ByteSpan stream) {
  // The grids borrow the shared strings' texts from the packed table (see XlsCell).
  globals.sst.compact = true;
  size_t pos = 0;
  while (stream.Has(pos, 2) && stream.U16(pos) == RecordCode::kBOF) {
    const ByteOrder::ByteSpan at = stream.Sub(pos);
    BOF bof;
    bof.Read(at);
    uint32_t used = 0;
    if (bof.substreamType == kGlobals) {
      used = globals.Read(at);
      // Past FILEPASS the stream is encrypted: no worksheet can be read from it.
      if (globals.encrypted) {
        recordSheets.clear();
        return static_cast<uint32_t>(stream.size());
      }
    } else if (bof.substreamType == kWorksheetType) {
      Worksheet& sheet = recordSheets.emplace_back();
      sheet.compactCells = true;  // the book keeps grids, not record objects
      used = sheet.Read(at);
    } else {
      used = Record::Skip(at);
    }
    pos += used;
  }
  return static_cast<uint32_t>(pos);
}

bool XlsBook::UpdateSheets() {
  sheets.clear();
  sheets.reserve(recordSheets.size());
  int64_t gridRows = 0;
  for (size_t i = 0; i < recordSheets.size(); ++i) {
    RefCount::SmartPtr<XlsSheet> sheet(new XlsSheet(this, static_cast<int32_t>(i)));
    gridRows += sheet->GetTotalRows();
    if (gridRows > kMaxGridRows) {
      sheets.clear();
      recordSheets.clear();
      return false;
    }
    sheet->columnInfo = recordSheets[i].colInfos.colInfoList;
    sheets.push_back(sheet);
  }
  return true;
}

XlsSheet* XlsBook::GetWorksheet(int32_t sheetIndex) {
  if (sheetIndex < 0 || sheetIndex >= static_cast<int32_t>(sheets.size())) return nullptr;
  return sheets[sheetIndex].get();
}

XlsSheet* XlsBook::GetWorksheet(const std::string& name) {
  for (size_t i = 0; i < sheets.size(); ++i) {
    const char* n = GetAnsiSheetName(static_cast<int32_t>(i));
    if (n && name == n) return sheets[i].get();
  }
  return nullptr;
}

XlsSheet* XlsBook::GetWorksheet(const std::u16string& name) {
  for (size_t i = 0; i < sheets.size(); ++i) {
    const char16_t* n = GetUnicodeSheetName(static_cast<int32_t>(i));
    if (n && name == n) return sheets[i].get();
  }
  return nullptr;
}

const char* XlsBook::GetAnsiSheetName(int32_t index) const {
  if (index < 0 || index >= static_cast<int32_t>(globals.boundSheets.size())) return nullptr;
  const SmallString& name = globals.boundSheets[index].name;
  return name.IsWide() ? nullptr : name.narrowText.c_str();
}

const char16_t* XlsBook::GetUnicodeSheetName(int32_t index) const {
  if (index < 0 || index >= static_cast<int32_t>(globals.boundSheets.size())) return nullptr;
  const SmallString& name = globals.boundSheets[index].name;
  return name.IsWide() ? name.wideText.c_str() : nullptr;
}

bool XlsBook::GetSheetName(int32_t index, char* buffer, size_t capacity) const {
  const char* n = GetAnsiSheetName(index);
  if (!n || !buffer || std::strlen(n) + 1 > capacity) return false;
  std::memcpy(buffer, n, std::strlen(n) + 1);
  return true;
}

bool XlsBook::GetSheetName(int32_t index, char16_t* buffer, size_t capacity) const {
  const char16_t* n = GetUnicodeSheetName(index);
  if (!n || !buffer) return false;
  const std::u16string s(n);
  if (s.size() + 1 > capacity) return false;
  std::memcpy(buffer, s.c_str(), (s.size() + 1) * sizeof(char16_t));
  return true;
}

}  // namespace Xls
