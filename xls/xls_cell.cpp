#include "xls/xls_cell.h"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "xls/formula_record.h"
#include "xls/strings.h"

namespace Xls {

namespace {
// Truncation toward zero, saturated to the 32-bit range; NaN gives 0.
int32_t Truncate(double d) {
  if (std::isnan(d)) return 0;
  if (d >= 2147483647.0) return INT32_MAX;
  if (d <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(d);
}
}  // namespace

XlsCell::XlsCell(const XlsCell& o)
    : cellType(o.cellType), mergedRows(o.mergedRows), mergedColumns(o.mergedColumns), xfIndex(o.xfIndex) {
  if (const char* n = o.NarrowText()) {
    SetText(n, std::strlen(n) + 1, false);
  } else if (const char16_t* w = o.WideText()) {
    size_t units = 0;
    while (w[units]) ++units;
    SetText(w, (units + 1) * sizeof(char16_t), true);
  } else {
    value = o.value;
    if (o.held == kFormula) {
      ++value.formula->refCount;
      held = kFormula;
    }
  }
}

XlsCell::XlsCell(XlsCell&& o) noexcept
    : cellType(o.cellType), held(std::exchange(o.held, kNothing)), textBorrowed(o.textBorrowed),
      mergedRows(o.mergedRows), mergedColumns(o.mergedColumns), xfIndex(o.xfIndex), value(o.value) {}

XlsCell& XlsCell::operator=(const XlsCell& o) {
  if (this != &o) *this = XlsCell(o);
  return *this;
}

XlsCell& XlsCell::operator=(XlsCell&& o) noexcept {
  if (this != &o) {
    Drop();
    cellType = o.cellType;
    held = std::exchange(o.held, kNothing);
    textBorrowed = o.textBorrowed;
    mergedRows = o.mergedRows;
    mergedColumns = o.mergedColumns;
    xfIndex = o.xfIndex;
    value = o.value;
  }
  return *this;
}

void XlsCell::ReleaseFormula(Formula* f) {
  if (--f->refCount == 0) delete f;
}

// `bytes` includes the terminator. The copy is made before the old text goes, so a cell may
// be given its own text.
void XlsCell::SetText(const void* from, size_t bytes, bool wide) {
  void* copy = std::malloc(bytes);
  if (!copy) throw std::bad_alloc();
  std::memcpy(copy, from, bytes);
  Drop();
  value.text = copy;
  held = wide ? kWideText : kNarrowText;
}

double XlsCell::Formula::Number() const {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | resultBytes[i];
  return std::bit_cast<double>(bits);
}

bool XlsCell::Get(int32_t& out) const {
  switch (cellType) {
    case CellInteger: out = value.intValue; return true;
    case CellDouble: out = Truncate(value.doubleValue); return true;
    case CellFormula:
      if (!GetFormula() || !GetFormula()->HasNumber()) return false;
      out = Truncate(GetFormula()->Number());
      return true;
    default: return false;
  }
}

bool XlsCell::Get(double& out) const {
  switch (cellType) {
    case CellInteger: out = value.intValue; return true;
    case CellDouble: out = value.doubleValue; return true;
    case CellFormula:
      if (!GetFormula() || !GetFormula()->HasNumber()) return false;
      out = GetFormula()->Number();
      return true;
    default: return false;
  }
}

bool XlsCell::Get(char* buffer, size_t capacity) const {
  if (cellType != CellString || !buffer) return false;
  const char* t = NarrowText();
  const size_t n = t ? std::strlen(t) + 1 : 1;
  if (capacity < n) return false;
  if (!t)
    buffer[0] = '\0';
  else
    std::memcpy(buffer, t, n);
  return true;
}

bool XlsCell::Get(char16_t* buffer, size_t capacity) const {
  if (cellType != CellWString || !buffer) return false;
  const char16_t* t = WideText();
  size_t n = 1;
  if (t)
    while (t[n - 1]) ++n;
  if (capacity < n) return false;
  if (!t)
    buffer[0] = u'\0';
  else
    std::memcpy(buffer, t, n * sizeof(char16_t));
  return true;
}

int32_t XlsCell::GetInteger() const {
  int32_t v = 0;
  return Get(v) ? v : 0;
}

double XlsCell::GetDouble() const {
  double v = 0.0;
  return Get(v) ? v : 0.0;
}

const char* XlsCell::GetString() const {
  if (cellType == CellString) return NarrowText();
  if (cellType == CellFormula && GetFormula()) return GetFormula()->narrowResult.c_str();
  return nullptr;
}

const char16_t* XlsCell::GetWString() const {
  if (cellType == CellWString) return WideText();
  if (cellType == CellFormula && GetFormula()) return GetFormula()->wideResult.c_str();
  return nullptr;
}

size_t XlsCell::GetStringLength() const {
  if (cellType == CellString) {
    const char* t = NarrowText();
    return t ? std::strlen(t) : 0;
  }
  if (cellType == CellWString) {
    const char16_t* t = WideText();
    size_t n = 0;
    while (t && t[n]) ++n;
    return n;
  }
  return 0;
}

void XlsCell::SetString(const char* text) {
  const size_t n = text ? std::strlen(text) : 0;
  if (n == 0) {
    EraseContents();
    return;
  }
  SetText(text, n + 1, false);
  cellType = CellString;
}

void XlsCell::SetWString(const char16_t* text) {
  size_t n = 0;
  while (text && text[n]) ++n;
  if (n == 0) {
    EraseContents();
    return;
  }
  SetText(text, (n + 1) * sizeof(char16_t), true);
  cellType = CellWString;
}

void XlsCell::SetFormula(const Xls::Formula& record) {
  auto f = std::make_unique<Formula>();
  f->followingRecordType = record.followingRecordType;
  if (record.followingRecordType == RecordCode::kShrFmla1) {
    const Xls::Formula::ShrFmla1& s = record.sharedFormula1Record;
    f->sharedFirstRow = s.firstRow;
    f->sharedLastRow = s.lastRow;
    f->sharedFirstColumn = s.firstColumn;
    f->sharedLastColumn = s.lastColumn;
    f->sharedReserved = s.reserved;
    f->sharedTokens = s.tokens;
  }
  f->tokens = record.tokens;
  f->resultBytes = record.resultBytes;
  if (!record.stringRecord.Empty()) {
    f->wideResult = record.stringRecord.wideText;
    f->narrowResult = narrow_string(f->wideResult);
  }
  Drop();
  value.formula = f.release();
  value.formula->refCount = 1;
  held = kFormula;
  cellType = CellFormula;
}

}  // namespace Xls
