// "Preview": the document the last build wrote, read back from disk, with the entries that
// had no setting in red at their place and the tempo warnings beside their records; enabled
// only while Upload would send that document; an unreadable document is a console line.
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/preview_window.h"
#include "tests/app/fakes.h"

namespace {

const QColor kBlack(0, 0, 0), kRed(0xFF, 0, 0);

QString Put(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  QFile file(dir.filePath(name));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return file.fileName();
}

// Each row as "number|song|patch|notes|bpm|warning", a red cell marked with a "*" after it.
std::vector<QString> Shown(const PreviewWindow& preview) {
  const QAbstractItemModel& model = preview.model();
  std::vector<QString> rows;
  for (int r = 0; r < model.rowCount(); ++r) {
    QString row = model.headerData(r, Qt::Vertical).toString();
    for (int c = 0; c < model.columnCount(); ++c) {
      const QModelIndex index = model.index(r, c);
      row += "|" + index.data().toString();
      if (index.data(Qt::ForegroundRole).value<QColor>() == kRed) row += "*";
    }
    rows.push_back(row);
  }
  return rows;
}

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    setlist_ = Put(dir_, "show.csv", "Fast\nmissing\nslow\n");
    settings_ = Put(dir_, "settings.csv", "fast,Fast One,F1,,quick\nslow,Slow One,S1,\"a, b\",99999999999\n"
                                          "slow,Slow Two,S2,,60\n");
    json_ = dir_.filePath("show.json");
  }
  void Build(FormWithFakes& f) {
    f.files.answers = {setlist_, settings_};
    f.form.SelectSetlistFile->click();
    f.form.SelectSettingsFile->click();
    f.form.Run->click();
  }
  QTemporaryDir dir_;
  QString setlist_, settings_, json_;
};

TEST_F(PreviewTest, ListsTheRecordsWithTheUnmatchedEntriesAndTempoWarningsInPlace) {
  FormWithFakes f;
  EXPECT_EQ(f.form.previewButton->geometry(), QRect(1258, 376, 118, 35));  // beside "Select Settings"
  EXPECT_EQ(f.form.SelectSettingsFile->nextInFocusChain(), f.form.previewButton);
  EXPECT_FALSE(f.form.previewButton->isEnabled());
  Build(f);
  ASSERT_TRUE(f.form.previewButton->isEnabled());
  f.form.previewButton->click();
  PreviewWindow* preview = f.form.preview_window();
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(preview->isVisible());
  EXPECT_EQ(Shown(*preview), std::vector<QString>({"1|Fast One|F1|||Invalid tempo for: fast*",
                                                   "|missing*|*|*|*|No setting for: missing*",
                                                   "2|Slow One|S1|a, b||Invalid tempo for: slow*",
                                                   "3|Slow Two|S2||60|"}));
  EXPECT_FALSE(preview->model().flags(preview->model().index(0, 0)) & Qt::ItemIsEditable);
  EXPECT_LT(preview->minimumSize().width(), preview->maximumSize().width());  // resizable
  EXPECT_EQ(ConsoleLines(f.form.RunTextBox).back().text, json_);               // Preview printed nothing
}

TEST_F(PreviewTest, ShowsTheDocumentOnDiskOrSaysWhyItCannot) {
  struct Case {
    const char* name;
    QByteArray document;  // written over the built one; null: the file is removed
    std::vector<QString> shown;
    QString reason;  // the console's last line when it cannot be shown
  };
  const Case cases[] = {
      {"changed since the build: its records alone", R"([{"song":"Edited","patch":"E1","notes":"","bpm":"70"}])",
       {"1|Edited|E1||70|"}, ""},
      {"not JSON", "[{\"song\":", {}, "it is not JSON: "},
      {"not an array", R"({"song":"A"})", {}, "it holds an object, not a JSON array"},
      {"gone", QByteArray(), {}, "No such file or directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormWithFakes f;
    Build(f);
    if (c.document.isNull()) {
      QFile::remove(json_);
    } else {
      Put(dir_, "show.json", c.document);
    }
    const size_t lines_before = ConsoleLines(f.form.RunTextBox).size();
    f.form.previewButton->click();
    const auto lines = ConsoleLines(f.form.RunTextBox);
    if (c.reason.isEmpty()) {
      ASSERT_NE(f.form.preview_window(), nullptr);
      EXPECT_EQ(Shown(*f.form.preview_window()), c.shown);
      EXPECT_EQ(lines.size(), lines_before);
      continue;
    }
    EXPECT_TRUE(f.form.preview_window() == nullptr || !f.form.preview_window()->isVisible());
    ASSERT_EQ(lines.size(), lines_before + 3);
    EXPECT_EQ(lines[lines_before].text, "Error previewing json file...");
    EXPECT_EQ(lines[lines_before].color, kRed);
    EXPECT_EQ(lines[lines_before + 1].text, json_);
    EXPECT_EQ(lines[lines_before + 1].color, kBlack);
    EXPECT_TRUE(lines[lines_before + 2].text.startsWith(c.reason)) << lines[lines_before + 2].text.toStdString();
    EXPECT_EQ(lines[lines_before + 2].color, kRed);
    EXPECT_TRUE(f.form.previewButton->isEnabled());  // as Upload: the user may rebuild or retry
  }
}

TEST_F(PreviewTest, EnabledOnlyWhileUploadWouldSendTheBuiltDocument) {
  FormWithFakes failed;
  failed.files.answers = {setlist_, Put(dir_, "empty.csv", "")};
  failed.form.SelectSetlistFile->click();
  failed.form.SelectSettingsFile->click();
  failed.form.Run->click();
  EXPECT_FALSE(failed.form.upload_button->isEnabled());
  EXPECT_FALSE(failed.form.previewButton->isEnabled());

  using Action = void (*)(FormWithFakes&, const QString& setlist);
  const std::pair<const char*, Action> disabling[] = {
      {"Select Setlist", [](FormWithFakes& f, const QString& s) { f.files.answers = {s}; f.form.SelectSetlistFile->click(); }},
      {"Select Settings, cancelled", [](FormWithFakes& f, const QString&) { f.form.SelectSettingsFile->click(); }},
      {"Use .csv files", [](FormWithFakes& f, const QString&) { f.form.checkBox1->click(); }},
      {"an invalid combination", [](FormWithFakes& f, const QString&) {
         f.form.setlist_file = QString("/shows/tour.xls");
         f.form.Run->click();
       }},
      {"a drop", [](FormWithFakes& f, const QString& s) { DropFile(f.form, s, f.form.textBox2->geometry().center()); }},
  };
  for (const auto& [name, action] : disabling) {
    SCOPED_TRACE(name);
    FormWithFakes f;
    Build(f);
    f.form.previewButton->click();
    ASSERT_TRUE(f.form.preview_window()->isVisible());
    action(f, setlist_);
    EXPECT_FALSE(f.form.upload_button->isEnabled());
    EXPECT_FALSE(f.form.previewButton->isEnabled());
    EXPECT_FALSE(f.form.preview_window()->isVisible());  // it showed a document no longer to be sent
  }
}

// Not a check: leaves the picture of the preview that the README shows, of the examples
// dropped on the window as a performer would.
TEST(PreviewShot, SavesAScreenshot) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  FormWithFakes f;
  f.form.show();
  for (const char* name : {"setlist.csv", "settings.csv"}) {
    const QString copy = dir.filePath(name);
    ASSERT_TRUE(QFile::copy(QString(TALLYFORM_SOURCE_DIR "/examples/") + name, copy));
    ASSERT_TRUE(DropFile(f.form, copy, QPoint(300, 440)));
  }
  f.form.Run->click();
  f.form.previewButton->click();
  PreviewWindow* preview = f.form.preview_window();
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->model().rowCount(), 6);
  const QString path = QStringLiteral(TALLYFORM_BINARY_DIR "/preview.png");
  EXPECT_TRUE(preview->grab().save(path));
}

}  // namespace
