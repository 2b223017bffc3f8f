#include "xlsx/sheet_part.h"

#include <charconv>
#include <cstring>
#include <string>

#include "xlsx/cell_reference.h"
#include "xlsx/text_escapes.h"
#include "xmlread/xml_part.h"

namespace Xlsx {
namespace {

// The cell types of the `t` attribute.
enum class Kind { kNumber, kShared, kFormulaText, kInline, kBoolean, kError, kDate };

Kind KindOf(const char* t) {
  if (!t) return Kind::kNumber;
  switch (t[0]) {
    case 's': return t[1] == '\0' ? Kind::kShared : Kind::kFormulaText;  // "s" or "str"
    case 'i': return Kind::kInline;
    case 'b': return Kind::kBoolean;
    case 'e': return Kind::kError;
    case 'd': return Kind::kDate;
    default: return Kind::kNumber;
  }
}

std::string_view Trimmed(std::string_view s) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && space(s.front())) s.remove_prefix(1);
  while (!s.empty() && space(s.back())) s.remove_suffix(1);
  return s;
}

bool ParseNumber(std::string_view text, double& out) {
  text = Trimmed(text);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

bool ParseIndex(std::string_view text, uint32_t& out) {
  text = Trimmed(text);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

bool ParseBoolean(std::string_view text, bool& out) {
  text = Trimmed(text);
  if (text == "1" || text == "true") out = true;
  else if (text == "0" || text == "false") out = false;
  else return false;
  return true;
}

class SheetHandler : public XmlRead::Handler {
 public:
  SheetHandler(Grid::GridSheet& sheet, Grid::LoadBudget& budget, Grid::SheetBuilder& builder)
      : sheet_(sheet), budget_(budget), builder_(builder) {}

  bool StartElement(const XmlRead::QName& name, const XmlRead::Attributes& attributes) override {
    const std::string_view n = name.local;
    if (skip_ > 0) {
      ++skip_;
      return true;
    }
    if (!inData_) {
      inData_ = n == "sheetData";
      return true;
    }
    if (inCell_) return CellChild(n);
    if (n == "c") return StartCell(attributes);
    if (n == "row") return StartRow(attributes);
    return true;
  }

  bool EndElement(const XmlRead::QName& name) override {
    const std::string_view n = name.local;
    if (skip_ > 0) {
      --skip_;
      return true;
    }
    if (!inData_) return true;
    if (inCell_) {
      if (n == "c") return EndCell();
      if (n == "v" || n == "t") collect_ = nullptr;
      else if (n == "is") inInline_ = false;
      return true;
    }
    if (n == "sheetData") inData_ = false;
    return true;
  }

  bool Characters(std::string_view text) override {
    if (!collect_) return true;
    if (text.size() > Grid::LoadBudget::kMaxCellTextBytes - collect_->size()) return false;
    collect_->append(text);
    return true;
  }

 private:
  bool StartRow(const XmlRead::Attributes& attributes) {
    if (const char* r = attributes.Find("r")) {
      if (!ParseRowNumber(r, row_)) return false;
    } else {
      row_ = rowStarted_ ? row_ + 1 : 0;
    }
    rowStarted_ = true;
    nextColumn_ = 0;
    return true;
  }

  bool StartCell(const XmlRead::Attributes& attributes) {
    const char* reference = nullptr;
    const char* type = nullptr;
    attributes.ForEach([&](const XmlRead::QName& name, const char* value) {
      if (name.local.size() != 1 || !name.ns.empty()) return;
      if (name.local[0] == 'r') reference = value;
      else if (name.local[0] == 't') type = value;
    });
    uint32_t row = row_, col = nextColumn_;
    if (reference && !ParseCellReference(reference, row, col)) return false;
    if (!reference && col >= static_cast<uint32_t>(Grid::GridSheet::kMaxColumns)) return false;
    cellRow_ = row;
    cellCol_ = col;
    nextColumn_ = col + 1;
    kind_ = KindOf(type);
    inCell_ = true;
    hasFormula_ = hasValue_ = hasInline_ = false;
    value_.clear();
    inline_.clear();
    return true;
  }

  bool CellChild(std::string_view n) {
    if (n == "v") {
      hasValue_ = true;
      collect_ = &value_;
    } else if (n == "f") {
      hasFormula_ = true;
      skip_ = 1;  // the formula's own text is not read
    } else if (n == "is") {
      inInline_ = hasInline_ = true;
    } else if (inInline_ && n == "t") {
      collect_ = &inline_;
    } else if (n == "rPh") {
      skip_ = 1;  // phonetic runs are not cell text
    }
    return true;
  }

  const char* Stored(std::string_view text) {
    const std::string_view decoded = DecodeEscapes(text, scratch_);
    if (!budget_.TakeText(decoded.size() + 1)) return nullptr;
    return sheet_.Texts().Add(decoded);
  }

  bool EndCell() {
    inCell_ = false;
    collect_ = nullptr;
    if (hasFormula_) return EndFormulaCell();
    switch (kind_) {
      case Kind::kShared: {
        if (!hasValue_ || Trimmed(value_).empty()) return true;
        uint32_t index;
        return ParseIndex(value_, index) && builder_.Add(cellRow_, cellCol_, Grid::GridCell::SharedText(index));
      }
      case Kind::kBoolean: {
        if (!hasValue_ || Trimmed(value_).empty()) return true;
        bool b;
        return ParseBoolean(value_, b) && builder_.Add(cellRow_, cellCol_, Grid::GridCell::Boolean(b));
      }
      case Kind::kError:
        return hasValue_ ? builder_.NoteValue(cellRow_, cellCol_) : true;
      case Kind::kInline:
      case Kind::kFormulaText:
      case Kind::kDate:
        return AddText(hasInline_ ? inline_ : value_);
      case Kind::kNumber:
        if (hasInline_ && !hasValue_) return AddText(inline_);
        if (!hasValue_ || Trimmed(value_).empty()) return true;
        double d;
        return ParseNumber(value_, d) && builder_.Add(cellRow_, cellCol_, Grid::GridCell::Number(d));
    }
    return true;
  }

  bool AddText(const std::string& text) {
    if (text.empty()) return true;
    const char* stored = Stored(text);
    return stored && builder_.Add(cellRow_, cellCol_, Grid::GridCell::Text(stored));
  }

  bool EndFormulaCell() {
    using Grid::GridCell;
    const bool empty = !hasValue_ || value_.empty();
    switch (kind_) {
      case Kind::kShared: {
        uint32_t index;
        if (empty) return builder_.Add(cellRow_, cellCol_, GridCell::FormulaNone());
        return ParseIndex(value_, index) && builder_.Add(cellRow_, cellCol_, GridCell::FormulaSharedText(index));
      }
      case Kind::kBoolean: {
        bool b;
        if (empty) return builder_.Add(cellRow_, cellCol_, GridCell::FormulaNone());
        return ParseBoolean(value_, b) && builder_.Add(cellRow_, cellCol_, GridCell::FormulaBoolean(b));
      }
      case Kind::kError:
        return builder_.Add(cellRow_, cellCol_, GridCell::FormulaNone());
      case Kind::kInline:
      case Kind::kFormulaText:
      case Kind::kDate: {
        const std::string& text = hasInline_ ? inline_ : value_;
        const char* stored = text.empty() ? "" : Stored(text);
        return stored && builder_.Add(cellRow_, cellCol_, GridCell::FormulaText(stored));
      }
      case Kind::kNumber: {
        double d;
        if (!hasValue_ || Trimmed(value_).empty()) return builder_.Add(cellRow_, cellCol_, GridCell::FormulaNone());
        return ParseNumber(value_, d) && builder_.Add(cellRow_, cellCol_, GridCell::FormulaNumber(d));
      }
    }
    return true;
  }

  Grid::GridSheet& sheet_;
  Grid::LoadBudget& budget_;
  Grid::SheetBuilder& builder_;
  int skip_ = 0;  // depth inside an element whose content is not read
  bool inData_ = false;
  bool rowStarted_ = false;
  uint32_t row_ = 0;
  uint32_t nextColumn_ = 0;
  bool inCell_ = false;
  uint32_t cellRow_ = 0, cellCol_ = 0;
  Kind kind_ = Kind::kNumber;
  bool hasFormula_ = false, hasValue_ = false, hasInline_ = false, inInline_ = false;
  std::string value_, inline_, scratch_;
  std::string* collect_ = nullptr;
};

}  // namespace

bool ReadSheetPart(const Zip::Archive& archive, uint64_t index, Grid::GridSheet& sheet,
                   Grid::LoadBudget& budget, Grid::SheetBuilder& builder) {
  SheetHandler handler(sheet, budget, builder);
  // Open XML local names are unambiguous here, and resolving namespaces costs a tenth of the parse.
  return XmlRead::ParsePart(archive, index, handler, XmlRead::Names::kPrefixed);
}

}  // namespace Xlsx
