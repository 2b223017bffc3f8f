#include "builder/xls_cell_values.h"

#include "text/utf8.h"

namespace {
using Result = Xls::XlsCell::Formula::Result;
}  // namespace

void XlsCellTextInto(const Xls::XlsCell& cell, std::string& out) {
  // 8-bit text, the common case, is written over `out` without a string of its own.
  if (cell.Type() == Xls::CellString) {
    const char* text = cell.GetString();
    Latin1ToUtf8Into(text ? text : "", out);
    return;
  }
  out = XlsCellText(cell);
}

std::string XlsCellText(const Xls::XlsCell& cell) {
  switch (cell.Type()) {
    case Xls::CellInteger: return std::to_string(cell.GetInteger());
    case Xls::CellDouble: return NumberText(cell.GetDouble());
    case Xls::CellString: {
      const char* text = cell.GetString();
      return text ? Latin1ToUtf8(text) : std::string();
    }
    case Xls::CellWString: {
      const char16_t* text = cell.GetWString();
      return text ? Utf16ToUtf8(text) : std::string();
    }
    case Xls::CellFormula: {
      const Xls::XlsCell::Formula* f = cell.GetFormula();
      if (!f) return {};
      switch (f->ResultKind()) {
        case Result::Number: return NumberText(f->Number());
        case Result::Text: return Utf16ToUtf8(f->wideResult);
        case Result::Boolean: return f->BooleanResult() ? "1" : "0";
        case Result::Error:
        case Result::Empty: return {};
      }
      return {};
    }
    default: return {};
  }
}

std::optional<int32_t> XlsCellTempo(const Xls::XlsCell& cell) {
  switch (cell.Type()) {
    case Xls::CellInteger: return cell.GetInteger();  // Booleans arrive here as 0 or 1
    case Xls::CellDouble: return TruncatedInteger(cell.GetDouble());
    case Xls::CellString:
    case Xls::CellWString: return LeadingInteger(XlsCellText(cell));
    case Xls::CellFormula: {
      const Xls::XlsCell::Formula* f = cell.GetFormula();
      if (!f) return std::nullopt;
      switch (f->ResultKind()) {
        case Result::Number: return TruncatedInteger(f->Number());
        case Result::Text: return LeadingInteger(Utf16ToUtf8(f->wideResult));
        case Result::Boolean: return f->BooleanResult() ? 1 : 0;
        case Result::Error:
        case Result::Empty: return std::nullopt;
      }
      return std::nullopt;
    }
    default: return std::nullopt;
  }
}
