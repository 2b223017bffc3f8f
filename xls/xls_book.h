// An .xls workbook: opens the compound document (held for exclusive use until Close, the
// next Load or destruction), walks the "Workbook" stream's substreams and keeps the globals,
// one record-level Worksheet per worksheet substream and one XlsSheet grid for each. The
// book owns all of it; callers get plain pointers that live as long as the loaded sheets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bytes/byte_span.h"
#include "cfb/compound_file.h"
#include "xls/ref_count.h"
#include "xls/workbook_globals.h"
#include "xls/worksheet.h"
#include "xls/xls_sheet.h"

namespace Xls {

class XlsBook {
 public:
  // Limits on what one file can make the reader hold. A Workbook stream larger than
  // kMaxWorkbookStream is not read at all, and a book whose sheet grids together span more
  // than kMaxGridRows rows (four full-height sheets) is dropped once the sheet crossing it is
  // made: every grid row costs memory, so a 40-byte sheet with one cell in row 65535 costs
  // over a megabyte while it loads. Either way the load fails, as for a file that does not open.
  static constexpr uint64_t kMaxWorkbookStream = uint64_t{256} << 20;
  static constexpr int64_t kMaxGridRows = int64_t{1} << 18;

  XlsBook() = default;
  explicit XlsBook(const std::string& filename) { Load(filename); }
  ~XlsBook();
  XlsBook(const XlsBook&) = delete;
  XlsBook& operator=(const XlsBook&) = delete;

  // True once the document opened and its sheets loaded within the limits above; a failed
  // open keeps the sheets of an earlier load, a load beyond the limits leaves none.
  bool Load(const std::string& filename);
  bool Load(const std::u16string& filename);
  // The same load from the bytes of a Workbook stream, without a document (same limits).
  bool LoadStream(ByteOrder::ByteSpan workbookStream);
  void Close();

  int32_t GetTotalWorkSheets() const { return static_cast<int32_t>(recordSheets.size()); }
  XlsSheet* GetWorksheet(int32_t sheetIndex);
  XlsSheet* GetWorksheet(const std::string& name);
  XlsSheet* GetWorksheet(const std::u16string& name);
  const char* GetAnsiSheetName(int32_t index) const;
  const char16_t* GetUnicodeSheetName(int32_t index) const;
  bool GetSheetName(int32_t index, char* buffer, size_t capacity) const;
  bool GetSheetName(int32_t index, char16_t* buffer, size_t capacity) const;

  // Walks the substreams of a Workbook stream, reading every worksheet and skipping the
  // other kinds of sheet whole; returns the bytes consumed.
  uint32_t Read(ByteOrder::ByteSpan stream);
  // The sheet-list entry (the index the name getters take) of the worksheet at
  // `sheetIndex`, -1 when it has none. Sheet lists count charts too, worksheet indexes don't.
  int32_t SheetListEntry(int32_t sheetIndex) const;
  // Makes the sheet grids; false (and no sheets) past kMaxGridRows.
  bool UpdateSheets();

  Cfb::CompoundFile document;
  Workbook globals;
  std::vector<Worksheet> recordSheets;
  std::vector<RefCount::SmartPtr<XlsSheet>> sheets;

 private:
  struct SheetPlace {
    uint32_t offset;   // of the worksheet's BOF in the stream
    uint32_t ordinal;  // among all the sheets' substreams, in stream order
  };

  // Drops what an earlier load kept and reads the stream's records (no grids yet).
  void Parse(ByteOrder::ByteSpan stream);
  void MatchSheetList(const std::vector<SheetPlace>& places);

  std::vector<int32_t> sheetListEntries;  // one per entry of recordSheets
};

}  // namespace Xls
