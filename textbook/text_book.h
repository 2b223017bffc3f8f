// TextBook: a comma-separated .csv/.txt file presented as a workbook with exactly one worksheet,
// through the same read operations as the .xls reader. Load reads the whole file at once and
// closes it; the workbook owns its one TextSheet.
#pragma once

#include <cstdint>
#include <string>

#include "textbook/text_sheet.h"

class TextBook {
 public:
  // The largest table read into memory: a longer file (or pipe) is refused as unreadable.
  // Besides its bytes a table costs 4 bytes per line (its start): 64 MiB of empty lines
  // take about 320 MB.
  static constexpr size_t kMaxTableBytes = size_t{64} << 20;

  // Reads every line of the file at the 8-bit path `filename`. False when it cannot be opened
  // or read (missing, no access, a directory, a device, more than kMaxTableBytes); true
  // otherwise, also for an empty file or a pipe with no writer.
  bool Load(const std::string& filename);
  // The file is already closed after Load; kept so callers can release it explicitly.
  void Close() {}
  int32_t GetTotalWorkSheets() const { return 1; }
  // The one worksheet, whatever the index; never null.
  TextSheet* GetWorksheet(int32_t) { return &worksheet_; }

 private:
  TextSheet worksheet_;
};
