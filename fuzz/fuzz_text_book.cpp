// The text workbook over arbitrary bytes, read with the delimiter it finds and with the tab
// forced: cell reads at every row and column must give UTF-8 texts, and the table written
// back as a spreadsheet program would (every field quoted, quotes doubled) must read back the
// same, which holds the quoting and the record boundaries to one another.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "text/utf8.h"
#include "textbook/text_book.h"

namespace {

using Row = std::array<std::string, TextCell::kFieldCount>;

// Every field of every row, checking what each cell read promises.
std::vector<Row> ReadAll(TextBook& book) {
  TextSheet* sheet = book.GetWorksheet(0);
  const int32_t rows = sheet->GetTotalRows();
  std::vector<Row> all;
  // Plus one column and one row past the table, which read as empty.
  for (int32_t r = 0; r <= rows; ++r) {
    Row row;
    for (uint32_t c = 0; c <= TextCell::kFieldCount; ++c) {
      TextCell* cell = sheet->Cell(static_cast<uint32_t>(r), c);
      const int32_t type = cell->Type();
      const char* text = cell->GetString();
      int32_t value = 0;
      const bool ok = cell->GetInteger(value);
      if (text == nullptr) __builtin_trap();  // never null
      const std::string field = text;
      if (!IsUtf8(field)) __builtin_trap();
      // (A field may start with a NUL byte: a text then, read as the empty C string.)
      if (type == TextCell::CellUndefined && !field.empty()) __builtin_trap();
      if ((r == rows || c == TextCell::kFieldCount) && (type != TextCell::CellUndefined || ok)) __builtin_trap();
      if (r < rows && c < TextCell::kFieldCount) row[c] = field;
    }
    if (r < rows) all.push_back(row);
  }
  return all;
}

// Text mode drops a carriage return before a line feed once, at load: one that stays (of CR CR
// LF) is then dropped when the table is read again.
std::vector<Row> AsReadAgain(std::vector<Row> rows) {
  for (Row& row : rows)
    for (std::string& field : row)
      for (size_t at = field.find("\r\n"); at != std::string::npos; at = field.find("\r\n", at)) field.erase(at, 1);
  return rows;
}

std::string WriteBack(const std::vector<Row>& rows, char delimiter) {
  std::string text;
  for (const Row& row : rows) {
    for (uint32_t c = 0; c < TextCell::kFieldCount; ++c) {
      if (c) text += delimiter;
      text += '"';
      for (const char ch : row[c]) text += ch == '"' ? std::string("\"\"") : std::string(1, ch);
      text += '"';
    }
    text += '\n';
  }
  return text;
}

void Check(const uint8_t* data, size_t size, TextDelimiter delimiter) {
  MemoryFile file(data, size);
  TextBook book;
  if (!book.Load(file.path(), delimiter)) return;
  if (delimiter != TextDelimiter::kDetect && book.GetDelimiter() != delimiter) __builtin_trap();
  const std::vector<Row> rows = ReadAll(book);

  const std::string again = WriteBack(rows, static_cast<char>(book.GetDelimiter()));
  MemoryFile copy(reinterpret_cast<const uint8_t*>(again.data()), again.size());
  TextBook reread;
  if (!reread.Load(copy.path(), book.GetDelimiter())) __builtin_trap();
  if (reread.GetEncoding() != TextEncoding::kUtf8 || ReadAll(reread) != AsReadAgain(rows)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Check(data, size, TextDelimiter::kDetect);
  Check(data, size, TextDelimiter::kTab);
  return 0;
}
