// Choosing files, the check box and "Create Output", with a fake file dialog: the boxes, the
// console, the stored paths and the Upload button after each step.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>

#include <gtest/gtest.h>

#include "tests/app/fakes.h"

namespace {

const QColor kBlack(0, 0, 0), kBlue(0, 0, 0xFF), kRed(0xFF, 0, 0), kGreen(0, 0x80, 0);

std::vector<QString> Texts(const std::vector<ConsoleLine>& lines) {
  std::vector<QString> texts;
  for (const auto& l : lines) texts.push_back(l.text);
  return texts;
}

QStringList Descriptions(const FilterList& list) {
  QStringList out;
  for (const auto& f : list) out << f.description + "|" + f.pattern;
  return out;
}

// The workbook kinds share one "Excel Files" entry, OpenDocument has its own; the dialogs
// then show every kind a build takes.
TEST(FileFiltersTest, ListsAndTheirQtForm) {
  EXPECT_EQ(Descriptions(SpreadsheetFilters()),
            QStringList({"Excel Files|*.xls *.xlsx *.xlsm", "OpenDocument Spreadsheets|*.ods", "All Files|*.*"}));
  EXPECT_EQ(Descriptions(TextFilters()), QStringList({"CSV Files|*.csv", "Text Files|*.txt",
                                                     "Tab-separated Files|*.tsv", "All Files|*.*"}));
  EXPECT_EQ(Descriptions(MixedFilters()),
            QStringList({"Excel Files|*.xls *.xlsx *.xlsm", "OpenDocument Spreadsheets|*.ods", "CSV Files|*.csv",
                         "Text Files|*.txt", "Tab-separated Files|*.tsv", "All Files|*.*"}));
  // "All Files" must also offer names without a dot, as it does on Windows.
  EXPECT_EQ(ToQtNameFilters(MixedFilters()),
            QStringList({"Excel Files (*.xls *.xlsx *.xlsm)", "OpenDocument Spreadsheets (*.ods)", "CSV Files (*.csv)",
                         "Text Files (*.txt)", "Tab-separated Files (*.tsv)", "All Files (*)"}));
}

TEST(SelectionTest, CheckBoxChoosesTheDialogsFilters) {
  FormWithFakes f;
  f.form.SelectSetlistFile->click();
  f.form.SelectSettingsFile->click();
  f.form.checkBox1->click();
  f.form.SelectSetlistFile->click();
  f.form.SelectSettingsFile->click();
  ASSERT_EQ(f.files.asked_with.size(), 4u);
  EXPECT_EQ(Descriptions(f.files.asked_with[0]), Descriptions(SpreadsheetFilters()));
  EXPECT_EQ(Descriptions(f.files.asked_with[1]), Descriptions(SpreadsheetFilters()));
  EXPECT_EQ(Descriptions(f.files.asked_with[2]), Descriptions(TextFilters()));
  EXPECT_EQ(Descriptions(f.files.asked_with[3]), Descriptions(MixedFilters()));
}

TEST(SelectionTest, ChosenSetlistFillsItsBoxAndDisablesUpload) {
  FormWithFakes f;
  f.form.string_to_textbox(std::string("from before"), BLUE, false);
  f.form.upload_button->setEnabled(true);
  f.files.answers = {QString::fromUtf8("/home/performer/Шоу/tour.csv")};
  f.form.SelectSetlistFile->click();
  EXPECT_EQ(f.form.setlist_file, QString::fromUtf8("/home/performer/Шоу/tour.csv"));
  EXPECT_EQ(f.form.textBox1->text(), QString::fromUtf8("/home/performer/Шоу/tour.csv"));
  EXPECT_TRUE(f.form.RunTextBox->toPlainText().isEmpty());
  EXPECT_FALSE(f.form.upload_button->isEnabled());
}

TEST(SelectionTest, ChosenSetlistShowsItsJsonPath) {
  FormWithFakes f;
  f.files.answers = {QString::fromUtf8("/home/performer/Шоу/tour.live.csv"),
                     QString("/home/my.shows/list"),
                     QString("nodot")};
  f.form.SelectSetlistFile->click();
  EXPECT_EQ(f.form.json_file, QString::fromUtf8("/home/performer/Шоу/tour.live.json"));
  EXPECT_EQ(f.form.textBox3->text(), QString::fromUtf8("/home/performer/Шоу/tour.live.json"));
  f.form.SelectSetlistFile->click();  // the dot of the folder counts
  EXPECT_EQ(f.form.json_file, QString("/home/my.json"));
  f.form.SelectSetlistFile->click();  // no dot at all: the JSON path stays
  EXPECT_EQ(f.form.json_file, QString("/home/my.json"));
  EXPECT_EQ(f.form.textBox3->text(), "/home/my.json");
  EXPECT_EQ(f.form.textBox1->text(), "nodot");
}

TEST(SelectionTest, CancelledDialogsSayNoValidFile) {
  FormWithFakes f;
  f.files.answers = {QString("/shows/tour.csv"), QString("/shows/settings.csv")};
  f.form.SelectSetlistFile->click();
  f.form.SelectSettingsFile->click();
  f.form.textBox3->setText("/shows/tour.json");
  f.form.json_file = QString("/shows/tour.json");
  f.form.upload_button->setEnabled(true);

  f.form.SelectSetlistFile->click();  // cancelled
  EXPECT_FALSE(f.form.setlist_file.has_value());
  EXPECT_EQ(f.form.json_file, QString("/shows/tour.json"));
  EXPECT_TRUE(f.form.textBox1->text().isEmpty());
  EXPECT_TRUE(f.form.textBox3->text().isEmpty());
  EXPECT_FALSE(f.form.upload_button->isEnabled());
  auto lines = ConsoleLines(f.form.RunTextBox);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "No Valid Setlist File Selected...");
  EXPECT_EQ(lines[0].color, kRed);

  f.form.upload_button->setEnabled(true);
  f.form.SelectSettingsFile->click();  // cancelled
  EXPECT_FALSE(f.form.settings_file.has_value());
  EXPECT_TRUE(f.form.textBox2->text().isEmpty());
  EXPECT_FALSE(f.form.upload_button->isEnabled());
  lines = ConsoleLines(f.form.RunTextBox);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "No Valid Settings File Selected...");
  EXPECT_EQ(lines[0].color, kRed);
}

TEST(SelectionTest, CheckBoxEmptiesTheBoxesButKeepsThePaths) {
  FormWithFakes f;
  f.files.answers = {QString("/shows/tour.csv"), QString("/shows/settings.xls")};
  f.form.SelectSetlistFile->click();
  f.form.SelectSettingsFile->click();
  f.form.textBox3->setText("/shows/tour.json");
  f.form.string_to_textbox(std::string("a line"), BLUE, false);
  f.form.upload_button->setEnabled(true);

  f.form.checkBox1->click();
  EXPECT_TRUE(f.form.checkBox1->isChecked());
  EXPECT_TRUE(f.form.textBox1->text().isEmpty());
  EXPECT_TRUE(f.form.textBox2->text().isEmpty());
  EXPECT_TRUE(f.form.textBox3->text().isEmpty());
  EXPECT_TRUE(f.form.RunTextBox->toPlainText().isEmpty());
  EXPECT_FALSE(f.form.upload_button->isEnabled());
  EXPECT_EQ(f.form.setlist_file, QString("/shows/tour.csv"));
  EXPECT_EQ(f.form.settings_file, QString("/shows/settings.xls"));

  f.form.upload_button->setEnabled(true);
  f.form.checkBox1->click();  // unticking does the same
  EXPECT_FALSE(f.form.upload_button->isEnabled());
}

TEST(CreateOutputTest, AMissingPathAsksForFilesWithoutClearing) {
  FormWithFakes f;
  f.form.string_to_textbox(std::string("earlier"), BLUE, false);
  f.form.Run->click();
  f.files.answers = {QString("/shows/tour.csv")};
  f.form.SelectSetlistFile->click();  // clears the console
  f.form.Run->click();
  const auto lines = ConsoleLines(f.form.RunTextBox);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "Select files to be processed ...");
  EXPECT_EQ(lines[0].color, kRed);
  EXPECT_EQ(f.form.textBox1->text(), "/shows/tour.csv");
}

TEST(CreateOutputTest, InvalidCombinationEmptiesTheBoxesAndDisablesUpload) {
  // Extensions compare exactly: upper case matches no build, nor does an .xls setlist with
  // a text settings table, nor a path without a dot.
  const std::pair<QString, QString> combinations[] = {
      {"/shows/SET.XLS", "/shows/SET.XLS"},
      {"/shows/tour.xls", "/shows/settings.csv"},
      {"/shows/tour.xls", "/shows/settings.txt"},
      {"/shows/tour", "/shows/settings.csv"},
      {"/shows/tour.json", "/shows/settings.csv"},
  };
  for (const auto& [setlist, settings] : combinations) {
    SCOPED_TRACE((setlist + " + " + settings).toStdString());
    FormWithFakes f;
    f.files.answers = {setlist, settings};
    f.form.SelectSetlistFile->click();
    f.form.SelectSettingsFile->click();
    f.form.textBox3->setText("/shows/x.json");
    f.form.string_to_textbox(std::string("earlier"), BLUE, false);
    f.form.upload_button->setEnabled(true);

    f.form.Run->click();
    const auto lines = ConsoleLines(f.form.RunTextBox);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "Invalid combination of file-types ...");
    EXPECT_EQ(lines[0].color, kRed);
    EXPECT_TRUE(f.form.textBox1->text().isEmpty());
    EXPECT_TRUE(f.form.textBox2->text().isEmpty());
    EXPECT_TRUE(f.form.textBox3->text().isEmpty());
    EXPECT_FALSE(f.form.upload_button->isEnabled());
    EXPECT_EQ(f.form.setlist_file, setlist);  // the paths stay chosen
    EXPECT_EQ(f.form.settings_file, settings);
  }
}

TEST(CreateOutputTest, TakesTheExtensionsOfBothPaths) {
  FormWithFakes f;
  f.files.answers = {QString("/my.shows/SET.XLS"), QString("/shows/settings")};
  f.form.SelectSetlistFile->click();
  f.form.SelectSettingsFile->click();
  f.form.Run->click();
  EXPECT_EQ(f.form.setlist_file_ext, "XLS");
  EXPECT_EQ(f.form.settings_file_ext, "/shows/settings");  // no dot: the whole path
}

// Writes `text` to `dir/name` and returns the path.
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
  QFile file(dir.filePath(name));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
  return file.fileName();
}

TEST(CreateOutputTest, TwoTextTablesBuildTheDocumentAndEnableUpload) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString setlist = WriteFile(dir, QString::fromUtf8("Тур.csv"), "Opener\nEncore\n");
  const QString settings = WriteFile(dir, "settings.txt", "opener,Opening Song,P01,Loud,120\n");
  const QString empty_settings = WriteFile(dir, "empty.csv", "");
  FormWithFakes f;
  f.files.answers = {setlist, settings, empty_settings};
  f.form.SelectSetlistFile->click();
  f.form.SelectSettingsFile->click();
  f.form.Run->click();

  const QString json = dir.filePath(QString::fromUtf8("Тур.json"));
  EXPECT_TRUE(QFile::exists(json));
  EXPECT_TRUE(f.form.upload_button->isEnabled());
  const auto lines = ConsoleLines(f.form.RunTextBox);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(Texts(lines), std::vector<QString>({"Building JSON file ...", "No setting for: encore",
                                                "File created...total records = 1", json}));
  EXPECT_EQ(lines[0].color, kBlue);
  EXPECT_EQ(lines[1].color, kRed);
  EXPECT_EQ(lines[2].color, kGreen);
  EXPECT_EQ(lines[3].color, kBlack);

  // A stopped build afterwards keeps Upload enabled and the document as it was.
  QFile before(json);
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  const QByteArray document = before.readAll();
  before.close();
  f.form.SelectSettingsFile->click();  // disables Upload, as every selection does
  f.form.upload_button->setEnabled(true);
  f.form.Run->click();
  EXPECT_TRUE(f.form.upload_button->isEnabled());
  EXPECT_EQ(Texts(ConsoleLines(f.form.RunTextBox)),
            std::vector<QString>({"No valid records in settings file!!", empty_settings}));
  QFile after(json);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), document);
}

}  // namespace
