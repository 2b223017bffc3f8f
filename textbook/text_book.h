// TextBook: a delimited .csv/.txt file (comma, tab or semicolon; UTF-8, UTF-16 or Windows-1252)
// presented as a workbook with exactly one worksheet of UTF-8 texts, through the same read
// operations as the .xls reader. Load reads the whole file at once and closes it; the workbook
// owns its one TextSheet.
#pragma once

#include <cstdint>
#include <string>

#include "textbook/text_encoding.h"
#include "textbook/text_records.h"
#include "textbook/text_sheet.h"

class TextBook {
 public:
  // The largest table read into memory: a longer file (or pipe) is refused as unreadable.
  // Besides its text (as UTF-8: a Windows-1252 file may grow to three times its bytes) a table
  // costs 4 bytes per record (its start): 64 MiB of empty lines take about 320 MB.
  static constexpr size_t kMaxTableBytes = size_t{64} << 20;

  // Reads every record of the file at the 8-bit path `filename`, decoding it to UTF-8. The
  // delimiter is found from the first non-empty record unless `delimiter` names one. False
  // when the file cannot be opened or read (missing, no access, a directory, a device, more
  // than kMaxTableBytes); true otherwise, also for an empty file or a pipe with no writer.
  bool Load(const std::string& filename, TextDelimiter delimiter = TextDelimiter::kDetect);
  // The file is already closed after Load; kept so callers can release it explicitly.
  void Close() {}
  int32_t GetTotalWorkSheets() const { return 1; }
  // The one worksheet, whatever the index; never null.
  TextSheet* GetWorksheet(int32_t) { return &worksheet_; }
  // What the last Load read the file as (UTF-8 and the comma before any, and after a failure).
  TextEncoding GetEncoding() const { return encoding_; }
  TextDelimiter GetDelimiter() const { return delimiter_; }

 private:
  TextSheet worksheet_;
  TextEncoding encoding_ = TextEncoding::kUtf8;
  TextDelimiter delimiter_ = TextDelimiter::kComma;
};
