// "Create Output" with workbook tables, driven through the window with a fake file dialog:
// every combination with an .xls, .xlsx or .ods settings table, the ones that stay invalid,
// and the stops a workbook brings (the same file twice, a held file, a text file named .xls).
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/app/fakes.h"
#include "xls/xls_book.h"

namespace {

const QColor kBlack(0, 0, 0), kRed(0xFF, 0, 0), kGreen(0, 0x80, 0);

QByteArray Example(const char* name) {
  QFile file(QString(TALLYFORM_SOURCE_DIR) + "/examples/" + name);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
  return file.readAll();
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Put(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  QFile file(dir.filePath(name));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return file.fileName();
}

std::vector<QString> Texts(const std::vector<ConsoleLine>& lines) {
  std::vector<QString> texts;
  for (const auto& l : lines) texts.push_back(l.text);
  return texts;
}

// Chooses both files through the fake dialog ("Use .csv files" ticked when the setlist is a
// text table, as a user would) and clicks "Create Output".
void ChooseAndRun(FormWithFakes& f, const QString& setlist, const QString& settings) {
  if (setlist.endsWith(".csv") || setlist.endsWith(".txt")) f.form.checkBox1->click();
  f.files.answers = {setlist, settings};
  f.form.SelectSetlistFile->click();
  f.form.SelectSettingsFile->click();
  f.form.Run->click();
}

class XlsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    for (const char* name : {"setlist.csv", "setlist.txt", "settings.csv", "setlist.xls", "settings.xls",
                             "setlist.xlsx", "settings.xlsx", "settings.ods"}) {
      Put(dir_, name, Example(name));
    }
  }
  QString Path(const char* name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

TEST_F(XlsWindowTest, EveryCombinationWithAnXlsSettingsTableBuilds) {
  // The text-only build is the reference: the .xls examples hold the same tables.
  FormWithFakes reference;
  ChooseAndRun(reference, Path("setlist.csv"), Path("settings.csv"));
  const QByteArray expected = ReadAll(Path("setlist.json"));
  ASSERT_FALSE(expected.isEmpty());
  QFile::remove(Path("setlist.json"));

  for (const char* setlist : {"setlist.xls", "setlist.csv"}) {
    SCOPED_TRACE(setlist);
    FormWithFakes f;
    ChooseAndRun(f, Path(setlist), Path("settings.xls"));
    const QString json = Path("setlist.json");
    EXPECT_EQ(f.form.setlist_file_ext, QString(setlist).section('.', -1));
    EXPECT_EQ(f.form.settings_file_ext, "xls");
    EXPECT_EQ(ReadAll(json), expected);
    EXPECT_TRUE(f.form.upload_button->isEnabled());
    const auto lines = ConsoleLines(f.form.RunTextBox);
    EXPECT_EQ(Texts(lines), std::vector<QString>({"Building JSON file ...", "No setting for: encore medley",
                                                  "File created...total records = 5", json}));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].color, kRed);
    EXPECT_EQ(lines[2].color, kGreen);
    QFile::remove(json);
  }

  FormWithFakes txt;
  ChooseAndRun(txt, Path("setlist.txt"), Path("settings.xls"));
  EXPECT_EQ(ReadAll(Path("setlist.json")),
            R"([{"song":"Paper Moon","patch":"B07","notes":"","bpm":""},)"
            R"({"song":"Slow Burn","patch":"B02","notes":"swell on the chorus","bpm":"72"},)"
            R"({"song":"Intro Jam","patch":"A01","notes":"clean tone","bpm":"96"}])");
  EXPECT_TRUE(txt.form.upload_button->isEnabled());
}

// Every example combination with an .xlsx or .ods table builds the document of the text
// tables, chosen from dialogs that offer those kinds.
TEST_F(XlsWindowTest, XlsxAndOdsTablesBuildInTheWindow) {
  // Every setlist here is named setlist.*, so every build writes setlist.json.
  const QString json = Path("setlist.json");
  std::map<std::string, std::pair<QByteArray, std::vector<QString>>> expected;  // by text twin
  for (const char* text : {"setlist.csv", "setlist.txt"}) {
    FormWithFakes reference;
    ChooseAndRun(reference, Path(text), Path("settings.csv"));
    expected[text] = {ReadAll(json), Texts(ConsoleLines(reference.form.RunTextBox))};
    ASSERT_FALSE(expected[text].first.isEmpty());
  }
  const struct {
    const char* setlist;
    const char* settings;
    const char* text_twin;
  } combinations[] = {
      {"setlist.xlsx", "settings.xlsx", "setlist.csv"}, {"setlist.xlsx", "settings.ods", "setlist.csv"},
      {"setlist.xlsx", "settings.xls", "setlist.csv"},  {"setlist.xls", "settings.xlsx", "setlist.csv"},
      {"setlist.xls", "settings.ods", "setlist.csv"},   {"setlist.csv", "settings.xlsx", "setlist.csv"},
      {"setlist.csv", "settings.ods", "setlist.csv"},   {"setlist.txt", "settings.xlsx", "setlist.txt"},
      {"setlist.txt", "settings.ods", "setlist.txt"},
  };
  for (const auto& c : combinations) {
    SCOPED_TRACE(std::string(c.setlist) + " + " + c.settings);
    QFile::remove(json);
    FormWithFakes f;
    ChooseAndRun(f, Path(c.setlist), Path(c.settings));
    ASSERT_EQ(f.files.asked_with.size(), 2u);
    EXPECT_TRUE(ToQtNameFilters(f.files.asked_with[1]).contains("Excel Files (*.xls *.xlsx *.xlsm)"));
    EXPECT_TRUE(ToQtNameFilters(f.files.asked_with[1]).contains("OpenDocument Spreadsheets (*.ods)"));
    EXPECT_EQ(ReadAll(json), expected[c.text_twin].first);
    EXPECT_EQ(Texts(ConsoleLines(f.form.RunTextBox)), expected[c.text_twin].second);
    EXPECT_TRUE(f.form.upload_button->isEnabled());
  }
}

TEST_F(XlsWindowTest, UpperCaseAndAnXlsSetlistWithTextSettingsAreInvalid) {
  const QString upper_setlist = Put(dir_, "TOUR.XLS", Example("setlist.xls"));
  const QString upper_settings = Put(dir_, "SETTINGS.XLS", Example("settings.xls"));
  const std::pair<QString, QString> combinations[] = {
      {upper_setlist, Path("settings.xls")},
      {Path("setlist.xls"), upper_settings},
      {Path("setlist.csv"), upper_settings},
      {Path("setlist.xls"), Path("settings.csv")},
      {Path("setlist.xlsx"), Path("settings.csv")},
      {Put(dir_, "TOUR.ODS", Example("settings.ods")), Path("settings.xlsx")},
  };
  for (const auto& [setlist, settings] : combinations) {
    SCOPED_TRACE((setlist + " + " + settings).toStdString());
    FormWithFakes f;
    ChooseAndRun(f, setlist, settings);
    EXPECT_EQ(Texts(ConsoleLines(f.form.RunTextBox)),
              std::vector<QString>({"Invalid combination of file-types ..."}));
    EXPECT_FALSE(f.form.upload_button->isEnabled());
  }
  EXPECT_FALSE(QFile::exists(Path("setlist.json")));
  EXPECT_FALSE(QFile::exists(Path("TOUR.json")));
}

TEST_F(XlsWindowTest, StopsKeepUploadAsItWasAndWriteNothing) {
  const QString text_named_xls = Put(dir_, "notes.xls", "intro,Intro Jam,A01,,96\n");
  struct Case {
    QString setlist, settings;
    QString message, path;
  };
  const Case cases[] = {
      {Path("settings.xls"), Path("settings.xls"), "Error opening setlist file...", Path("settings.xls")},
      {Path("settings.xlsx"), Path("settings.xlsx"), "Error opening setlist file...", Path("settings.xlsx")},
      {Path("settings.ods"), Path("settings.ods"), "Error opening setlist file...", Path("settings.ods")},
      {Path("setlist.csv"), Put(dir_, "notes.ods", "intro,Intro Jam,A01,,96\n"), "Error opening settings file...",
       Path("notes.ods")},
      {Path("setlist.csv"), text_named_xls, "Error opening settings file...", text_named_xls},
      {text_named_xls, Path("settings.xls"), "Error opening setlist file...", text_named_xls},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.setlist + " + " + c.settings).toStdString());
    FormWithFakes f;
    ChooseAndRun(f, c.setlist, c.settings);
    const auto lines = ConsoleLines(f.form.RunTextBox);
    EXPECT_EQ(Texts(lines), std::vector<QString>({c.message, c.path}));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].color, kRed);
    EXPECT_EQ(lines[1].color, kBlack);
    EXPECT_FALSE(f.form.upload_button->isEnabled());
  }
  EXPECT_FALSE(QFile::exists(Path("settings.json")));
  EXPECT_FALSE(QFile::exists(Path("notes.json")));
  EXPECT_FALSE(QFile::exists(Path("setlist.json")));
}

TEST_F(XlsWindowTest, AWorkbookHeldElsewhereStopsUntilItIsLetGo) {
  FormWithFakes f;
  {
    Xls::XlsBook holder;  // stands for the spreadsheet application keeping the file open
    ASSERT_TRUE(holder.Load(Path("settings.xls").toStdString()));
    ChooseAndRun(f, Path("setlist.xls"), Path("settings.xls"));
    EXPECT_EQ(Texts(ConsoleLines(f.form.RunTextBox)),
              std::vector<QString>({"Error opening settings file...", Path("settings.xls")}));
    EXPECT_FALSE(f.form.upload_button->isEnabled());
  }
  f.form.Run->click();
  EXPECT_TRUE(f.form.upload_button->isEnabled());
  EXPECT_TRUE(QFile::exists(Path("setlist.json")));
}

TEST(XlsWindowText, SixteenBitTextsReachTheConsoleAndDocumentAsUtf8) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile fixture(QString(TALLYFORM_SOURCE_DIR) + "/tests/builder/data/settings.xls");
  ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
  const QString settings = Put(dir, QString::fromUtf8("Ρυθμίσεις.xls"), fixture.readAll());
  const QString setlist = Put(dir, "tour.csv", QString::fromUtf8("ΚΑΛΗΜΈΡΑ\nΚΑΛΗΝΎΧΤΑ\n").toUtf8());
  FormWithFakes f;
  ChooseAndRun(f, setlist, settings);
  EXPECT_EQ(ReadAll(dir.filePath("tour.json")),
            QString::fromUtf8(R"([{"song":"日本語の歌","patch":"Ω7","notes":"🎸 solo","bpm":"72"}])").toUtf8());
  const auto lines = ConsoleLines(f.form.RunTextBox);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1].text, QString::fromUtf8("No setting for: καληνύχτα"));  // shown folded
}

}  // namespace
