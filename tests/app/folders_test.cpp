// The dialogs open in the folder of the last file chosen, setlist and settings each their own,
// also in a window made later (a restart); the two folders are all that is stored. The store
// is the test program's temporary one (app_environment.cpp), emptied before each test.
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/app/fakes.h"

namespace {

class FoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(shows_.isValid());
    Stored().clear();
  }
  static QSettings Stored() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Tallyform", "Tallyform");
  }
  QString File(const QString& folder, const QString& name) {
    QDir(shows_.path()).mkpath(folder);
    QFile file(shows_.filePath(folder + "/" + name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    return file.fileName();
  }
  QString Folder(const QString& folder) const { return shows_.filePath(folder); }
  // Opens both dialogs of a new window, cancelled, and returns the folders they opened in.
  static std::vector<QString> FoldersOfANewWindow() {
    FormWithFakes f;
    f.form.SelectSetlistFile->click();
    f.form.SelectSettingsFile->click();
    return f.files.asked_in;
  }
  QTemporaryDir shows_;
};

TEST_F(FoldersTest, EachDialogOpensWhereItsLastFileWasFound) {
  EXPECT_EQ(FoldersOfANewWindow(), std::vector<QString>({"", ""}));
  {
    FormWithFakes f;
    f.files.answers = {File("tour", "set.csv"), File("library", "settings.xls")};
    f.form.SelectSetlistFile->click();
    f.form.SelectSettingsFile->click();
    f.form.SelectSetlistFile->click();  // cancelled: what was remembered stays
    EXPECT_EQ(f.files.asked_in, std::vector<QString>({"", "", Folder("tour")}));
  }
  EXPECT_EQ(FoldersOfANewWindow(), std::vector<QString>({Folder("tour"), Folder("library")}));

  // A dropped file and a named one are chosen files too.
  {
    FormWithFakes f;
    EXPECT_TRUE(DropFile(f.form, File("encore", "set.txt"), f.form.textBox1->geometry().center()));
    f.form.PreselectFiles({File("encore", "set.txt"), File("stage", "settings.csv")});
  }
  EXPECT_EQ(FoldersOfANewWindow(), std::vector<QString>({Folder("encore"), Folder("stage")}));

  // Nothing else is stored; a folder that has gone leaves its dialog to start by itself.
  EXPECT_EQ(Stored().allKeys(), QStringList({"folders/setlist", "folders/settings"}));
  ASSERT_TRUE(QDir(Folder("encore")).removeRecursively());
  EXPECT_EQ(FoldersOfANewWindow(), std::vector<QString>({"", Folder("stage")}));
}

}  // namespace
