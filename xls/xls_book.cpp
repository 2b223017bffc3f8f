#include "xls/xls_book.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "threads/second_thread.h"

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
  sheetListEntries.clear();
  Read(stream);
}

void XlsBook::Close() {
  if (document.IsOpen()) document.Close();
}

uint32_t XlsBook::Read(ByteSpan stream) {
  // The grids borrow the shared strings' texts from the packed table (see XlsCell).
  globals.sst.compact = true;
  // The shared strings, a large part of a big book's load, are decoded on a second thread
  // while the sheets' records are read: those keep string indexes and never look at the
  // table. The table's bytes are the stream's, which outlives this walk.
  globals.deferSharedStrings = true;
  SecondThread sstDecoder;
  std::vector<SheetPlace> places;
  size_t pos = 0;
  uint32_t sheetSubstreams = 0;
  // The sheet list's BOF positions, sorted once per globals substream: where the first sheet
  // after `offset` starts (else the stream's end) is then a search, not a walk of the list for
  // each of the many sheets a hostile file may hold.
  std::vector<uint32_t> sheetStarts;
  const auto nextSheetOffset = [&](size_t offset) {
    const auto next = std::upper_bound(sheetStarts.begin(), sheetStarts.end(), offset);
    return next == sheetStarts.end() ? stream.size() : std::min<size_t>(*next, stream.size());
  };
  while (stream.Has(pos, 2) && stream.U16(pos) == RecordCode::kBOF) {
    const ByteSpan at = stream.Sub(pos);
    BOF bof;
    bof.Read(at);
    uint32_t used = 0;
    if (bof.substreamType == kGlobals) {
      sstDecoder.Wait();  // another globals substream may bring a table of its own
      used = globals.Read(at);
      sheetStarts.clear();
      for (const auto& entry : globals.boundSheets) sheetStarts.push_back(entry.bofPosition);
      std::sort(sheetStarts.begin(), sheetStarts.end());
      if (!globals.pendingSst.empty()) {
        const ByteSpan table = std::exchange(globals.pendingSst, ByteSpan());
        sstDecoder.Start([this, table] { globals.sst.Read(table); });
      }
      // Past FILEPASS the stream is encrypted: no worksheet can be read from it.
      if (globals.encrypted) {
        sstDecoder.Wait();
        recordSheets.clear();
        sheetListEntries.clear();
        return static_cast<uint32_t>(stream.size());
      }
    } else {
      // Every sheet, of whatever kind, has its entry in the sheet list.
      const uint32_t ordinal = sheetSubstreams++;
      if (bof.substreamType == kWorksheetType) {
        Worksheet& sheet = recordSheets.emplace_back();
        sheet.compactCells = true;  // the book keeps grids, not record objects
        sheet.expectedBytes = nextSheetOffset(pos) - pos;
        used = sheet.Read(at);
        if (sheet.dialogSheet)
          recordSheets.pop_back();
        else
          places.push_back({static_cast<uint32_t>(pos), ordinal});
      } else {
        // Chart, macro sheet, module and the like: nothing in them is a table.
        used = SkipSubstream(at);
      }
      // Each grid has a row at least: past the limit the load fails anyway, and holding
      // more sheets would cost memory for nothing.
      if (static_cast<int64_t>(recordSheets.size()) > kMaxGridRows) break;
    }
    pos += used;
  }
  MatchSheetList(places);
  sstDecoder.Wait();
  return static_cast<uint32_t>(pos);
}

// A sheet's entry is the one whose BOF position is the sheet's own; a writer that stored no
// positions gets the entries in order, charts and all, as the substreams came.
void XlsBook::MatchSheetList(const std::vector<SheetPlace>& places) {
  std::vector<std::pair<uint32_t, int32_t>> byPosition;
  byPosition.reserve(globals.boundSheets.size());
  for (size_t i = 0; i < globals.boundSheets.size(); ++i)
    byPosition.emplace_back(globals.boundSheets[i].bofPosition, static_cast<int32_t>(i));
  std::stable_sort(byPosition.begin(), byPosition.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  sheetListEntries.clear();
  sheetListEntries.reserve(places.size());
  for (const SheetPlace& place : places) {
    const auto it = std::lower_bound(byPosition.begin(), byPosition.end(), place.offset,
                                     [](const auto& e, uint32_t offset) { return e.first < offset; });
    int32_t entry = -1;
    if (it != byPosition.end() && it->first == place.offset)
      entry = it->second;
    else if (place.ordinal < globals.boundSheets.size())
      entry = static_cast<int32_t>(place.ordinal);
    sheetListEntries.push_back(entry);
  }
}

int32_t XlsBook::SheetListEntry(int32_t sheetIndex) const {
  if (sheetIndex < 0 || static_cast<size_t>(sheetIndex) >= sheetListEntries.size()) return -1;
  return sheetListEntries[sheetIndex];
}

bool XlsBook::UpdateSheets() {
  // The stream's pages, let go just before, become the grids' (see BigAllocator); once the
  // grids are made nothing else of the load wants them.
  struct ReleaseWhenDone {
    ~ReleaseWhenDone() { ReleaseSpareBlock(); }
  } release;
  sheets.clear();
  sheets.reserve(recordSheets.size());
  int64_t gridRows = 0;
  for (size_t i = 0; i < recordSheets.size(); ++i) {
    RefCount::SmartPtr<XlsSheet> sheet(new XlsSheet(this, static_cast<int32_t>(i)));
    gridRows += sheet->GetTotalRows();
    if (gridRows > kMaxGridRows) {
      sheets.clear();
      recordSheets.clear();
      sheetListEntries.clear();
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
    const char* n = sheets[i]->GetAnsiSheetName();
    if (n && name == n) return sheets[i].get();
  }
  return nullptr;
}

XlsSheet* XlsBook::GetWorksheet(const std::u16string& name) {
  for (size_t i = 0; i < sheets.size(); ++i) {
    const char16_t* n = sheets[i]->GetUnicodeSheetName();
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
