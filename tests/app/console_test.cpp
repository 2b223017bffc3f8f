// The status console: lines in order and colour, at the end whatever the user selected, the
// echo on standard output, and the system error text.
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/console_box.h"
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

// Every run of characters of the box with its colour, line by line: what a user sees.
std::vector<std::pair<QString, QColor>> Painted(QTextEdit* box) {
  std::vector<std::pair<QString, QColor>> runs;
  for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QColor color = it.fragment().charFormat().foreground().color();
      if (!runs.empty() && runs.back().second == color && !runs.back().first.endsWith('\n'))
        runs.back().first += it.fragment().text();
      else
        runs.emplace_back(it.fragment().text(), color);
    }
    if (block.next().isValid()) runs.emplace_back(QStringLiteral("\n"), QColor());
  }
  return runs;
}

// Held in a batch, the lines come out as they would one by one: the same text, colours and
// echo, clears included, and nothing shows before the outermost batch ends.
TEST(ConsoleTest, ABatchShowsTheSameLinesOnceItEnds) {
  struct Line {
    const char* text;
    int color;
    bool clear;
  };
  const std::vector<std::vector<Line>> cases = {
      {{"Building JSON file ...", BLUE, false}, {"No setting for: a", RED, false}, {"No setting for: b", RED, false},
       {"keeps red", 7, false}, {"File created...total records = 0", GREEN, false}, {"/shows/set.json", BLACK, false}},
      {{"old", BLUE, false}, {"Error opening settings file...", RED, true}, {"/shows/settings.csv", BLACK, false}},
      {{"first", GREEN, false}, {"", RED, true}, {"", RED, false}},
  };
  for (size_t c = 0; c < cases.size(); ++c) {
    SCOPED_TRACE(c);
    QTextEdit one_by_one, batched;
    ConsoleBox plain(&one_by_one), held(&batched);
    plain.WriteLine("before", BLUE, false);
    held.WriteLine("before", BLUE, false);
    testing::internal::CaptureStdout();
    for (const Line& l : cases[c]) plain.WriteLine(l.text, static_cast<COLORBOX>(l.color), l.clear);
    const std::string echo = testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    {
      ConsoleBox::Batch outer(held);
      {
        ConsoleBox::Batch inner(held);
        for (const Line& l : cases[c]) held.WriteLine(l.text, static_cast<COLORBOX>(l.color), l.clear);
      }
      EXPECT_EQ(batched.toPlainText(), "before\n");
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), echo);
    EXPECT_EQ(batched.toPlainText(), one_by_one.toPlainText());
    EXPECT_EQ(Painted(&batched), Painted(&one_by_one));
  }
}

// "Create Output" with many unknown entries: every line, in order and colour, scrolled to the
// newest, and a clear during the batch empties what came before it.
TEST(ConsoleTest, ABuildsManyLinesAllShowInOrder) {
  QTemporaryDir dir;
  std::string setlist = "opener\n";
  for (int i = 0; i < 3000; ++i) setlist += "missing " + std::to_string(i) + "\n";
  const auto put = [&](const char* name, const std::string& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return file.fileName();
  };
  FormWithFakes f;
  MyForm& w = f.form;
  w.show();
  w.PreselectFiles({put("set.csv", setlist), put("settings.csv", "opener,Opening Song,A12,,120\n")});
  w.string_to_textbox(std::string("emptied by the build"), BLUE, false);
  testing::internal::CaptureStdout();
  w.Run->click();
  testing::internal::GetCapturedStdout();

  const auto lines = ConsoleLines(w.RunTextBox);
  ASSERT_EQ(lines.size(), 3003u);
  EXPECT_EQ(lines[0].text, "Building JSON file ...");
  EXPECT_EQ(lines[0].color, kBlue);
  for (int i = 0; i < 3000; ++i) {
    EXPECT_EQ(lines[1 + i].text, QString("No setting for: missing %1").arg(i));
    EXPECT_EQ(lines[1 + i].color, kRed);
  }
  EXPECT_EQ(lines[3001].text, "File created...total records = 1");
  EXPECT_EQ(lines[3001].color, kGreen);
  EXPECT_EQ(lines[3002].color, kBlack);
  QScrollBar* bar = w.RunTextBox->verticalScrollBar();
  EXPECT_EQ(bar->value(), bar->maximum());
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
