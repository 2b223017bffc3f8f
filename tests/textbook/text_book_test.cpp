#include "textbook/text_book.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/files.h"

namespace {

using testing_support::ScratchDir;
using testing_support::WriteFile;

class TextBookTest : public ::testing::Test {
 protected:
  // Loads `bytes` as a table and returns column 0 of every row.
  std::vector<std::string> Rows(const std::string& bytes) {
    WriteFile(dir_.File("t.csv"), bytes);
    EXPECT_TRUE(book_.Load(dir_.File("t.csv")));
    std::vector<std::string> rows;
    TextSheet* sheet = book_.GetWorksheet(0);
    for (int32_t r = 0; r < sheet->GetTotalRows(); ++r) rows.push_back(sheet->Cell(r, 0)->GetString());
    return rows;
  }
  // The five fields of a one-line table.
  std::vector<std::string> Fields(const std::string& line) {
    WriteFile(dir_.File("f.csv"), line + "\n");
    EXPECT_TRUE(book_.Load(dir_.File("f.csv")));
    std::vector<std::string> fields;
    for (uint32_t c = 0; c < 5; ++c) fields.push_back(book_.GetWorksheet(0)->Cell(0, c)->GetString());
    return fields;
  }
  // A one-field table read with the comma, so a blank or tab in it stays text.
  TextCell* OneField(const std::string& text) {
    WriteFile(dir_.File("c.csv"), text + "\n");
    EXPECT_TRUE(book_.Load(dir_.File("c.csv"), TextDelimiter::kComma));
    return book_.GetWorksheet(0)->Cell(0, 0);
  }

  ScratchDir dir_;
  TextBook book_;
};

using V = std::vector<std::string>;

TEST_F(TextBookTest, EveryLineIsARowAndOnlyAFinalLineFeedEndsWithoutOne) {
  EXPECT_EQ(Rows("a\n\nb\n"), (V{"a", "", "b"}));
  EXPECT_EQ(book_.GetWorksheet(0)->Cell(1, 0)->Type(), TextCell::CellUndefined);
  EXPECT_EQ(Rows("a\n\nb"), (V{"a", "", "b"}));
  EXPECT_EQ(Rows("\n"), (V{""}));
  EXPECT_EQ(Rows(""), V{});
  EXPECT_EQ(book_.GetTotalWorkSheets(), 1);
}

TEST_F(TextBookTest, TextModeDropsOnlyTheCarriageReturnBeforeALineFeed) {
  EXPECT_EQ(Rows("a\r\nb\r\n"), (V{"a", "b"}));
  EXPECT_EQ(Rows("a\rb\rc\r"), (V{"a\rb\rc\r"}));  // CR alone ends no line
  EXPECT_EQ(Rows("a\r\r\nb"), (V{"a\r", "b"}));
  EXPECT_EQ(Rows("x,y\r\n"), (V{"x"}));
  EXPECT_STREQ(book_.GetWorksheet(0)->Cell(0, 1)->GetString(), "y");
}

TEST_F(TextBookTest, CtrlZEndsTheInput) {
  EXPECT_EQ(Rows("a\nb\x1A" "c\nd\n"), (V{"a", "b"}));
  EXPECT_EQ(Rows("\x1A" "a\n"), V{});
}

TEST_F(TextBookTest, ByteOrderMarkIsSkippedOnlyAtTheVeryStart) {
  EXPECT_EQ(Rows("\xEF\xBB\xBFopener,x\n"), (V{"opener"}));
  EXPECT_EQ(book_.GetWorksheet(0)->Cell(0, 0)->Type(), TextCell::CellString);
  EXPECT_EQ(Rows("a\n\xEF\xBB\xBF" "b\n"), (V{"a", "\xEF\xBB\xBF" "b"}));
  EXPECT_EQ(Rows("\xEF\xBB\xBF"), V{});
}

TEST_F(TextBookTest, LoadFailsForWhatCannotBeRead) {
  EXPECT_FALSE(book_.Load(dir_.File("missing.csv")));
  EXPECT_EQ(book_.GetWorksheet(0)->GetTotalRows(), 0);
  EXPECT_FALSE(book_.Load(dir_.path()));
  EXPECT_FALSE(book_.Load("/dev/zero"));  // would never end
  EXPECT_EQ(book_.GetTotalWorkSheets(), 1);
  EXPECT_EQ(book_.GetWorksheet(5), book_.GetWorksheet(0));
}

TEST_F(TextBookTest, QuotedFieldsHoldCommasAndDoubledQuotes) {
  EXPECT_EQ(Fields(R"(Song A,"Lead, clean",12,x"y"z,0120)"),
            (V{"Song A", "Lead, clean", "12", "x\"y\"z", "0120"}));
  TextSheet* sheet = book_.GetWorksheet(0);
  const std::vector<int32_t> types{3, 3, 1, 3, 1};
  for (uint32_t c = 0; c < 5; ++c) EXPECT_EQ(sheet->Cell(0, c)->Type(), types[c]) << c;
  EXPECT_EQ(sheet->Cell(0, 4)->GetInteger(), 120);

  const struct {
    const char* line;
    V fields;
  } cases[] = {
      {R"(a,"b,c)", {"a", "b,c", "", "", ""}},                 // unclosed: runs to the end
      {R"("say ""hi""",x)", {"say \"hi\"", "x", "", "", ""}},  // "" is one quote
      {R"("",x)", {"", "x", "", "", ""}},
      {R"("""",x)", {"\"", "x", "", "", ""}},
      {R"(5" tall,"x" y,z)", {"5\" tall", "x y", "z", "", ""}},  // quotes not opening a field
      {R"( "a,b")", {" \"a", "b\"", "", "", ""}},               // a blank before: not quoted
      {"a, b", {"a", " b", "", "", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(Fields(c.line), c.fields) << c.line;
}

TEST_F(TextBookTest, FieldsPastTheLineAreEmptyEvenAfterALongerLine) {
  WriteFile(dir_.File("t.csv"), "1,2,3,4,5\na,b\n");
  ASSERT_TRUE(book_.Load(dir_.File("t.csv")));
  TextSheet* sheet = book_.GetWorksheet(0);
  EXPECT_STREQ(sheet->Cell(0, 4)->GetString(), "5");
  for (uint32_t c = 2; c < 5; ++c) {
    EXPECT_EQ(sheet->Cell(1, c)->Type(), TextCell::CellUndefined);
    EXPECT_STREQ(sheet->Cell(1, c)->GetString(), "");
  }
}

TEST_F(TextBookTest, QuotedLineBreaksStayInsideTheirRecord) {
  EXPECT_EQ(Rows("a,\"one\ntwo\\n\",x\nb\n"), (V{"a", "b"}));
  EXPECT_STREQ(book_.GetWorksheet(0)->Cell(0, 1)->GetString(), "one\ntwo\\n");
  EXPECT_STREQ(book_.GetWorksheet(0)->Cell(0, 2)->GetString(), "x");
  EXPECT_EQ(Rows("n,\"one\r\ntwo\"\r\nb\r\n"), (V{"n", "b"}));  // CR LF inside is stored as LF
  EXPECT_STREQ(book_.GetWorksheet(0)->Cell(0, 1)->GetString(), "one\ntwo");
  // An unclosed quote holds the rest of the table, but not its final line feed.
  EXPECT_EQ(Rows("\"a,b\nc,d\n"), (V{"a,b\nc,d"}));
  EXPECT_EQ(Rows("x,\"a\n\nb"), (V{"x"}));
  EXPECT_STREQ(book_.GetWorksheet(0)->Cell(0, 1)->GetString(), "a\n\nb");
}

TEST_F(TextBookTest, OnlyFiveFieldsAreKept) {
  EXPECT_EQ(Fields("a,b,c,d,e,f,g"), (V{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(Fields("a,b,c,d,,f"), (V{"a", "b", "c", "d", ""}));
}

TEST_F(TextBookTest, RowsOrColumnsOutsideTheTableReadEmpty) {
  WriteFile(dir_.File("t.csv"), "a,b\n");
  ASSERT_TRUE(book_.Load(dir_.File("t.csv")));
  EXPECT_EQ(book_.GetWorksheet(0)->Cell(7, 0)->Type(), TextCell::CellUndefined);
  EXPECT_EQ(book_.GetWorksheet(0)->Cell(0, 9)->Type(), TextCell::CellUndefined);
}

TEST_F(TextBookTest, TypeIsIntegerOnlyForPlainDigits) {
  EXPECT_EQ(OneField("-5")->Type(), TextCell::CellString);
  EXPECT_EQ(OneField("1.5")->Type(), TextCell::CellString);
  EXPECT_EQ(OneField(" 7")->Type(), TextCell::CellString);
  EXPECT_EQ(OneField("12\xC3\xA9")->Type(), TextCell::CellString);
  EXPECT_EQ(OneField("000")->Type(), TextCell::CellInteger);
  EXPECT_EQ(OneField("")->Type(), TextCell::CellUndefined);
}

TEST_F(TextBookTest, IntegerConversionReadsALeadingNumber) {
  EXPECT_EQ(OneField("007")->GetInteger(), 7);
  EXPECT_EQ(OneField("120bpm")->GetInteger(), 120);
  EXPECT_EQ(OneField(" \t7")->GetInteger(), 7);
  EXPECT_EQ(OneField("-3")->GetInteger(), -3);
  EXPECT_EQ(OneField("+4")->GetInteger(), 4);
  EXPECT_EQ(OneField("2147483647")->GetInteger(), 2147483647);
  EXPECT_EQ(OneField("-2147483648")->GetInteger(), -2147483647 - 1);
}

TEST_F(TextBookTest, IntegerConversionReportsFailureWithoutThrowing) {
  for (const char* text : {"", "fast", "-", "+ 5", " ", "2147483648", "-2147483649",
                           "99999999999999999999999"}) {
    int32_t value = 42;
    EXPECT_FALSE(OneField(text)->GetInteger(value)) << text;
    EXPECT_EQ(value, 42) << text;
    EXPECT_EQ(OneField(text)->GetInteger(), 0) << text;
  }
}

}  // namespace
