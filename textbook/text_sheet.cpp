#include "textbook/text_sheet.h"

#include <string_view>
#include <utility>

void TextSheet::Assign(std::string text, std::vector<uint32_t> starts, char delimiter) {
  text_ = std::move(text);
  starts_ = std::move(starts);
  if (starts_.empty()) starts_.push_back(0);
  rowCount_ = static_cast<int32_t>(starts_.size() - 1);
  delimiter_ = delimiter;
  started_ = false;  // the cell's record was the old text's
}

TextCell* TextSheet::Cell(uint32_t row, uint32_t col) {
  if (!started_ || row != cell_.row()) {
    std::string_view record;
    if (row < static_cast<uint32_t>(rowCount_)) {
      // Each record is followed by its line feed (or the table's last one).
      const size_t begin = starts_[row];
      record = std::string_view(text_).substr(begin, starts_[row + 1] - 1 - begin);
    }
    cell_.Start(row, record, delimiter_);
    started_ = true;
  }
  cell_.Select(col);
  return &cell_;
}
