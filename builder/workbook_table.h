// WorkbookTable: the Table over a workbook reader's book, shared by the .xls, .xlsx/.xlsm and
// .ods adapters (xls_table.cpp, grid_table.cpp), which name the book and how a cell reads.
// Row 0 of a settings workbook holds the column headings, so settings start at row 1. The
// table owns the book, which holds its file for exclusive use until the table is destroyed.
// Only the adapters include this.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "builder/table.h"

// Book: Load(path), GetTotalWorkSheets(), GetWorksheet(index) giving a sheet pointer (null
// for none); the sheet: GetTotalRows() and Cell(row, col) giving a cell pointer (null
// outside the format's limits); the cell: Type(), 0 when empty. Traits: the cell's text as
// UTF-8, TextInto(cell, out) written over `out`, and Tempo(cell).
template <typename Book, typename Traits>
class WorkbookTable final : public Table {
  using SheetPointer = decltype(std::declval<Book&>().GetWorksheet(0));
  using CellPointer = decltype(std::declval<SheetPointer>()->Cell(0, 0));

  class SheetView final : public TableSheet {
   public:
    explicit SheetView(SheetPointer sheet) : sheet_(sheet) {}
    bool Present() const { return sheet_ != nullptr; }

    int32_t RowCount() override { return sheet_->GetTotalRows(); }
    bool IsEmpty(uint32_t row, uint32_t col) override {
      const CellPointer cell = At(row, col);
      return !cell || cell->Type() == 0;
    }
    std::string Text(uint32_t row, uint32_t col) override {
      std::string text;
      TextInto(row, col, text);
      return text;
    }
    void TextInto(uint32_t row, uint32_t col, std::string& out) override {
      const CellPointer cell = At(row, col);
      if (cell)
        Traits::TextInto(*cell, out);
      else
        out.clear();
    }
    std::optional<int32_t> Tempo(uint32_t row, uint32_t col) override {
      const CellPointer cell = At(row, col);
      return cell ? Traits::Tempo(*cell) : std::nullopt;
    }
    // The same cells as IsEmpty and Text row by row, asked of the sheet directly.
    void ForEachText(uint32_t col, int32_t first_row, const RowTextVisitor& visit) override {
      std::string text;
      const int32_t rows = sheet_->GetTotalRows();
      for (int32_t r = first_row < 0 ? 0 : first_row; r < rows; ++r) {
        const CellPointer cell = sheet_->Cell(r, static_cast<int32_t>(col));
        if (!cell || cell->Type() == 0) continue;
        Traits::TextInto(*cell, text);
        visit(static_cast<uint32_t>(r), text);
      }
      asked_ = false;  // a cell asked for may have moved
    }

   private:
    // The build asks for a cell's emptiness, then its value: the same cell twice in a row is
    // looked up once (nothing in between can have changed the sheet).
    CellPointer At(uint32_t row, uint32_t col) {
      if (!asked_ || row != row_ || col != col_) {
        cell_ = sheet_->Cell(static_cast<int32_t>(row), static_cast<int32_t>(col));
        row_ = row;
        col_ = col;
        asked_ = true;
      }
      return cell_;
    }

    SheetPointer sheet_;
    CellPointer cell_ = nullptr;
    uint32_t row_ = 0;
    uint32_t col_ = 0;
    bool asked_ = false;
  };

 public:
  bool Load(const std::string& path) override {
    if (!book_.Load(path)) return false;
    sheets_.clear();
    sheets_.reserve(static_cast<size_t>(book_.GetTotalWorkSheets()));
    for (int32_t i = 0; i < book_.GetTotalWorkSheets(); ++i) sheets_.emplace_back(book_.GetWorksheet(i));
    return true;
  }
  int32_t SheetCount() override { return book_.GetTotalWorkSheets(); }
  TableSheet* Sheet(int32_t index) override {
    if (index < 0 || static_cast<size_t>(index) >= sheets_.size()) return nullptr;
    SheetView& sheet = sheets_[static_cast<size_t>(index)];
    return sheet.Present() ? &sheet : nullptr;
  }
  int32_t FirstSettingsRow() const override { return 1; }

 private:
  Book book_;
  std::vector<SheetView> sheets_;
};
