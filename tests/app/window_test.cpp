// What the user sees right after start-up: every control in place, the start state, the
// artwork (from the working directory or built in), and a screenshot for the README.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextEdit>

#include <gtest/gtest.h>

#include "tests/app/fakes.h"

namespace {

struct Expected {
  QWidget* widget;
  const char* name;
  QString text;
  QRect rect;
};

QString TextOf(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* t = qobject_cast<QTextEdit*>(w)) return t->toPlainText();
  return QString();
}

// Runs the body with the working directory switched to `dir`, as the program finds its files there.
template <typename Body>
void InDirectory(const QString& dir, Body body) {
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir));
  body();
  QDir::setCurrent(before);
}

TEST(WindowTest, EveryControlHasItsTextAndPlace) {
  FormWithFakes f;
  MyForm& w = f.form;
  const std::vector<Expected> fixed = {
      {w.SelectSetlistFile, "SelectSetlistFile", "Select Setlist", {1106, 196, 118, 35}},
      {w.SelectSettingsFile, "SelectSettingsFile", "Select Settings", {1106, 376, 118, 35}},
      {w.statusStrip1, "statusStrip1", "", {0, 692, 1422, 22}},
      {w.textBox1, "textBox1", "", {74, 196, 992, 22}},
      {w.textBox2, "textBox2", "", {74, 376, 992, 22}},
      {w.BtnExit, "BtnExit", "Exit Application", {1258, 598, 118, 35}},
      {w.RunTextBox, "RunTextBox", "", {74, 482, 992, 151}},
      {w.Run, "Run", "Create Output", {1106, 482, 118, 35}},
      {w.aboutButton, "aboutButton", "About", {1258, 482, 118, 35}},
      {w.textBox3, "textBox3", "", {74, 264, 992, 22}},
      {w.upload_button, "upload_button", "Upload", {1106, 540, 118, 35}},
      {w.helpButton, "helpButton", "Help", {1258, 540, 118, 35}},
      {w.viewSetlists, "viewSetlists", "View Setlists", {1106, 598, 118, 35}},
  };
  for (const Expected& e : fixed) {
    SCOPED_TRACE(e.name);
    ASSERT_NE(e.widget, nullptr);
    EXPECT_EQ(e.widget->parentWidget(), &w);
    EXPECT_EQ(e.widget->objectName(), QString::fromLatin1(e.name));
    EXPECT_EQ(TextOf(e.widget), e.text);
    EXPECT_EQ(e.widget->geometry(), e.rect);
  }
  // Sized to their text: the laid-out place, at least the laid-out size.
  const std::vector<Expected> sized = {
      {w.label1, "label1", "Setlist to process", {504, 169, 150, 24}},
      {w.label2, "label2", "JSON file", {504, 237, 88, 24}},
      {w.label3, "label3", "Settings file", {504, 349, 104, 24}},
      {w.label4, "label4", "Output status", {504, 455, 118, 24}},
      {w.checkBox1, "checkBox1", "Use .csv files", {1258, 210, 113, 21}},
  };
  for (const Expected& e : sized) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(TextOf(e.widget), e.text);
    EXPECT_EQ(e.widget->pos(), e.rect.topLeft());
    EXPECT_GE(e.widget->width(), e.rect.width());
    EXPECT_GE(e.widget->height(), e.rect.height());
    EXPECT_GE(e.widget->width(), e.widget->sizeHint().width());  // the whole text shows
  }
}

TEST(WindowTest, StartsEmptyWithUploadDisabled) {
  FormWithFakes f;
  MyForm& w = f.form;
  EXPECT_FALSE(w.upload_button->isEnabled());
  EXPECT_FALSE(w.checkBox1->isChecked());
  EXPECT_TRUE(w.textBox1->text().isEmpty());
  EXPECT_TRUE(w.textBox2->text().isEmpty());
  EXPECT_TRUE(w.textBox3->text().isEmpty());
  EXPECT_TRUE(w.RunTextBox->toPlainText().isEmpty());
  EXPECT_FALSE(w.setlist_file.has_value());
  EXPECT_FALSE(w.settings_file.has_value());
  EXPECT_FALSE(w.json_file.has_value());
  EXPECT_FALSE(w.error_occurred);
  for (QLineEdit* box : {w.textBox1, w.textBox2, w.textBox3}) EXPECT_TRUE(box->isReadOnly());
  EXPECT_TRUE(w.RunTextBox->isReadOnly());
  // Path boxes in the desktop's grey; the JSON path in its link colour.
  EXPECT_EQ(w.textBox1->palette().color(QPalette::Text), QColor(0xA0, 0xA0, 0xA0));
  EXPECT_EQ(w.textBox2->palette().color(QPalette::Text), QColor(0xA0, 0xA0, 0xA0));
  EXPECT_EQ(w.textBox3->palette().color(QPalette::Text), QColor(0x00, 0x66, 0xCC));
}

TEST(WindowTest, FixedSizeTitleAndLabelFont) {
  FormWithFakes f;
  MyForm& w = f.form;
  EXPECT_EQ(w.windowTitle(), "Tallyform");
  EXPECT_EQ(w.size(), QSize(1422, 714));
  EXPECT_EQ(w.minimumSize(), QSize(1422, 714));
  EXPECT_EQ(w.maximumSize(), QSize(1422, 714));
  EXPECT_EQ(w.palette().color(QPalette::Window), QColor(0x99, 0xB4, 0xD1));
  const bool has_ms_sans = QFontDatabase::families().contains("Microsoft Sans Serif");
  for (QLabel* label : {w.label1, w.label2, w.label3, w.label4}) {
    SCOPED_TRACE(label->objectName().toStdString());
    EXPECT_TRUE(label->font().italic());
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 10.8);
    if (has_ms_sans) {
      EXPECT_EQ(label->font().family(), "Microsoft Sans Serif");
    }
    EXPECT_TRUE(QFontInfo(label->font()).italic());
  }
  // Every other control keeps the window's font.
  EXPECT_FALSE(w.Run->font().italic());
  EXPECT_FALSE(w.checkBox1->font().italic());
}

TEST(WindowTest, TabOrderFollowsTheLaidOutIndices) {
  FormWithFakes f;
  MyForm& w = f.form;
  const std::vector<QWidget*> expected = {w.SelectSetlistFile, w.SelectSettingsFile, w.textBox1,    w.textBox2,
                                          w.BtnExit,           w.RunTextBox,         w.Run,         w.aboutButton,
                                          w.textBox3,          w.upload_button,      w.helpButton, w.viewSetlists,
                                          w.checkBox1};
  std::vector<QWidget*> seen;
  QWidget* at = w.SelectSetlistFile;
  do {
    if (std::find(expected.begin(), expected.end(), at) != expected.end()) seen.push_back(at);
    at = at->nextInFocusChain();
  } while (at != w.SelectSetlistFile && seen.size() <= expected.size());
  EXPECT_EQ(seen, expected);
}

TEST(WindowTest, ArtworkFromTheWorkingDirectoryWins) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QImage logo(40, 30, QImage::Format_ARGB32);
  logo.fill(QColor(200, 10, 10));
  ASSERT_TRUE(logo.save(dir.filePath("logo.png")));
  ASSERT_TRUE(QFile::copy(TALLYFORM_SOURCE_DIR "/app/resources/setlist.ico", dir.filePath("setlist.ico")));
  InDirectory(dir.path(), [] {
    FormWithFakes f;
    EXPECT_EQ(f.form.background_image().size(), QSize(40, 30));
    EXPECT_FALSE(f.form.windowIcon().availableSizes().isEmpty());
  });
}

TEST(WindowTest, MissingOrBrokenArtworkFallsBackToTheBuiltInCopies) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  InDirectory(empty.path(), [] {
    FormWithFakes f;
    EXPECT_EQ(f.form.background_image().size(), QSize(720, 150));
    EXPECT_FALSE(f.form.windowIcon().availableSizes().isEmpty());
  });

  QTemporaryDir broken;
  ASSERT_TRUE(broken.isValid());
  for (const char* name : {"logo.png", "setlist.ico"}) {
    QFile file(broken.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an image at all");
  }
  InDirectory(broken.path(), [] {
    FormWithFakes f;
    EXPECT_EQ(f.form.background_image().size(), QSize(720, 150));
    EXPECT_FALSE(f.form.windowIcon().availableSizes().isEmpty());
  });
}

TEST(WindowTest, BackgroundDrawnOnceAtNaturalSizeTopLeft) {
  FormWithFakes f;
  f.form.show();
  const QImage shot = f.form.grab().toImage();
  const QImage logo = f.form.background_image().toImage();
  ASSERT_FALSE(logo.isNull());
  const QColor caption(0x99, 0xB4, 0xD1);
  // An opaque logo pixel shows unchanged where the logo lies, and the caption colour one
  // logo-width to the right (not tiled) and at the same spot scaled up (not stretched).
  QPoint opaque(-1, -1);
  for (int y = 0; y < logo.height() && opaque.x() < 0; ++y)
    for (int x = 0; x < logo.width(); ++x)
      if (qAlpha(logo.pixel(x, y)) == 255 && QColor(logo.pixel(x, y)) != caption) {
        opaque = QPoint(x, y);
        break;
      }
  ASSERT_GE(opaque.x(), 0);
  EXPECT_EQ(QColor(shot.pixel(opaque)), QColor(logo.pixel(opaque)));
  EXPECT_EQ(QColor(shot.pixel(opaque + QPoint(logo.width(), 0))), caption);
  EXPECT_EQ(QColor(shot.pixel(1400, 100)), caption);
}

// Not a check: leaves the picture of the window that the README shows.
TEST(WindowTest, SavesAScreenshot) {
  FormWithFakes f;
  f.form.show();
  const QString path = QStringLiteral(TALLYFORM_BINARY_DIR "/window.png");
  EXPECT_TRUE(f.form.grab().save(path));
  EXPECT_EQ(QImage(path).size(), QSize(1422, 714));
}

}  // namespace
