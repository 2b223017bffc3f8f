// Files dropped on the window or named on the command line: each acts as the same file chosen
// in its button's dialog (the paths, the boxes, the JSON path, the console, Upload and
// Preview all end the same), and what the dialog could not return is refused.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "builder/table_kind.h"
#include "tests/app/fakes.h"
#include "tests/support/fake_device.h"

namespace {

// Everything a choice of file changes, to compare two windows.
struct WindowState {
  std::optional<QString> setlist, settings, json;
  QString box1, box2, box3;
  std::vector<std::pair<QString, QRgb>> console;
  bool upload, preview;
  bool operator==(const WindowState&) const = default;
};

WindowState StateOf(MyForm& w) {
  WindowState s{w.setlist_file, w.settings_file, w.json_file, w.textBox1->text(), w.textBox2->text(),
                w.textBox3->text(), {}, w.upload_button->isEnabled(), w.previewButton->isEnabled()};
  for (const ConsoleLine& line : ConsoleLines(w.RunTextBox)) s.console.emplace_back(line.text, line.color.rgb());
  return s;
}

std::ostream& operator<<(std::ostream& out, const WindowState& s) {
  out << "setlist=" << s.setlist.value_or("-").toStdString() << " settings=" << s.settings.value_or("-").toStdString()
      << " json=" << s.json.value_or("-").toStdString() << " boxes=" << s.box1.toStdString() << "|"
      << s.box2.toStdString() << "|" << s.box3.toStdString() << " upload=" << s.upload << " preview=" << s.preview;
  for (const auto& [text, colour] : s.console) out << " [" << text.toStdString() << "]";
  return out;
}

QPoint CentreOf(MyForm&, QWidget* control) { return control->geometry().center(); }

class DropTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString File(const QString& name) {
    QFile file(dir_.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a\n");
    return file.fileName();
  }
  // A window with a setlist already chosen in its dialog (none for an empty path), and Upload
  // and Preview enabled as after a build, with a line on the console.
  static void Prepare(FormWithFakes& f, const QString& setlist) {
    if (!setlist.isEmpty()) {
      f.files.answers = {setlist};
      f.form.SelectSetlistFile->click();
    }
    f.form.upload_button->setEnabled(true);
    f.form.previewButton->setEnabled(true);
    f.form.string_to_textbox(std::string("from before"), BLUE, false);
  }
  QTemporaryDir dir_;
};

TEST_F(DropTest, ADropActsAsTheDialogOfItsRole) {
  enum Place { SetlistBox, SettingsBox, Elsewhere };
  struct Case {
    const char* name;
    QString before;  // the setlist chosen before
    Place place;
    QString file;
    FileRole role;
  };
  const QString tour = File("tour.csv"), settings = File("settings.xls"), notes = File("notes.pdf");
  const Case cases[] = {
      {"setlist box", "", SetlistBox, tour, FileRole::Setlist},
      {"setlist box replaces", tour, SetlistBox, File("other.txt"), FileRole::Setlist},
      {"a box takes any file, as All Files does", "", SetlistBox, notes, FileRole::Setlist},
      {"settings box", "", SettingsBox, settings, FileRole::Settings},
      {"elsewhere, no setlist yet", "", Elsewhere, tour, FileRole::Setlist},
      {"elsewhere, a setlist chosen", tour, Elsewhere, settings, FileRole::Settings},
      {"on the console, a setlist chosen", tour, Elsewhere, File("settings.csv"), FileRole::Settings},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormWithFakes dropped, chosen;
    Prepare(dropped, c.before);
    Prepare(chosen, c.before);
    MyForm& w = dropped.form;
    const QPoint at = c.place == SetlistBox    ? CentreOf(w, w.textBox1)
                      : c.place == SettingsBox ? CentreOf(w, w.textBox2)
                      : QString(c.name).contains("console") ? CentreOf(w, w.RunTextBox)
                                                            : QPoint(300, 440);
    EXPECT_TRUE(DropFile(w, c.file, at));
    chosen.files.answers = {c.file};
    (c.role == FileRole::Setlist ? chosen.form.SelectSetlistFile : chosen.form.SelectSettingsFile)->click();
    EXPECT_EQ(StateOf(w), StateOf(chosen.form));
  }
}

TEST_F(DropTest, EveryKindOfTheDispatchIsTakenAnywhere) {
  for (const TableFamily family : {TableFamily::Workbook, TableFamily::Text}) {
    for (const FileGroup& group : FileGroups(family)) {
      for (const QString& pattern : QString::fromStdString(group.pattern).split(' ')) {
        const QString file = File("table" + pattern.mid(1));
        FormWithFakes f;
        EXPECT_TRUE(DropFile(f.form, file, QPoint(300, 440))) << file.toStdString();
        EXPECT_EQ(f.form.setlist_file, file);
      }
    }
  }
}

TEST_F(DropTest, WhatTheDialogCouldNotReturnIsRefused) {
  QDir(dir_.path()).mkdir("show.csv");
  const QString tour = File("tour.csv");
  struct Case {
    const char* name;
    QList<QUrl> urls;
    bool on_box;
  };
  const Case cases[] = {
      {"not a table, elsewhere", {QUrl::fromLocalFile(File("notes.pdf"))}, false},
      {"extensions compare exactly", {QUrl::fromLocalFile(File("TOUR.CSV"))}, false},
      {"two files", {QUrl::fromLocalFile(tour), QUrl::fromLocalFile(File("settings.csv"))}, true},
      {"a folder", {QUrl::fromLocalFile(dir_.filePath("show.csv"))}, true},
      {"a file that is not there", {QUrl::fromLocalFile(dir_.filePath("gone.csv"))}, true},
      {"not a local file", {QUrl("https://example.com/tour.csv")}, true},
      {"nothing", {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormWithFakes f;
    Prepare(f, "");
    const WindowState before = StateOf(f.form);
    EXPECT_FALSE(DropUrls(f.form, c.urls, c.on_box ? CentreOf(f.form, f.form.textBox1) : QPoint(300, 440)));
    EXPECT_EQ(StateOf(f.form), before);
  }
}

TEST_F(DropTest, TheWindowReceivesEveryDrop) {
  // Qt hands a drop to the innermost widget under the cursor that accepts drops: for the
  // read-only boxes and the console that must be the window, which tells them apart.
  FormWithFakes f;
  MyForm& w = f.form;
  for (QWidget* control : Controls(w)) {
    QWidget* target = w.childAt(CentreOf(w, control));
    while (target && !target->acceptDrops()) target = target->parentWidget();
    EXPECT_EQ(target, &w) << control->objectName().toStdString();
  }
}

TEST_F(DropTest, DropsWaitForARunningUpload) {
  const QString json = File("tour.json");
  fake::Device device(fake::Manner::Listen);
  FormWithFakes f(device.endpoint(std::chrono::milliseconds(1000)));
  f.form.json_file = json;
  f.form.button1_Click_1();
  ASSERT_TRUE(f.form.upload_running());
  EXPECT_FALSE(DropFile(f.form, File("tour.csv"), CentreOf(f.form, f.form.textBox1)));
  EXPECT_FALSE(f.form.setlist_file.has_value());
  ASSERT_TRUE(QTest::qWaitFor([&f] { return !f.form.upload_running(); }, 10'000));
  EXPECT_TRUE(DropFile(f.form, File("tour.csv"), CentreOf(f.form, f.form.textBox1)));
}

TEST_F(DropTest, ArgumentsActAsTheDialogsDo) {
  const QString tour = File("tour.csv"), settings = File("settings.xls");
  struct Case {
    const char* name;
    QStringList arguments;
    std::vector<QString> chosen;  // the dialogs' answers in the other window, setlist first
  };
  const Case cases[] = {
      {"setlist and settings", {tour, settings}, {tour, settings}},
      {"the setlist alone", {tour}, {tour}},
      {"relative to the working directory", {"tour.csv", "./settings.xls"}, {tour, settings}},
      {"only two are taken", {tour, settings, File("more.csv")}, {tour, settings}},
  };
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir_.path()));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormWithFakes named, chosen;
    named.form.PreselectFiles(c.arguments);
    chosen.files.answers = {c.chosen.begin(), c.chosen.end()};
    chosen.form.SelectSetlistFile->click();
    if (c.chosen.size() > 1) chosen.form.SelectSettingsFile->click();
    EXPECT_EQ(StateOf(named.form), StateOf(chosen.form));
  }
  QDir::setCurrent(before);

  // Names the dialog could not have returned: as cancelled dialogs, each with the name in
  // black, after the file that was taken.
  FormWithFakes g;
  g.form.PreselectFiles({dir_.filePath("gone.csv"), settings});
  EXPECT_FALSE(g.form.setlist_file.has_value());
  EXPECT_EQ(g.form.settings_file, settings);
  const QColor red(0xFF, 0, 0), black(0, 0, 0);
  const std::vector<std::pair<QString, QColor>> expected = {
      {"No Valid Setlist File Selected...", red}, {dir_.filePath("gone.csv"), black}};
  std::vector<std::pair<QString, QColor>> shown;
  for (const ConsoleLine& line : ConsoleLines(g.form.RunTextBox)) shown.emplace_back(line.text, line.color);
  EXPECT_EQ(shown, expected);

  FormWithFakes both;
  both.form.PreselectFiles({dir_.filePath("gone.csv"), dir_.filePath("gone.xls")});
  EXPECT_EQ(ConsoleLines(both.form.RunTextBox).size(), 4u);
}

}  // namespace
