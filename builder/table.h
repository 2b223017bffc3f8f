// Table and TableSheet: what a build reads from one table file, whatever reader it comes from.
// Each reader kind has one adapter implementing them (builder/text_table.h, builder/xls_table.h);
// the adapter owns its reader's workbook, and its sheets live as long as the table.
// Cells are read at (row, col); the reader's own cell objects never reach the build.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class TableSheet {
 public:
  virtual ~TableSheet() = default;
  virtual int32_t RowCount() = 0;
  // True for an empty cell (type code CellUndefined).
  virtual bool IsEmpty(uint32_t row, uint32_t col) = 0;
  // The cell's text as UTF-8; "" for a cell that holds none.
  virtual std::string Text(uint32_t row, uint32_t col) = 0;
  // The same text into `out`, whose room a reader may reuse: the build reads every name this
  // way, so a large table costs no allocation per row.
  virtual void TextInto(uint32_t row, uint32_t col, std::string& out) { out = Text(row, col); }
  // Calls visit(row, text) for each row from `first_row` below RowCount() whose cell in `col`
  // is not empty, in row order, with the text TextInto gives (the visitor may change it): the
  // build's pass over every name of a table. An adapter may walk its cells without a call per
  // cell; what it visits is what IsEmpty and TextInto would give row by row.
  using RowTextVisitor = std::function<void(uint32_t row, std::string& text)>;
  virtual void ForEachText(uint32_t col, int32_t first_row, const RowTextVisitor& visit) {
    std::string text;
    const int32_t rows = RowCount();
    for (int32_t r = first_row < 0 ? 0 : first_row; r < rows; ++r) {
      const auto row = static_cast<uint32_t>(r);
      if (IsEmpty(row, col)) continue;
      TextInto(row, col, text);
      visit(row, text);
    }
  }
  // The cell's tempo as the document writes it; nullopt when no integer can be read.
  virtual std::optional<int32_t> Tempo(uint32_t row, uint32_t col) = 0;
};

class Table {
 public:
  virtual ~Table() = default;
  // Opens and reads the file at the 8-bit path; false when it cannot be read as this kind.
  // A reader that holds its file for exclusive use holds it until the table is destroyed.
  virtual bool Load(const std::string& path) = 0;
  virtual int32_t SheetCount() = 0;
  // Worksheet `index`, or null when there is none.
  virtual TableSheet* Sheet(int32_t index) = 0;
  // The first row of a settings table that holds a setting: 1 where row 0 holds headings.
  virtual int32_t FirstSettingsRow() const = 0;
  // After Load, how the file was read when the user should be told, as the build says it
  // ("Reading <path> as ..."): "tab-separated" for a text table not split at commas, say.
  // Null when the table was read as its kind suggests.
  virtual const char* ReadAs() const { return nullptr; }
};
