// The text and tempo the build takes from one .xls cell, for the cases no writer we have can
// put in a file: lone surrogates, a formula with an empty result, numbers at the 32-bit edges.
#include "builder/xls_cell_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "xls/formula_record.h"

namespace {

using Xls::XlsCell;

XlsCell Wide(const std::u16string& text) {
  XlsCell cell;
  cell.SetWString(text.c_str());
  return cell;
}

XlsCell Number(double value) {
  XlsCell cell;
  cell.SetDouble(value);
  return cell;
}

// A formula whose cached result has kind byte `kind` (0 text, 1 Boolean, 2 error, 3 empty)
// and, for a Boolean or error, value byte `value`; `text` is its STRING record.
XlsCell Formula(uint8_t kind, uint8_t value = 0, const std::u16string* text = nullptr) {
  Xls::Formula record;
  record.resultBytes = {kind, 0, value, 0, 0, 0, 0xFF, 0xFF};
  if (text) {
    record.stringRecord.wideText = *text;
    record.stringRecord.hasText = true;
  }
  XlsCell cell;
  cell.SetFormula(record);
  return cell;
}

TEST(XlsCellValues, SixteenBitTextBecomesUtf8) {
  EXPECT_EQ(XlsCellText(Wide(u"Ω7 \U0001F3B8")), "Ω7 🎸");
  EXPECT_EQ(XlsCellText(Wide(u"a\xD800" "b")), "a\uFFFD" "b");   // lone high surrogate
  EXPECT_EQ(XlsCellText(Wide(u"\xDC00z")), "\uFFFDz");             // lone low surrogate
  EXPECT_EQ(XlsCellText(Wide(u"x\xD83C")), "x\uFFFD");             // cut pair at the end
  XlsCell latin1;
  latin1.SetString("Caf\xE9");
  EXPECT_EQ(XlsCellText(latin1), "Café");
}

TEST(XlsCellValues, NumbersReadAsText) {
  EXPECT_EQ(NumberText(12), "12");
  EXPECT_EQ(NumberText(-3), "-3");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(98.6), "98.6");
  EXPECT_EQ(NumberText(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(NumberText(1e20), "100000000000000000000");
  EXPECT_EQ(NumberText(-1e308).size(), 310u);  // a whole number stays plain decimal
  XlsCell integer;
  integer.SetInteger(-7);
  EXPECT_EQ(XlsCellText(integer), "-7");
  EXPECT_EQ(XlsCellText(Number(3.25)), "3.25");
}

TEST(XlsCellValues, FormulaResults) {
  const std::u16string greek = u"Καλη";
  EXPECT_EQ(XlsCellText(Formula(0, 0, &greek)), "Καλη");
  EXPECT_EQ(XlsCellText(Formula(0)), "");  // a text result without its STRING record
  EXPECT_EQ(XlsCellText(Formula(1, 1)), "1");
  EXPECT_EQ(XlsCellText(Formula(1, 0)), "0");
  EXPECT_EQ(XlsCellText(Formula(2, 7)), "");
  EXPECT_EQ(XlsCellText(Formula(3)), "");
  EXPECT_EQ(XlsCellTempo(Formula(1, 1)), 1);
  EXPECT_EQ(XlsCellTempo(Formula(2, 7)), std::nullopt);
  EXPECT_EQ(XlsCellTempo(Formula(3)), std::nullopt);
  const std::u16string tempo = u"  -72 bpm";
  EXPECT_EQ(XlsCellTempo(Formula(0, 0, &tempo)), -72);
}

TEST(XlsCellValues, TempoFromNumbersAndTexts) {
  EXPECT_EQ(XlsCellTempo(Number(98.6)), 98);
  EXPECT_EQ(XlsCellTempo(Number(-3.5)), -3);
  EXPECT_EQ(XlsCellTempo(Number(2147483647.9)), 2147483647);
  EXPECT_EQ(XlsCellTempo(Number(-2147483648.9)), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(XlsCellTempo(Number(2147483648.0)), std::nullopt);
  EXPECT_EQ(XlsCellTempo(Number(-2147483649.0)), std::nullopt);
  EXPECT_EQ(XlsCellTempo(Number(std::nan(""))), std::nullopt);
  EXPECT_EQ(XlsCellTempo(Number(HUGE_VAL)), std::nullopt);
  EXPECT_EQ(XlsCellTempo(Wide(u"\t+120Ω")), 120);
  EXPECT_EQ(XlsCellTempo(Wide(u"Ω120")), std::nullopt);
  EXPECT_EQ(XlsCellTempo(XlsCell()), std::nullopt);
  EXPECT_EQ(LeadingInteger("2147483647"), 2147483647);
  EXPECT_EQ(LeadingInteger("-2147483648"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(LeadingInteger("2147483648"), std::nullopt);
  EXPECT_EQ(LeadingInteger("- 5"), std::nullopt);
  EXPECT_EQ(LeadingInteger(""), std::nullopt);
}

}  // namespace
