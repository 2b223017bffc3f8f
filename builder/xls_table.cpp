#include "builder/xls_table.h"

#include <vector>

#include "builder/xls_cell_values.h"
#include "xls/xls_book.h"

namespace {

class XlsTableSheet final : public TableSheet {
 public:
  explicit XlsTableSheet(Xls::XlsSheet* sheet) : sheet_(sheet) {}
  bool Present() const { return sheet_ != nullptr; }

  int32_t RowCount() override { return sheet_->GetTotalRows(); }
  // A null cell (outside the sheet's limits, which the build never asks for) reads as empty.
  bool IsEmpty(uint32_t row, uint32_t col) override {
    const Xls::XlsCell* cell = At(row, col);
    return !cell || cell->Type() == Xls::CellUndefined;
  }
  std::string Text(uint32_t row, uint32_t col) override {
    const Xls::XlsCell* cell = At(row, col);
    return cell ? XlsCellText(*cell) : std::string();
  }
  std::optional<int32_t> Tempo(uint32_t row, uint32_t col) override {
    const Xls::XlsCell* cell = At(row, col);
    return cell ? XlsCellTempo(*cell) : std::nullopt;
  }

 private:
  // The growing Cell, as the build has always asked it; the same cell asked twice in a row
  // is looked up once (no call in between can have enlarged the grid).
  const Xls::XlsCell* At(uint32_t row, uint32_t col) {
    if (!asked_ || row != row_ || col != col_) {
      cell_ = sheet_->Cell(static_cast<int32_t>(row), static_cast<int32_t>(col));
      row_ = row;
      col_ = col;
      asked_ = true;
    }
    return cell_;
  }

  Xls::XlsSheet* sheet_;
  const Xls::XlsCell* cell_ = nullptr;
  uint32_t row_ = 0;
  uint32_t col_ = 0;
  bool asked_ = false;
};

class XlsTable final : public Table {
 public:
  bool Load(const std::string& path) override {
    sheets_.clear();
    if (!book_.Load(path)) return false;
    sheets_.reserve(static_cast<size_t>(book_.GetTotalWorkSheets()));
    for (int32_t i = 0; i < book_.GetTotalWorkSheets(); ++i) sheets_.emplace_back(book_.GetWorksheet(i));
    return true;
  }
  int32_t SheetCount() override { return book_.GetTotalWorkSheets(); }
  TableSheet* Sheet(int32_t index) override {
    if (index < 0 || static_cast<size_t>(index) >= sheets_.size()) return nullptr;
    XlsTableSheet& sheet = sheets_[static_cast<size_t>(index)];
    return sheet.Present() ? &sheet : nullptr;
  }
  int32_t FirstSettingsRow() const override { return 1; }

 private:
  Xls::XlsBook book_;
  std::vector<XlsTableSheet> sheets_;
};

}  // namespace

std::unique_ptr<Table> MakeXlsTable(char) { return std::make_unique<XlsTable>(); }
