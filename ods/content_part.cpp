#include "ods/content_part.h"

#include <charconv>
#include <cstring>
#include <string>

#include "grid/load_budget.h"
#include "grid/sheet_builder.h"
#include "xmlread/xml_part.h"

namespace Ods {
namespace {

constexpr std::string_view kOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr std::string_view kTable = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr std::string_view kText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr std::string_view kCalcExt = "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0";

constexpr uint32_t kMaxRows = static_cast<uint32_t>(Grid::GridSheet::kMaxRows);
constexpr uint32_t kMaxColumns = static_cast<uint32_t>(Grid::GridSheet::kMaxColumns);

// A repeat count: at least 1; counts past the sheet's size are cut to it, since nothing
// can be placed beyond it anyway.
uint32_t RepeatCount(const char* text) {
  if (!text) return 1;
  uint64_t n = 0;
  const auto [end, ec] = std::from_chars(text, text + std::strlen(text), n);
  if (ec == std::errc::result_out_of_range) return kMaxRows;
  if (ec != std::errc() || n == 0) return 1;
  return n > kMaxRows ? kMaxRows : static_cast<uint32_t>(n);
}

bool ParseNumber(const char* text, double& out) {
  if (!text) return false;
  std::string_view s(text);
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return !s.empty() && ec == std::errc() && end == s.data() + s.size();
}

// One cell of the current row, with how many columns it repeats over.
struct CellRun {
  uint32_t column;
  uint32_t repeat;
  Grid::GridCell cell;
  bool error;  // an error value: sizes the sheet, stores nothing
};

class ContentHandler : public XmlRead::Handler {
 public:
  ContentHandler(std::vector<std::unique_ptr<Grid::GridSheet>>& sheets) : sheets_(sheets) {}
  ~ContentHandler() override {
    if (builder_) builder_->Finish();
  }

  bool StartElement(const XmlRead::QName& name, const XmlRead::Attributes& attributes) override {
    if (skip_ > 0) {
      ++skip_;
      return true;
    }
    if (paragraph_) return ParagraphChild(name, attributes);
    if (inCell_) {
      if (name.Is(kText, "p") || name.Is(kText, "h")) {
        if (paragraphs_++ > 0) AppendText("\n");
        paragraph_ = 1;
        lastRawSpace_ = false;
      } else {
        skip_ = 1;  // annotations, drawings and anything else anchored in the cell
      }
      return true;
    }
    if (inRow_) {
      if (name.Is(kTable, "table-cell") || name.Is(kTable, "covered-table-cell")) return StartCell(attributes);
      skip_ = 1;
      return true;
    }
    if (inTable_) {
      if (name.Is(kTable, "table-row")) {
        inRow_ = true;
        rowRepeat_ = RepeatCount(attributes.Find(kTable, "number-rows-repeated"));
        column_ = 0;
        runs_.clear();
      } else if (name.Is(kTable, "table")) {
        skip_ = 1;
      } else {
        ++tableDepth_;  // row groups, header rows, columns: rows may sit inside them
      }
      return true;
    }
    if (inSpreadsheet_ && name.Is(kTable, "table")) {
      const char* tableName = attributes.Find(kTable, "name");
      sheets_.push_back(std::make_unique<Grid::GridSheet>(tableName ? tableName : ""));
      builder_ = std::make_unique<Grid::SheetBuilder>(*sheets_.back(), budget_);
      inTable_ = true;
      tableDepth_ = 0;
      row_ = 0;
      return true;
    }
    if (name.Is(kOffice, "spreadsheet")) inSpreadsheet_ = true;
    return true;
  }

  bool EndElement(const XmlRead::QName& name) override {
    if (skip_ > 0) {
      --skip_;
      return true;
    }
    if (paragraph_) {
      if (--paragraph_ == 0) lastRawSpace_ = false;
      return true;
    }
    if (inCell_) return EndCell();
    if (inRow_) return EndRow();
    if (inTable_) {
      if (tableDepth_ > 0) {
        --tableDepth_;
        return true;
      }
      inTable_ = false;
      builder_->Finish();
      builder_.reset();
      return true;
    }
    if (name.Is(kOffice, "spreadsheet")) inSpreadsheet_ = false;
    return true;
  }

  bool Characters(std::string_view text) override {
    if (!paragraph_ || skip_ > 0 || source_ != Source::kParagraphs) return true;
    // Runs of white space in a paragraph's text count as one space.
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    for (size_t i = 0; i < text.size();) {
      if (space(text[i])) {
        if (!lastRawSpace_ && !AppendText(" ")) return false;
        lastRawSpace_ = true;
        ++i;
        continue;
      }
      size_t end = i + 1;
      while (end < text.size() && !space(text[end])) ++end;
      if (!AppendText(text.substr(i, end - i))) return false;
      lastRawSpace_ = false;
      i = end;
    }
    return true;
  }

 private:
  bool ParagraphChild(const XmlRead::QName& name, const XmlRead::Attributes& attributes) {
    if (name.ns == kText) {
      if (name.local == "s") {
        const char* count = attributes.Find(kText, "c");
        uint64_t n = 1;
        if (count) std::from_chars(count, count + std::strlen(count), n);
        skip_ = 1;
        lastRawSpace_ = false;
        if (source_ != Source::kParagraphs) return true;
        if (n > Grid::LoadBudget::kMaxCellTextBytes - text_.size()) return false;
        text_.append(static_cast<size_t>(n), ' ');
        return true;
      }
      if (name.local == "tab" || name.local == "line-break") {
        skip_ = 1;
        lastRawSpace_ = false;
        return AppendText(name.local == "tab" ? "\t" : "\n");
      }
      if (name.local == "note") {
        skip_ = 1;
        return true;
      }
      ++paragraph_;  // spans, links, fields: their text is the paragraph's
      return true;
    }
    if (name.ns == kOffice && name.local != "annotation") {
      ++paragraph_;
      return true;
    }
    skip_ = 1;  // annotations and drawings anchored in the text
    return true;
  }

  // Only a cell whose value is its text collects it.
  bool AppendText(std::string_view s) {
    if (source_ != Source::kParagraphs) return true;
    if (s.size() > Grid::LoadBudget::kMaxCellTextBytes - text_.size()) return false;
    text_ += s;
    return true;
  }

  // Where a cell's value comes from, known from its start tag.
  enum class Source { kNone, kValue, kError, kParagraphs };

  // The value attributes of one start tag; they live only as long as the tag.
  struct ValueAttributes {
    const char* type = nullptr;
    const char* value = nullptr;
    const char* stringValue = nullptr;
    const char* booleanValue = nullptr;
    const char* dateValue = nullptr;
    const char* timeValue = nullptr;
    bool formula = false;
    bool error = false;
  };

  bool StartCell(const XmlRead::Attributes& attributes) {
    inCell_ = true;
    cellRepeat_ = 1;
    ValueAttributes a;
    attributes.ForEach([&](const XmlRead::QName& name, const char* value) {
      if (name.ns == kOffice) {
        const std::string_view n = name.local;
        if (n == "value-type") a.type = value;
        else if (n == "value") a.value = value;
        else if (n == "string-value") a.stringValue = value;
        else if (n == "boolean-value") a.booleanValue = value;
        else if (n == "date-value") a.dateValue = value;
        else if (n == "time-value") a.timeValue = value;
      } else if (name.ns == kTable) {
        if (name.local == "number-columns-repeated") cellRepeat_ = RepeatCount(value);
        else if (name.local == "formula") a.formula = true;
      } else if (name.Is(kCalcExt, "value-type")) {
        a.error = std::strcmp(value, "error") == 0;
      }
    });
    hasFormula_ = a.formula;
    text_.clear();
    paragraphs_ = 0;
    source_ = ValueSource(a, cell_);
    return !overBudget_;
  }

  // The cell's value from its attributes where they hold it; kParagraphs where its text is
  // the value (a string, or a value whose attribute is missing or unreadable).
  Source ValueSource(const ValueAttributes& a, Grid::GridCell& cell) {
    using Grid::GridCell;
    if (a.error) {
      if (!a.formula) return Source::kError;
      cell = GridCell::FormulaNone();
      return Source::kValue;
    }
    const std::string_view type = a.type ? a.type : "";
    double d;
    if (type == "float" || type == "percentage" || type == "currency") {
      if (ParseNumber(a.value, d)) {
        cell = a.formula ? GridCell::FormulaNumber(d) : GridCell::Number(d);
        return Source::kValue;
      }
    } else if (type == "boolean") {
      const std::string_view b = a.booleanValue ? a.booleanValue : "";
      if (b == "true" || b == "false" || b == "1" || b == "0") {
        const bool v = b == "true" || b == "1";
        cell = a.formula ? GridCell::FormulaBoolean(v) : GridCell::Boolean(v);
        return Source::kValue;
      }
    } else if (type == "date" && a.dateValue) {
      return TextCell(a.dateValue, cell);
    } else if (type == "time" && a.timeValue) {
      return TextCell(a.timeValue, cell);
    } else if (a.formula && type.empty()) {
      cell = GridCell::FormulaNone();
      return Source::kValue;
    }
    if (a.stringValue) return TextCell(a.stringValue, cell);
    return Source::kParagraphs;
  }

  Source TextCell(std::string_view text, Grid::GridCell& cell) {
    using Grid::GridCell;
    if (text.empty()) {
      if (!hasFormula_) return Source::kNone;
      cell = GridCell::FormulaText("");
      return Source::kValue;
    }
    if (!budget_.TakeText(text.size() + 1)) {
      overBudget_ = true;
      return Source::kNone;
    }
    const char* stored = sheets_.back()->Texts().Add(text);
    cell = hasFormula_ ? GridCell::FormulaText(stored) : GridCell::Text(stored);
    return Source::kValue;
  }

  bool EndCell() {
    inCell_ = false;
    if (source_ == Source::kParagraphs) source_ = TextCell(text_, cell_);
    if (overBudget_) return false;
    if (source_ != Source::kNone) {
      // A value cannot lie past the sheet; empty repeats that would only move past it do no harm.
      if (column_ >= kMaxColumns) return false;
      runs_.push_back({column_, cellRepeat_, cell_, source_ == Source::kError});
    }
    column_ = cellRepeat_ > kMaxColumns - std::min(column_, kMaxColumns) ? kMaxColumns : column_ + cellRepeat_;
    return true;
  }

  bool EndRow() {
    inRow_ = false;
    if (runs_.empty()) {
      row_ = rowRepeat_ > kMaxRows - std::min(row_, kMaxRows) ? kMaxRows : row_ + rowRepeat_;
      return true;
    }
    if (row_ >= kMaxRows) return false;
    bool stored = false;
    for (const CellRun& run : runs_) {
      // Value runs past the last column are refused by the builder, so the loop is bounded.
      for (uint64_t k = 0; k < run.repeat; ++k) {
        const uint64_t col = uint64_t{run.column} + k;
        if (col >= kMaxColumns) return false;
        if (run.error) {
          if (!builder_->NoteValue(row_, static_cast<uint32_t>(col))) return false;
          if (rowRepeat_ > 1 && !builder_->NoteValue(RepeatEnd(), static_cast<uint32_t>(col))) return false;
        } else {
          if (!builder_->Add(row_, static_cast<uint32_t>(col), run.cell)) return false;
          stored = true;
        }
      }
    }
    if (rowRepeat_ > 1 && stored && !builder_->RepeatLastRow(row_, rowRepeat_ - 1)) return false;
    row_ += rowRepeat_;
    return true;
  }

  uint32_t RepeatEnd() const { return row_ + rowRepeat_ - 1; }

  std::vector<std::unique_ptr<Grid::GridSheet>>& sheets_;
  Grid::LoadBudget budget_;
  std::unique_ptr<Grid::SheetBuilder> builder_;
  int skip_ = 0;
  bool inSpreadsheet_ = false, inTable_ = false, inRow_ = false, inCell_ = false;
  int tableDepth_ = 0;
  int paragraph_ = 0;  // depth inside a cell's paragraph
  int paragraphs_ = 0;
  bool lastRawSpace_ = false;
  uint32_t row_ = 0, rowRepeat_ = 1, column_ = 0, cellRepeat_ = 1;
  std::vector<CellRun> runs_;
  Source source_ = Source::kNone;
  Grid::GridCell cell_;
  bool hasFormula_ = false, overBudget_ = false;
  std::string text_;
};

}  // namespace

bool ReadContentPart(const Zip::Archive& archive, uint64_t index,
                     std::vector<std::unique_ptr<Grid::GridSheet>>& sheets) {
  ContentHandler handler(sheets);
  return XmlRead::ParsePart(archive, index, handler);
}

}  // namespace Ods
