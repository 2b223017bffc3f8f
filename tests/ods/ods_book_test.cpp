// The .ods reader on documents made in the test: tables in order, cell values and texts,
// repeats and covered cells, and the hostile documents it refuses or reads without
// materialising empty cells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ods/ods_book.h"
#include "tests/support/sheet_text.h"
#include "tests/support/zip_maker.h"

namespace {

using Lines = std::vector<std::string>;

std::string Content(const std::string& tables) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
         "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
         " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
         " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
         " xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\""
         " xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\">"
         "<office:body><office:spreadsheet>" +
         tables + "</office:spreadsheet></office:body></office:document-content>";
}

std::string Document(const std::string& tables) {
  return zip_maker::Archive({zip_maker::File("mimetype", "application/vnd.oasis.opendocument.spreadsheet", false),
                             zip_maker::File("content.xml", Content(tables))});
}

std::string Table(const std::string& rows, const std::string& name = "T") {
  return "<table:table table:name=\"" + name + "\">" + rows + "</table:table>";
}

bool Load(Ods::OdsBook& book, const std::string& bytes) {
  static zip_maker::ScratchDir dir;
  static int serial = 0;
  return book.Load(dir.Write("book" + std::to_string(++serial) + ".ods", bytes));
}

Lines TableLines(const std::string& rows) {
  Ods::OdsBook book;
  if (!Load(book, Document(Table(rows))) || book.GetTotalWorkSheets() != 1) return {"(no sheet)"};
  return sheet_text::Lines(*book.GetWorksheet(0));
}

TEST(OdsBook, TablesInDocumentOrderHiddenOnesKept) {
  Ods::OdsBook book;
  ASSERT_TRUE(Load(book, Document(Table("", "One") + "<table:table table:name=\"Two\" table:display=\"false\"/>" +
                                  Table("", "Three"))));
  ASSERT_EQ(book.GetTotalWorkSheets(), 3);
  EXPECT_EQ(book.GetWorksheet(1)->Name(), "Two");
  EXPECT_EQ(book.GetWorksheet(2)->Name(), "Three");
  EXPECT_EQ(book.GetWorksheet(0)->GetTotalRows(), 1);
}

TEST(OdsBook, CellValuesByTheirType) {
  const std::string row =
      "<table:table-row>"
      "<table:table-cell office:value-type=\"float\" office:value=\"98.599999999999994\"><text:p>98.6</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"percentage\" office:value=\"0.25\"><text:p>25%</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"currency\" office:currency=\"EUR\" office:value=\"-3\"/>"
      "<table:table-cell office:value-type=\"boolean\" office:boolean-value=\"true\"><text:p>TRUE</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"date\" office:date-value=\"2024-05-01\"><text:p>01/05/24</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"time\" office:time-value=\"PT20H30M00S\"/>"
      "<table:table-cell office:value-type=\"string\"><text:p>text</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"float\"><text:p>no value attribute</text:p></table:table-cell>"
      "</table:table-row><table:table-row>"
      "<table:table-cell table:formula=\"of:=1+1\" office:value-type=\"float\" office:value=\"2\"/>"
      "<table:table-cell table:formula=\"of:=&quot;a&quot;\" office:value-type=\"string\" office:string-value=\"a\"/>"
      "<table:table-cell table:formula=\"of:=TRUE()\" office:value-type=\"boolean\" office:boolean-value=\"false\"/>"
      "<table:table-cell table:formula=\"of:=1/0\" office:value-type=\"float\" office:value=\"0\" calcext:value-type=\"error\"><text:p>#DIV/0!</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"float\" office:value=\"0\" calcext:value-type=\"error\"/>"
      "<table:table-cell table:formula=\"of:=A1\"/>"
      "</table:table-row>";
  EXPECT_EQ(TableLines(row), (Lines{"A1 n 98.599999999999994", "B1 n 0.25", "C1 n -3", "D1 b 1", "E1 s 2024-05-01",
                                    "F1 s PT20H30M00S", "G1 s text", "H1 s no value attribute", "A2 fn 2", "B2 fs a",
                                    "C2 fb 0", "D2 f-", "F2 f-"}));
}

TEST(OdsBook, CellTextFromParagraphsAndTheirParts) {
  const std::string cells[][2] = {
      {"<text:p>one</text:p><text:p>two</text:p>", "one\ntwo"},
      {"<text:p>a<text:s text:c=\"3\"/>b<text:s/>c</text:p>", "a   b c"},
      {"<text:p>a<text:tab/>b<text:line-break/>c</text:p>", "a\tb\nc"},
      {"<text:p><text:span>Ro</text:span><text:a xlink:href=\"x\" xmlns:xlink=\"http://www.w3.org/1999/xlink\">ad</text:a></text:p>", "Road"},
      {"<office:annotation><text:p>a comment</text:p></office:annotation><text:p>shown</text:p>", "shown"},
      {"<text:p>x<office:annotation><text:p>inline comment</text:p></office:annotation>y</text:p>", "xy"},
      {"<draw:frame><draw:text-box><text:p>shape</text:p></draw:text-box></draw:frame><text:p>cell</text:p>", "cell"},
      {"<text:p>spaced   \n  out</text:p>", "spaced out"},
      {"<text:p>\xCE\xB1\xCE\xB2 \xE6\x9D\xB1 \xF0\x9F\x8E\xB8</text:p>", "\xCE\xB1\xCE\xB2 \xE6\x9D\xB1 \xF0\x9F\x8E\xB8"},
  };
  for (const auto& c : cells) {
    const Lines lines = TableLines("<table:table-row><table:table-cell office:value-type=\"string\">" + c[0] +
                                   "</table:table-cell></table:table-row>");
    EXPECT_EQ(lines, Lines{"A1 s " + c[1]}) << c[0];
  }
}

TEST(OdsBook, RepeatsAndCoveredCellsPlaceValues) {
  const std::string rows =
      "<table:table-header-rows><table:table-row><table:table-cell office:value-type=\"string\"><text:p>head</text:p>"
      "</table:table-cell></table:table-row></table:table-header-rows>"
      "<table:table-row table:number-rows-repeated=\"2\">"
      "<table:table-cell table:number-columns-repeated=\"2\"/>"
      "<table:table-cell office:value-type=\"float\" office:value=\"5\" table:number-columns-repeated=\"2\"/>"
      "</table:table-row>"
      "<table:table-row-group><table:table-row>"
      "<table:table-cell table:number-columns-spanned=\"2\" office:value-type=\"string\"><text:p>merged</text:p></table:table-cell>"
      "<table:covered-table-cell/><table:table-cell office:value-type=\"float\" office:value=\"1\"/>"
      "</table:table-row></table:table-row-group>"
      "<table:table-row table:number-rows-repeated=\"1048571\"><table:table-cell table:number-columns-repeated=\"16384\"/></table:table-row>";
  Ods::OdsBook book;
  ASSERT_TRUE(Load(book, Document(Table(rows))));
  const Grid::GridSheet& sheet = *book.GetWorksheet(0);
  EXPECT_EQ(sheet_text::Lines(sheet), (Lines{"A1 s head", "C2 n 5", "D2 n 5", "C3 n 5", "D3 n 5", "A4 s merged", "C4 n 1"}));
  EXPECT_EQ(sheet.GetTotalRows(), 4);
  EXPECT_EQ(sheet.GetTotalCols(), 4);
}

TEST(OdsBook, HostileRepeatsAreBoundedOrRefused) {
  const std::string emptyBlock =
      "<table:table-row table:number-rows-repeated=\"1048576\">"
      "<table:table-cell table:number-columns-repeated=\"16384\"/></table:table-row>";
  const std::string valueBlock =
      "<table:table-row table:number-rows-repeated=\"1048576\">"
      "<table:table-cell table:number-columns-repeated=\"16384\" office:value-type=\"float\" office:value=\"1\"/>"
      "</table:table-row>";
  Ods::OdsBook book;
  ASSERT_TRUE(Load(book, Document(Table(emptyBlock + emptyBlock))));
  EXPECT_EQ(book.GetWorksheet(0)->StoredCells(), 0u);
  EXPECT_EQ(book.GetWorksheet(0)->GetTotalRows(), 1);

  const struct {
    const char* what;
    std::string rows;
  } refused[] = {
      {"a value repeated over the whole sheet", valueBlock},
      {"a value past the last row",
       emptyBlock + "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"1\"/></table:table-row>"},
      {"a value past the last column",
       "<table:table-row><table:table-cell table:number-columns-repeated=\"16384\"/>"
       "<table:table-cell office:value-type=\"float\" office:value=\"1\"/></table:table-row>"},
      {"spaces past the text limit",
       "<table:table-row><table:table-cell><text:p><text:s text:c=\"99999999999\"/></text:p></table:table-cell></table:table-row>"},
  };
  for (const auto& c : refused) EXPECT_FALSE(Load(book, Document(Table(c.rows)))) << c.what;
}

TEST(OdsBook, OpensWithoutWorksheetsWhatHoldsNoSpreadsheet) {
  const struct {
    const char* what;
    std::string bytes;
    bool loads;
  } cases[] = {
      {"no content part", zip_maker::Archive({zip_maker::File("mimetype", "x", false)}), true},
      {"a text document", zip_maker::Archive({zip_maker::File("content.xml",
                              "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\">"
                              "<office:body><office:text/></office:body></office:document-content>")}), true},
      {"compound file", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'), true},
      {"entity declarations", zip_maker::Archive({zip_maker::File("content.xml", "<!DOCTYPE x [<!ENTITY a \"b\">]><x>&a;</x>")}), false},
      {"not a zip", "a,b\n", false},
  };
  for (const auto& c : cases) {
    Ods::OdsBook book;
    EXPECT_EQ(Load(book, c.bytes), c.loads) << c.what;
    EXPECT_EQ(book.GetTotalWorkSheets(), 0) << c.what;
  }
}

TEST(OdsBook, HoldsItsFileWhileLoaded) {
  zip_maker::ScratchDir dir;
  const std::string path = dir.Write("settings.ods", Document(Table("")));
  Ods::OdsBook first, second;
  ASSERT_TRUE(first.Load(path));
  EXPECT_FALSE(second.Load(path));
  first.Close();
  EXPECT_TRUE(second.Load(path));
}

}  // namespace
