#include "xls/xls_cell.h"

#include <bit>
#include <cmath>
#include <cstring>

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

double XlsCell::Formula::Number() const {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | resultBytes[i];
  return std::bit_cast<double>(bits);
}

bool XlsCell::Get(int32_t& out) const {
  switch (cellType) {
    case CellInteger: out = intValue; return true;
    case CellDouble: out = Truncate(doubleValue); return true;
    case CellFormula:
      if (!formulaData || !formulaData->HasNumber()) return false;
      out = Truncate(formulaData->Number());
      return true;
    default: return false;
  }
}

bool XlsCell::Get(double& out) const {
  switch (cellType) {
    case CellInteger: out = intValue; return true;
    case CellDouble: out = doubleValue; return true;
    case CellFormula:
      if (!formulaData || !formulaData->HasNumber()) return false;
      out = formulaData->Number();
      return true;
    default: return false;
  }
}

bool XlsCell::Get(char* buffer, size_t capacity) const {
  if (cellType != CellString || !buffer) return false;
  const size_t n = narrowText.empty() ? 1 : narrowText.size();
  if (capacity < n) return false;
  if (narrowText.empty())
    buffer[0] = '\0';
  else
    std::memcpy(buffer, narrowText.data(), n);
  return true;
}

bool XlsCell::Get(char16_t* buffer, size_t capacity) const {
  if (cellType != CellWString || !buffer) return false;
  const size_t n = wideText.empty() ? 1 : wideText.size();
  if (capacity < n) return false;
  if (wideText.empty())
    buffer[0] = u'\0';
  else
    std::memcpy(buffer, wideText.data(), n * sizeof(char16_t));
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
  if (cellType == CellString) return narrowText.empty() ? nullptr : narrowText.data();
  if (cellType == CellFormula && formulaData) return formulaData->narrowResult.c_str();
  return nullptr;
}

const char16_t* XlsCell::GetWString() const {
  if (cellType == CellWString) return wideText.empty() ? nullptr : wideText.data();
  if (cellType == CellFormula && formulaData) return formulaData->wideResult.c_str();
  return nullptr;
}

size_t XlsCell::GetStringLength() const {
  if (cellType == CellString) return narrowText.empty() ? 0 : narrowText.size() - 1;
  if (cellType == CellWString) return wideText.empty() ? 0 : wideText.size() - 1;
  return 0;
}

void XlsCell::SetInteger(int32_t v) {
  cellType = CellInteger;
  intValue = v;
}

void XlsCell::SetDouble(double v) {
  cellType = CellDouble;
  doubleValue = v;
}

void XlsCell::SetRKValue(uint32_t rk) {
  const bool div100 = rk & 1;
  if (rk & 2) {
    const int32_t n = static_cast<int32_t>(rk) >> 2;  // arithmetic shift keeps the sign
    if (!div100)
      SetInteger(n);
    else if (n % 100 == 0)
      SetInteger(n / 100);
    else
      SetDouble(n / 100.0);
    return;
  }
  double d = std::bit_cast<double>(static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32);
  if (div100) d /= 100.0;
  SetDouble(d);
}

void XlsCell::SetString(const char* text) {
  const size_t n = text ? std::strlen(text) : 0;
  if (n == 0) {
    EraseContents();
    return;
  }
  cellType = CellString;
  narrowText.assign(text, text + n + 1);
  wideText.clear();
}

void XlsCell::SetWString(const char16_t* text) {
  size_t n = 0;
  while (text && text[n]) ++n;
  if (n == 0) {
    EraseContents();
    return;
  }
  cellType = CellWString;
  wideText.assign(text, text + n + 1);
  narrowText.clear();
}

void XlsCell::SetFormula(const Xls::Formula& record) {
  RefCount::SmartPtr<Formula> f(new Formula);
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
  formulaData = f;
  cellType = CellFormula;
}

void XlsCell::EraseContents() {
  cellType = CellUndefined;
  narrowText.clear();
  wideText.clear();
}

}  // namespace Xls
