// The typed cell: RK decoding, setters and the getters' conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "xls/formula_record.h"
#include "xls/xls_cell.h"

using namespace Xls;

TEST(XlsCell, RkValuesDecodeToIntegersOrDoubles) {
  struct Case {
    uint32_t rk;
    int32_t type;
    double value;
  } cases[] = {
      {0x00000002, CellInteger, 0},     {0x000001EE, CellInteger, 123}, {0xFFFFFFEE, CellInteger, -5},
      {0x000012C3, CellInteger, 12},    {0x0000C0E7, CellDouble, 123.45}, {0xFFFFFDAB, CellDouble, -1.5},
      {0xFFFFFCE3, CellInteger, -2},    {0x3FF00000, CellDouble, 1.0},  {0x3FF00001, CellDouble, 0.01},
      {0xC0000000, CellDouble, -2.0},
  };
  for (const Case& c : cases) {
    XlsCell cell;
    cell.SetRKValue(c.rk);
    EXPECT_EQ(cell.Type(), c.type) << std::hex << c.rk;
    EXPECT_DOUBLE_EQ(cell.GetDouble(), c.value) << std::hex << c.rk;
  }
}

TEST(XlsCell, GettersConvertByType) {
  XlsCell d;
  d.SetDouble(3.9);
  EXPECT_EQ(d.GetInteger(), 3);
  d.SetDouble(-3.9);
  EXPECT_EQ(d.GetInteger(), -3);
  EXPECT_EQ(d.GetString(), nullptr);
  d.SetDouble(std::nan(""));
  EXPECT_EQ(d.GetInteger(), 0);
  d.SetDouble(1e12);
  EXPECT_EQ(d.GetInteger(), INT32_MAX);

  XlsCell s;
  s.SetString("Song");
  EXPECT_EQ(s.Type(), CellString);
  EXPECT_STREQ(s.GetString(), "Song");
  EXPECT_EQ(s.GetStringLength(), 4u);
  EXPECT_EQ(s.GetInteger(), 0);
  char small[3];
  EXPECT_FALSE(s.Get(small, sizeof small));
  char big[8];
  EXPECT_TRUE(s.Get(big, sizeof big));
  EXPECT_STREQ(big, "Song");
  s.SetString("");
  EXPECT_EQ(s.Type(), CellUndefined);

  XlsCell w;
  w.SetWString(u"\u65E5");
  EXPECT_EQ(w.Type(), CellWString);
  EXPECT_EQ(w.GetString(), nullptr);
  EXPECT_EQ(std::u16string(w.GetWString()), u"\u65E5");
  w.SetXFormatIdx(17);
  w.SetInteger(5);
  EXPECT_EQ(w.GetInteger(), 5);
  EXPECT_EQ(w.GetXFormatIdx(), 17);
}

TEST(XlsCell, FormulaResultsAndSharing) {
  Formula num;
  const double v = 7.75;
  std::memcpy(num.resultBytes.data(), &v, 8);
  XlsCell a;
  a.SetFormula(num);
  EXPECT_EQ(a.Type(), CellFormula);
  EXPECT_DOUBLE_EQ(a.GetDouble(), 7.75);
  EXPECT_EQ(a.GetInteger(), 7);
  EXPECT_STREQ(a.GetString(), "");

  Formula text;
  text.resultBytes = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
  text.stringRecord.wideText = u"a\u0416";
  text.stringRecord.hasText = true;
  XlsCell b;
  b.SetFormula(text);
  EXPECT_STREQ(b.GetString(), "a?");
  EXPECT_EQ(std::u16string(b.GetWString()), u"a\u0416");
  EXPECT_EQ(b.GetInteger(), 0);
  double out = 1;
  EXPECT_FALSE(b.Get(out));

  XlsCell copy = b;  // copies share the formula data, so its texts outlive the original
  const char* p = copy.GetString();
  b.SetInteger(1);
  EXPECT_EQ(b.GetFormula(), nullptr);  // a new value lets the formula go
  EXPECT_EQ(copy.GetFormula()->refCount, 1);
  b.SetFormula(num);
  EXPECT_STREQ(p, "a?");
  EXPECT_EQ(copy.GetFormula()->refCount, 1);

  const XlsCell taken = std::move(copy);  // what is left reads as holding no value
  EXPECT_STREQ(taken.GetString(), "a?");
  EXPECT_EQ(copy.GetString(), nullptr);  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(copy.GetInteger(), 0);
}
