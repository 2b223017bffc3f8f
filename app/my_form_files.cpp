// The handlers of file selection and "Create Output". The choices and the work live in
// builder/; these only move paths between the boxes and those calls.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

#include <cstdio>

#include "app/my_form.h"
#include "app/text_codec.h"
#include "builder/dispatch.h"

std::optional<QString> MyForm::SelectFiles(const FilterList& filter, QLineEdit* txtbox) {
  std::optional<QString> path = file_dialog_.OpenExistingFile(filter);
  if (!path) return std::nullopt;
  const QByteArray echo = path->toUtf8();
  std::printf("%s\n", echo.constData());
  std::fflush(stdout);
  txtbox->setText(*path);
  return path;
}

void MyForm::SelectSetlistFile_Click() {
  setlist_file = SelectFiles(checkBox1->isChecked() ? TextFilters() : SpreadsheetFilters(), textBox1);
  clear_console();
  if (!setlist_file) {
    string_to_textbox(std::string("No Valid Setlist File Selected..."), RED, false);
    textBox1->clear();
    textBox3->clear();
  } else if (const auto json = DeriveJsonPath(::str16_to_str8(*setlist_file))) {
    json_file = ::str8_to_str16(*json);
    textBox3->setText(*json_file);
  }
  upload_button->setEnabled(false);
}

void MyForm::SelectSettingsFile_Click() {
  settings_file = SelectFiles(checkBox1->isChecked() ? MixedFilters() : SpreadsheetFilters(), textBox2);
  clear_console();
  if (!settings_file) {
    string_to_textbox(std::string("No Valid Settings File Selected..."), RED, false);
    textBox2->clear();
  }
  upload_button->setEnabled(false);
}

void MyForm::checkBox1_CheckedChanged() {
  // Only the boxes are emptied: the chosen paths stay and "Create Output" still uses them.
  clear_console();
  textBox1->clear();
  textBox2->clear();
  textBox3->clear();
  upload_button->setEnabled(false);
}

BuildPaths MyForm::build_paths() const {
  return BuildPaths{::str16_to_str8(setlist_file.value_or(QString())),
                    ::str16_to_str8(settings_file.value_or(QString())),
                    ::str16_to_str8(json_file.value_or(QString()))};
}

bool MyForm::after_build(bool stopped) {
  if (!stopped) upload_button->setEnabled(true);
  return stopped;
}

bool MyForm::create_fromtext_file() { return after_build(::create_fromtext_file(build_paths(), *this)); }
bool MyForm::create_index_file() { return after_build(::create_index_file(build_paths(), *this)); }
bool MyForm::create_hybrid_file() { return after_build(::create_hybrid_file(build_paths(), *this)); }

void MyForm::button1_Click() {
  if (upload_running()) return;  // the build would rewrite the document being sent
  if (!settings_file || !setlist_file) {
    string_to_textbox(std::string("Select files to be processed ..."), RED, false);
    return;
  }
  clear_console();
  const BuildPaths paths = build_paths();
  settings_file_ext = ::str8_to_str16(FileExtension(paths.settings_file));
  setlist_file_ext = ::str8_to_str16(FileExtension(paths.setlist_file));

  // The same dispatch as tallyform-cli. Upload is left as it was unless this build succeeds.
  const BuildOutcome outcome = RunChosenBuild(paths, *this);
  if (outcome == BuildOutcome::InvalidCombination) {
    clear_console();
    textBox1->clear();
    textBox2->clear();
    textBox3->clear();
    upload_button->setEnabled(false);
    string_to_textbox(std::string("Invalid combination of file-types ..."), RED, false);
    return;
  }
  after_build(outcome == BuildOutcome::Stopped);
}
