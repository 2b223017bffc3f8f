// The status console: lines in order and colour, at the end whatever the user selected, the
// echo on standard output, and the system error text.
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "tests/app/fakes.h"

namespace {

const QColor kBlack(0, 0, 0), kBlue(0, 0, 0xFF), kRed(0xFF, 0, 0), kGreen(0, 0x80, 0);

TEST(ConsoleTest, LinesArriveInOrderInTheirColours) {
  FormWithFakes f;
  MyForm& w = f.form;
  w.string_to_textbox(std::string("Building JSON file ..."), BLUE, false);
  w.string_to_textbox(std::string("No setting for: encore"), RED, false);
  w.string_to_textbox(std::string("File created...total records = 3"), GREEN, false);
  w.string_to_textbox(std::string("/shows/tour.json"), BLACK, false);
  w.string_to_textbox(std::string("keeps black"), static_cast<COLORBOX>(5), false);
  w.string_to_textbox(std::string("red again"), RED, false);
  w.string_to_textbox(std::string("keeps red"), static_cast<COLORBOX>(-1), false);

  EXPECT_EQ(w.RunTextBox->toPlainText(),
            "Building JSON file ...\nNo setting for: encore\nFile created...total records = 3\n"
            "/shows/tour.json\nkeeps black\nred again\nkeeps red\n");
  const auto lines = ConsoleLines(w.RunTextBox);
  ASSERT_EQ(lines.size(), 7u);
  const QColor expected[] = {kBlue, kRed, kGreen, kBlack, kBlack, kRed, kRed};
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].color, expected[i]) << i;
}

TEST(ConsoleTest, ClearEmptiesFirstAndEmptyLinesStillEnd) {
  FormWithFakes f;
  MyForm& w = f.form;
  w.string_to_textbox(std::string("old"), BLUE, false);
  w.string_to_textbox(std::string("Error opening settings file..."), RED, true);
  w.string_to_textbox(std::string("/shows/settings.csv"), BLACK, false);
  EXPECT_EQ(w.RunTextBox->toPlainText(), "Error opening settings file...\n/shows/settings.csv\n");

  w.string_to_textbox(std::string(), GREEN, true);
  EXPECT_EQ(w.RunTextBox->toPlainText(), "\n");
}

TEST(ConsoleTest, LinesGoToTheEndWhateverTheUserSelected) {
  FormWithFakes f;
  MyForm& w = f.form;
  w.show();
  w.string_to_textbox(std::string("first"), BLUE, false);
  w.string_to_textbox(std::string("second"), BLUE, false);

  // The user selects "irs" in the first line, then the click puts the cursor at the start.
  QTextCursor selection(w.RunTextBox->document());
  selection.setPosition(1);
  selection.setPosition(4, QTextCursor::KeepAnchor);
  w.RunTextBox->setTextCursor(selection);
  w.string_to_textbox(std::string("third"), RED, false);
  QTextCursor start(w.RunTextBox->document());
  w.RunTextBox->setTextCursor(start);
  w.string_to_textbox(std::string("fourth"), GREEN, false);

  EXPECT_EQ(w.RunTextBox->toPlainText(), "first\nsecond\nthird\nfourth\n");
  const auto lines = ConsoleLines(w.RunTextBox);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].color, kBlue);
  EXPECT_EQ(lines[2].color, kRed);
  EXPECT_EQ(lines[3].color, kGreen);
}

TEST(ConsoleTest, ScrollsToShowTheNewestLine) {
  FormWithFakes f;
  MyForm& w = f.form;
  w.show();
  for (int i = 0; i < 200; ++i) w.string_to_textbox("line " + std::to_string(i), BLUE, false);
  QScrollBar* bar = w.RunTextBox->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());

  w.RunTextBox->setTextCursor(QTextCursor(w.RunTextBox->document()));  // user clicks the top
  bar->setValue(0);
  w.string_to_textbox(std::string("newest"), GREEN, false);
  EXPECT_EQ(bar->value(), bar->maximum());
}

TEST(ConsoleTest, EveryLineIsEchoedToStandardOutput) {
  FormWithFakes f;
  testing::internal::CaptureStdout();
  f.form.string_to_textbox(std::string("Connecting to QB-7!!"), BLUE, false);
  f.form.string_to_textbox(std::string("/home/performer/Шоу/тур.json"), BLACK, true);
  f.form.string_to_textbox(QString("wide form"), f.form.RunTextBox, GREEN, false);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Connecting to QB-7!!\n/home/performer/Шоу/тур.json\nwide form\n");
  EXPECT_EQ(f.form.RunTextBox->toPlainText(), "/home/performer/Шоу/тур.json\nwide form\n");
}

TEST(ConsoleTest, SystemErrorTextIsPrintedInRed) {
  FormWithFakes f;
  errno = 0;
  EXPECT_STREQ(f.form.GetLastErrorAsString(true), "Undefined System Error");
  EXPECT_TRUE(f.form.RunTextBox->toPlainText().isEmpty());

  errno = ECONNREFUSED;
  const std::string expected = std::strerror(ECONNREFUSED);
  EXPECT_EQ(f.form.GetLastErrorAsString(true), expected);
  const auto lines = ConsoleLines(f.form.RunTextBox);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text.toStdString(), expected);
  EXPECT_EQ(lines[0].color, kRed);
}

}  // namespace
