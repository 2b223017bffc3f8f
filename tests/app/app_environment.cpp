// One QApplication for the whole app test program, created before the first test. Offscreen,
// it gets the screens of screens.json: a desktop that holds the window first, then small ones.
// The settings the window stores go to a folder of the program's own, never the user's.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
      qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TALLYFORM_SOURCE_DIR "/tests/app/screens.json");
    }
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);
    settings_ = new QTemporaryDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_->path());
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
    delete settings_;
    settings_ = nullptr;
  }

 private:
  QApplication* app_ = nullptr;
  QTemporaryDir* settings_ = nullptr;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
