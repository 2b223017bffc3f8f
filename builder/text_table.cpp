#include "builder/text_table.h"

#include "builder/dispatch.h"
#include "builder/table_kind.h"
#include "textbook/text_book.h"

namespace {

class TextTableSheet final : public TableSheet {
 public:
  explicit TextTableSheet(TextSheet* sheet) : sheet_(sheet) {}

  int32_t RowCount() override { return sheet_->GetTotalRows(); }
  bool IsEmpty(uint32_t row, uint32_t col) override { return At(row, col)->Type() == TextCell::CellUndefined; }
  std::string Text(uint32_t row, uint32_t col) override { return At(row, col)->GetString(); }
  void TextInto(uint32_t row, uint32_t col, std::string& out) override {
    // As GetString reads it: up to a NUL the field may hold.
    const std::string_view text = At(row, col)->Text();
    out.assign(text.substr(0, text.find('\0')));
  }
  std::optional<int32_t> Tempo(uint32_t row, uint32_t col) override {
    int32_t value = 0;
    if (!At(row, col)->GetInteger(value)) return std::nullopt;
    return value;
  }

 private:
  // The sheet splits a line on every Cell call; asking for the same cell twice in a row
  // (empty? then its text) splits it once.
  const TextCell* At(uint32_t row, uint32_t col) {
    if (!cell_ || row != row_ || col != col_) {
      cell_ = sheet_->Cell(row, col);
      row_ = row;
      col_ = col;
    }
    return cell_;
  }

  TextSheet* sheet_;
  const TextCell* cell_ = nullptr;
  uint32_t row_ = 0;
  uint32_t col_ = 0;
};

class TextTable final : public Table {
 public:
  explicit TextTable(TextDelimiter delimiter) : delimiter_(delimiter) {}

  bool Load(const std::string& path) override { return book_.Load(path, delimiter_); }
  int32_t SheetCount() override { return book_.GetTotalWorkSheets(); }
  TableSheet* Sheet(int32_t index) override {
    if (index < 0 || index >= book_.GetTotalWorkSheets()) return nullptr;
    return &sheet_;
  }
  int32_t FirstSettingsRow() const override { return 0; }
  const char* ReadAs() const override {
    const TextDelimiter used = book_.GetDelimiter();
    return used == TextDelimiter::kComma ? nullptr : TextDelimiterName(used);
  }

 private:
  TextDelimiter delimiter_;
  TextBook book_;
  TextTableSheet sheet_{book_.GetWorksheet(0)};
};

}  // namespace

std::unique_ptr<Table> MakeTextTable(char delimiter) {
  return std::make_unique<TextTable>(static_cast<TextDelimiter>(delimiter));
}

std::unique_ptr<Table> MakeTextTableFor(const std::string& path) {
  const TableKind* kind = FindTableKind(FileExtension(path));
  return MakeTextTable(kind && kind->reader == TableReader::Text ? kind->delimiter : 0);
}
