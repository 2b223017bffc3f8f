// The .xlsx reader on packages made in the test: which sheets a workbook has and in what
// order, what each kind of cell reads as, and the damaged or hostile packages it refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/sheet_text.h"
#include "tests/support/xlsx_package.h"
#include "xlsx/xlsx_book.h"

namespace {

using xlsx_package::Package;
using xlsx_package::Sheet;
using Lines = std::vector<std::string>;

struct Loaded {
  bool ok = false;
  Xlsx::XlsxBook book;
};

void LoadPackage(const std::string& bytes, Loaded& out) {
  static zip_maker::ScratchDir dir;
  static int serial = 0;
  out.ok = out.book.Load(dir.Write("book" + std::to_string(++serial) + ".xlsx", bytes));
}

Lines SheetLines(const Package& p, int sheet = 0) {
  Loaded l;
  LoadPackage(xlsx_package::Bytes(p), l);
  EXPECT_TRUE(l.ok);
  if (!l.ok || l.book.GetTotalWorkSheets() <= sheet) return {"(no sheet)"};
  return sheet_text::Lines(*l.book.GetWorksheet(sheet));
}

TEST(XlsxBook, WorksheetsInWorkbookOrderWithOtherSheetKindsSkipped) {
  Package p;
  p.sheets = {{"First", "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"},
              {"Chart", "", "chartsheet"},
              {"Hidden", "<row r=\"1\"><c r=\"A1\"><v>2</v></c></row>", "worksheet", "hidden"},
              {"Dialog", "", "dialogsheet"},
              {"Macro", "", "macrosheet"},
              {"Last", "<row r=\"1\"><c r=\"A1\"><v>3</v></c></row>"}};
  Loaded l;
  LoadPackage(xlsx_package::Bytes(p), l);
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.book.GetTotalWorkSheets(), 3);
  const char* names[] = {"First", "Hidden", "Last"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(l.book.GetWorksheet(i)->Name(), names[i]);
    EXPECT_EQ(l.book.GetWorksheet(i)->Cell(0, 0)->GetInteger(), i + 1);
  }
  EXPECT_EQ(l.book.GetWorksheet(3), nullptr);
  EXPECT_EQ(l.book.GetWorksheet(-1), nullptr);
}

TEST(XlsxBook, CellsReadByTheirType) {
  Package p;
  p.sharedStrings = {"<t>plain</t>",
                     "<r><rPr><b/></rPr><t>rich </t></r><r><t xml:space=\"preserve\">runs</t></r>",
                     "<t>\xE6\x9D\xB1\xE4\xBA\xAC</t><rPh sb=\"0\" eb=\"2\"><t>\xE3\x83\x88\xE3\x82\xA6</t></rPh>",
                     "<t>_x0041__xD83C__xDFB8_ _x005F_x0041_ _x00</t>",
                     "<t></t>"};
  p.sheets = {{"S", "<row r=\"1\">"
                    "<c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c><c r=\"C1\" t=\"s\"><v>2</v></c>"
                    "<c r=\"D1\" t=\"s\"><v>3</v></c><c r=\"E1\" t=\"s\"><v>4</v></c></row>"
                    "<row r=\"2\"><c r=\"A2\"><v>98.599999999999994</v></c><c r=\"B2\" t=\"n\"><v>-3.5E+2</v></c>"
                    "<c r=\"C2\" t=\"b\"><v>1</v></c><c r=\"D2\" t=\"b\"><v>0</v></c><c r=\"E2\" t=\"e\"><v>#DIV/0!</v></c>"
                    "<c r=\"F2\" t=\"inlineStr\"><is><r><t>in</t></r><r><t>line</t></r></is></c>"
                    "<c r=\"G2\" t=\"d\"><v>2024-05-01T20:30:00</v></c><c r=\"H2\" s=\"3\"/></row>"
                    "<row r=\"3\"><c r=\"A3\"><f>1+1</f><v>2</v></c><c r=\"B3\" t=\"str\"><f>\"a\"&amp;\"b\"</f><v>ab</v></c>"
                    "<c r=\"C3\" t=\"b\"><f>TRUE()</f><v>1</v></c><c r=\"D3\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c>"
                    "<c r=\"E3\"><f>A3</f></c><c r=\"F3\" t=\"s\"><f>X</f><v>0</v></c></row>"}};
  EXPECT_EQ(SheetLines(p), (Lines{"A1 s plain", "B1 s rich runs", "C1 s \xE6\x9D\xB1\xE4\xBA\xAC",
                                  "D1 s A\xF0\x9F\x8E\xB8 _x0041_ _x00", "A2 n 98.599999999999994", "B2 n -350",
                                  "C2 b 1", "D2 b 0", "F2 s inline", "G2 s 2024-05-01T20:30:00", "A3 fn 2",
                                  "B3 fs ab", "C3 fb 1", "D3 f-", "E3 f-", "F3 fs plain"}));
}

TEST(XlsxBook, AbsentReferencesTakeTheNextColumnAndRow) {
  Package p;
  p.sheets = {{"S", "<row><c><v>1</v></c><c><v>2</v></c><c r=\"E1\"><v>3</v></c><c><v>4</v></c></row>"
                    "<row><c><v>5</v></c></row><row r=\"7\"><c><v>6</v></c></row><row><c r=\"B8\"><v>7</v></c></row>"}};
  EXPECT_EQ(SheetLines(p), (Lines{"A1 n 1", "B1 n 2", "E1 n 3", "F1 n 4", "A2 n 5", "A7 n 6", "B8 n 7"}));
}

TEST(XlsxBook, SizeFollowsTheLastValueNotTheFormatting) {
  const struct {
    const char* what;
    std::string data;
    int rows, cols;
  } cases[] = {
      {"no cells", "", 1, 1},
      {"only formatted cells", "<row r=\"40\"><c r=\"Z40\" s=\"1\"/></row>", 1, 1},
      {"value in row 10", "<row r=\"10\"><c r=\"A10\" t=\"s\"><v>0</v></c></row><row r=\"30\"><c r=\"C30\" s=\"2\"/></row>", 10, 1},
      {"error value counts", "<row r=\"3\"><c r=\"D3\" t=\"e\"><v>#N/A</v></c></row>", 3, 4},
      {"empty text does not", "<row r=\"9\"><c r=\"H9\" t=\"s\"><v>1</v></c></row>", 1, 1},
      {"last possible cell", "<row r=\"1048576\"><c r=\"XFD1048576\"><v>1</v></c></row>", 1048576, 16384},
  };
  for (const auto& c : cases) {
    Package p;
    p.sharedStrings = {"<t>x</t>", "<t/>"};
    p.sheets = {{"S", c.data}};
    Loaded l;
    LoadPackage(xlsx_package::Bytes(p), l);
    ASSERT_TRUE(l.ok) << c.what;
    EXPECT_EQ(l.book.GetWorksheet(0)->GetTotalRows(), c.rows) << c.what;
    EXPECT_EQ(l.book.GetWorksheet(0)->GetTotalCols(), c.cols) << c.what;
  }
}

TEST(XlsxBook, DamagedOrHostilePackagesFailToLoad) {
  const std::string deep = [] {
    std::string s;
    for (int i = 0; i < 3000; ++i) s += "<row>";
    return s;
  }();
  const struct {
    const char* what;
    std::string data;
    std::map<std::string, std::string> replace;
  } cases[] = {
      {"row past the last", "<row r=\"1048577\"><c><v>1</v></c></row>", {}},
      {"column past the last", "<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>", {}},
      {"row zero", "<row r=\"0\"/>", {}},
      {"reference that is no reference", "<row><c r=\"1A\"><v>1</v></c></row>", {}},
      {"shared string past the table", "<row><c t=\"s\"><v>5</v></c></row>", {}},
      {"number that does not read", "<row><c><v>12abc</v></c></row>", {}},
      {"nesting thousands deep", deep, {}},
      {"entity declarations", "", {{"xl/worksheets/worksheet1.xml",
                                    "<!DOCTYPE w [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]><worksheet><sheetData>"
                                    "<row><c t=\"inlineStr\"><is><t>&b;</t></is></c></row></sheetData></worksheet>"}}},
      {"sheet part missing", "", {{"xl/worksheets/worksheet1.xml", ""}}},
      {"sheet relationship missing", "", {{"xl/_rels/workbook.xml.rels", "<Relationships/>"}}},
      {"workbook that is not XML", "", {{"xl/workbook.xml", "<workbook><sheets>"}}},
      {"sheet inflating past 1000 times its stored size", "",
       {{"xl/worksheets/worksheet1.xml", "<worksheet><sheetData>" + std::string(4 << 20, ' ') + "</sheetData></worksheet>"}}},
  };
  for (const auto& c : cases) {
    Package p;
    p.sharedStrings = {"<t>x</t>"};
    p.sheets = {{"S", c.data}};
    p.replace = c.replace;
    Loaded l;
    LoadPackage(xlsx_package::Bytes(p), l);
    EXPECT_FALSE(l.ok) << c.what;
  }
}

TEST(XlsxBook, OpensWithoutWorksheetsWhatHoldsNoWorkbook) {
  const std::string encrypted = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0');
  const struct {
    const char* what;
    std::string bytes;
    bool loads;
  } cases[] = {
      {"encrypted package (compound file)", encrypted, true},
      {"no package relationships", zip_maker::Archive({zip_maker::File("xl/workbook.xml", "<workbook/>")}), true},
      {"no workbook part", zip_maker::Archive({zip_maker::File("_rels/.rels", "<Relationships/>")}), true},
      {"text file", "name,song\n", false},
      {"truncated package", xlsx_package::Bytes(Package{}).substr(0, 200), false},
  };
  for (const auto& c : cases) {
    Loaded l;
    LoadPackage(c.bytes, l);
    EXPECT_EQ(l.ok, c.loads) << c.what;
    EXPECT_EQ(l.book.GetTotalWorkSheets(), 0) << c.what;
  }
}

TEST(XlsxBook, HoldsItsFileWhileLoadedAndKeepsEarlierSheetsOnAFailedLoad) {
  zip_maker::ScratchDir dir;
  Package p;
  p.sheets = {{"S", "<row><c><v>7</v></c></row>"}};
  const std::string path = dir.Write("setlist.xlsx", xlsx_package::Bytes(p));
  Xlsx::XlsxBook first, second;
  ASSERT_TRUE(first.Load(path));
  EXPECT_FALSE(second.Load(path));  // the same file as setlist and settings table
  EXPECT_FALSE(first.Load(dir.Write("bad.xlsx", "not a zip")));
  ASSERT_EQ(first.GetTotalWorkSheets(), 1);
  EXPECT_EQ(first.GetWorksheet(0)->Cell(0, 0)->GetInteger(), 7);
  EXPECT_TRUE(second.Load(path));  // the failed load let the file go
}

}  // namespace
