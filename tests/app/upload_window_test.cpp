// "Upload" in the window, against a fake device on loopback: the console follows the upload
// while it runs, nothing else starts meanwhile, the outcome lands in error_occurred, and the
// window can close in the middle of one.
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>

#include <chrono>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "tests/app/fakes.h"
#include "tests/support/fake_device.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

const QColor kBlue(0, 0, 0xFF), kRed(0xFF, 0, 0), kGreen(0, 0x80, 0);

// Runs the event loop until `done` holds; false if `limit` passed first.
template <typename Done>
bool RunEventsUntil(Done done, milliseconds limit = milliseconds(10'000)) {
  const auto deadline = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > deadline) return false;
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(milliseconds(2));
  }
  return true;
}

bool Shows(MyForm& form, const QString& text) {
  for (const ConsoleLine& line : ConsoleLines(form.RunTextBox)) {
    if (line.text == text) return true;
  }
  return false;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  QFile file(dir.filePath(name));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return file.fileName();
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<QPushButton*> HeldButtons(MyForm& form) {
  return {form.SelectSetlistFile, form.SelectSettingsFile, form.Run, form.upload_button};
}

const QByteArray kDocument = R"([{"song":"A","patch":"P","notes":"","bpm":"90"}])";

TEST(UploadWindow, TheAnswerEndsTheConsoleAndSetsTheOutcome) {
  struct Case {
    fake::Behaviour device;
    bool failed;
    std::vector<ConsoleLine> ending;  // after the five steps
  };
  const Case cases[] = {
      {fake::Answers(200), false,
       {{"QB-7 answered: HTTP/1.1 200 OK", kBlue}, {"Successful upload...ready to go!!", kGreen}}},
      {fake::Answers(500), true,
       {{"QB-7 answered: HTTP/1.1 500 Internal Server Error", kRed},
        {"Error sending .json file to QB-7!!", kRed},
        {"Verify network connection and try again.", kBlue}}},
  };
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString json = WriteFile(dir, "tour.json", kDocument);
  for (const Case& c : cases) {
    fake::Device device(c.device);
    FormWithFakes f(device.endpoint());
    f.form.json_file = json;
    f.form.error_occurred = !c.failed;
    f.form.upload_button->setEnabled(true);
    f.form.upload_button->click();
    for (QPushButton* button : HeldButtons(f.form)) EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    EXPECT_FALSE(f.form.checkBox1->isEnabled());

    ASSERT_TRUE(RunEventsUntil([&] { return !f.form.upload_running(); }));
    EXPECT_EQ(f.form.error_occurred, c.failed);
    for (QPushButton* button : HeldButtons(f.form)) EXPECT_TRUE(button->isEnabled()) << button->text().toStdString();
    EXPECT_TRUE(f.form.checkBox1->isEnabled());

    std::vector<ConsoleLine> expected{{"UPLOAD JSON FILE ...", kBlue},
                                      {"Initializing connection to QB-7!!", kBlue},
                                      {"Validating connection to QB-7?", kBlue},
                                      {"Connecting to QB-7!!", kBlue},
                                      {"Sending JSON file to QB-7!!", kBlue},
                                      {"Closing connection to QB-7!!", kBlue}};
    expected.insert(expected.end(), c.ending.begin(), c.ending.end());
    const auto lines = ConsoleLines(f.form.RunTextBox);
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].text, expected[i].text);
      EXPECT_EQ(lines[i].color, expected[i].color) << lines[i].text.toStdString();
    }
    EXPECT_EQ(fake::FormField(device.Received().at(0), "tblval"), "tour");
    EXPECT_EQ(fake::FormField(device.Received()[0], "jstring"), kDocument.toStdString());
  }
}

TEST(UploadWindow, LinesShowWhileItRunsAndNeitherUploadNorBuildStartsMeanwhile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString json = WriteFile(dir, "set.json", kDocument);
  fake::Device device(fake::Manner::Listen);  // never answers: the upload waits out its limit
  FormWithFakes f(device.endpoint(milliseconds(1500)));
  f.files.answers = {dir.filePath("set.csv"), WriteFile(dir, "settings.csv", "a,A,P,,90\n")};
  WriteFile(dir, "set.csv", "a\n");
  f.form.SelectSetlistFile->click();
  f.form.SelectSettingsFile->click();
  ASSERT_EQ(f.form.json_file, json);

  f.form.button1_Click_1();
  ASSERT_TRUE(RunEventsUntil([&] { return Shows(f.form, "Sending JSON file to QB-7!!"); }));
  ASSERT_TRUE(f.form.upload_running());
  f.form.button1_Click_1();  // a second press
  f.form.button1_Click();    // a build would rewrite the document being sent
  ASSERT_TRUE(RunEventsUntil([&] { return !f.form.upload_running(); }));

  EXPECT_EQ(ReadFile(json), kDocument);
  const auto lines = ConsoleLines(f.form.RunTextBox);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().text, "Successful upload...ready to go!!");
  const auto upload_starts = std::count_if(lines.begin(), lines.end(),
                                           [](const ConsoleLine& l) { return l.text == "UPLOAD JSON FILE ..."; });
  EXPECT_EQ(upload_starts, 1);
  EXPECT_FALSE(Shows(f.form, "Building JSON file ..."));
}

TEST(UploadWindow, ClosingTheWindowMidUploadStopsItPromptly) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString json = WriteFile(dir, "late.json", kDocument);
  fake::Device device(fake::Manner::Listen);  // never answers: the upload would wait 20 s
  auto f = std::make_unique<FormWithFakes>(device.endpoint(milliseconds(20'000)));
  f->form.json_file = json;
  f->form.show();
  f->form.button1_Click_1();
  ASSERT_TRUE(RunEventsUntil([&] { return Shows(f->form, "Sending JSON file to QB-7!!"); }));

  const auto start = Clock::now();
  f->form.close();
  f.reset();
  EXPECT_LT(Clock::now() - start, milliseconds(5000));  // its own limit is 20 s
  QCoreApplication::processEvents();  // nothing of the stopped upload is left to deliver
}

TEST(UploadWindow, NoNameToUploadLeavesTheOutcomeAndTheButtonAlone) {
  FormWithFakes f;
  f.form.error_occurred = true;
  f.form.upload_button->click();  // disabled: nothing happens
  EXPECT_FALSE(f.form.upload_running());
  EXPECT_TRUE(f.form.RunTextBox->toPlainText().isEmpty());

  f.form.button1_Click_1();  // no JSON path: the name cannot be derived
  ASSERT_TRUE(RunEventsUntil([&] { return !f.form.upload_running(); }));
  EXPECT_TRUE(f.form.error_occurred);
  EXPECT_FALSE(f.form.upload_button->isEnabled());
  const auto lines = ConsoleLines(f.form.RunTextBox);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "Error creating filename ...611");
  EXPECT_EQ(lines[0].color, kRed);
}

}  // namespace
