// TextSheet: the one worksheet of a text table. It keeps the file's text (as UTF-8, after the
// text-mode rules) in one buffer with the start of every record, and splits a record into
// fields only when a cell of it is asked for (once per row, as far as the columns asked). Owned by its TextBook; owns its shared TextCell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "textbook/text_cell.h"

class TextSheet {
 public:
  int32_t GetTotalRows() const { return rowCount_; }
  // Splits record `row` and returns the shared cell set to column `col`; never null. A row at
  // or past GetTotalRows() reads as an empty record.
  TextCell* Cell(uint32_t row, uint32_t col);

 private:
  friend class TextBook;
  // `starts` as RecordStarts gives them for `text`: each record's offset, then the end.
  void Assign(std::string text, std::vector<uint32_t> starts, char delimiter);

  std::string text_;
  std::vector<uint32_t> starts_;
  char delimiter_ = ',';
  int32_t rowCount_ = 0;
  TextCell cell_;
  bool started_ = false;  // cell_ holds a record of this text
};
