// Exit, About, Help and View Setlists: the questions asked, the texts shown, the addresses opened.
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "tests/app/fakes.h"

namespace {

TEST(HandlersTest, ExitAnsweredNoLeavesEverythingAsItWas) {
  FormWithFakes f;
  f.form.show();
  f.files.answers = {QString("/shows/tour.csv")};
  f.form.SelectSetlistFile_Click();
  f.form.string_to_textbox(std::string("a line"), BLUE, false);
  const QString console_before = f.form.RunTextBox->toPlainText();

  f.boxes.answer_yes = false;
  f.form.BtnExit->click();

  ASSERT_EQ(f.boxes.questions.size(), 1u);
  EXPECT_EQ(f.boxes.questions[0].first, "Exit Application");
  EXPECT_EQ(f.boxes.questions[0].second, "Are you sure you wish to quit?");
  EXPECT_TRUE(f.form.isVisible());
  EXPECT_EQ(f.form.setlist_file, QString("/shows/tour.csv"));
  EXPECT_EQ(f.form.textBox1->text(), "/shows/tour.csv");
  EXPECT_EQ(f.form.RunTextBox->toPlainText(), console_before);
}

TEST(HandlersTest, ExitAnsweredYesClosesTheWindow) {
  FormWithFakes f;
  f.form.show();
  f.boxes.answer_yes = true;
  f.form.BtnExit->click();
  EXPECT_EQ(f.boxes.questions.size(), 1u);
  EXPECT_FALSE(f.form.isVisible());
}

TEST(HandlersTest, AboutShowsTheVersion) {
  FormWithFakes f;
  f.form.aboutButton->click();
  ASSERT_EQ(f.boxes.information.size(), 1u);
  EXPECT_EQ(f.boxes.information[0].first, "About");
  EXPECT_EQ(f.boxes.information[0].second, "QB-7 Setup Application, Version v1.26");
  EXPECT_TRUE(f.urls.opened.empty());
}

TEST(HandlersTest, HelpAndViewSetlistsHandTheirAddressesToTheBrowser) {
  FormWithFakes f(kQb7Device);
  f.form.helpButton->click();
  f.form.viewSetlists->click();
  ASSERT_EQ(f.urls.opened.size(), 2u);
  EXPECT_EQ(f.urls.opened[0], "https://www.example.com/qb7/help");
  EXPECT_EQ(f.urls.opened[1], "http://192.168.4.1");
  EXPECT_TRUE(f.form.RunTextBox->toPlainText().isEmpty());
}

TEST(HandlersTest, ViewSetlistsFollowsTheEndpointTheWindowWasGiven) {
  FormWithFakes f(DeviceEndpoint{"127.0.0.1", 8080, "/save"});
  f.form.viewSetlists->click();
  ASSERT_EQ(f.urls.opened.size(), 1u);
  EXPECT_EQ(f.urls.opened[0], "http://127.0.0.1");
  EXPECT_EQ(MyForm(f.boxes, f.files, f.urls).endpoint().host, "192.168.4.1");
}

}  // namespace
