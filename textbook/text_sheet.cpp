#include "textbook/text_sheet.h"

#include <string_view>
#include <utility>

void TextSheet::Assign(std::string text, std::vector<uint32_t> starts) {
  text_ = std::move(text);
  starts_ = std::move(starts);
  rowCount_ = static_cast<int32_t>(starts_.size());
}

TextCell* TextSheet::Cell(uint32_t row, uint32_t col) {
  std::string_view line;
  if (row < starts_.size()) {
    const size_t begin = starts_[row];
    // Every stored line ends in a line feed.
    const size_t end = text_.find('\n', begin);
    line = std::string_view(text_).substr(begin, end - begin);
  }
  cell_.Fill(row, col, line);
  return &cell_;
}
