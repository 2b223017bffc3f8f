// The Upload handler. The upload runs on a worker thread (BackgroundUpload) so the window
// repaints and the console shows each step as it happens; meanwhile the controls that start
// work or change the chosen files are held disabled, as they were while the upload blocked.
#include <QCheckBox>
#include <QPushButton>

#include <iterator>

#include "app/my_form.h"
#include "app/text_codec.h"

void MyForm::button1_Click_1() {
  if (upload_running()) return;
  hold_controls_for_upload(true);
  upload_.Start(
      ::str16_to_str8(json_file.value_or(QString())), endpoint_,
      [this](const std::string& line, COLORBOX color, bool clear) { string_to_textbox(line, color, clear); },
      [this](UploadOutcome outcome) {
        // No name, no upload: the outcome of the last one stands.
        if (outcome != UploadOutcome::NotNamed) error_occurred = outcome == UploadOutcome::Failed;
        hold_controls_for_upload(false);
      });
}

void MyForm::hold_controls_for_upload(bool hold) {
  // Upload keeps its state whatever the outcome, so the user may retry.
  QWidget* const held[] = {SelectSetlistFile, SelectSettingsFile, checkBox1, Run, upload_button, previewButton};
  static_assert(std::size(held) == std::tuple_size_v<decltype(held_enabled_)>);
  for (size_t i = 0; i < std::size(held); ++i) {
    if (hold) held_enabled_[i] = held[i]->isEnabled();
    held[i]->setEnabled(hold ? false : held_enabled_[i]);
  }
}
