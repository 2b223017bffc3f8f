// The handlers of file selection and "Create Output". The choices and the work live in
// builder/; these only move paths between the boxes and those calls. A file dropped on the
// window or named on the command line takes the same steps as one chosen in the dialog.
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

#include <cstdio>

#include "app/my_form.h"
#include "app/preview_window.h"
#include "app/recent_folders.h"
#include "app/text_codec.h"
#include "builder/dispatch.h"

std::optional<QString> MyForm::SelectFiles(const FilterList& filter, QLineEdit* txtbox) {
  const FileRole role = txtbox == textBox2 ? FileRole::Settings : FileRole::Setlist;
  std::optional<QString> path = file_dialog_.OpenExistingFile(filter, RecentFolder(role));
  if (!path) return std::nullopt;
  show_chosen(*path, txtbox);
  RememberFolderOf(role, *path);
  return path;
}

void MyForm::show_chosen(const QString& path, QLineEdit* txtbox) {
  const QByteArray echo = path.toUtf8();
  std::printf("%s\n", echo.constData());
  std::fflush(stdout);
  txtbox->setText(path);
}

void MyForm::SelectSetlistFile_Click() {
  setlist_chosen(SelectFiles(checkBox1->isChecked() ? TextFilters() : SpreadsheetFilters(), textBox1));
}

void MyForm::SelectSettingsFile_Click() {
  settings_chosen(SelectFiles(checkBox1->isChecked() ? MixedFilters() : SpreadsheetFilters(), textBox2));
}

void MyForm::setlist_chosen(std::optional<QString> path) {
  clear_console();
  if (!path) return no_file_chosen(FileRole::Setlist);
  setlist_file = std::move(path);
  if (const auto json = DeriveJsonPath(::str16_to_str8(*setlist_file))) {
    json_file = ::str8_to_str16(*json);
    textBox3->setText(*json_file);
  }
  set_document_ready(false);
}

void MyForm::settings_chosen(std::optional<QString> path) {
  clear_console();
  if (!path) return no_file_chosen(FileRole::Settings);
  settings_file = std::move(path);
  set_document_ready(false);
}

void MyForm::no_file_chosen(FileRole role) {
  if (role == FileRole::Setlist) {
    setlist_file.reset();  // json_file keeps its value
    string_to_textbox(std::string("No Valid Setlist File Selected..."), RED, false);
    textBox1->clear();
    textBox3->clear();
  } else {
    settings_file.reset();
    string_to_textbox(std::string("No Valid Settings File Selected..."), RED, false);
    textBox2->clear();
  }
  set_document_ready(false);
}

void MyForm::take_file(FileRole role, const QString& path) {
  QLineEdit* box = role == FileRole::Setlist ? textBox1 : textBox2;
  show_chosen(path, box);
  RememberFolderOf(role, path);
  if (role == FileRole::Setlist) {
    setlist_chosen(path);
  } else {
    settings_chosen(path);
  }
}

void MyForm::PreselectFiles(const QStringList& arguments) {
  const std::vector<NamedFile> files = FilesFromArguments(arguments);
  for (const NamedFile& file : files) {
    if (file.usable) take_file(file.role, file.path);
  }
  // After the files taken, whose choice empties the console: as a dialog that returned
  // nothing, then the name that could not be used.
  for (const NamedFile& file : files) {
    if (file.usable) continue;
    no_file_chosen(file.role);
    string_to_textbox(::str16_to_str8(file.path), BLACK, false);
  }
}

std::optional<std::pair<FileRole, QString>> MyForm::drop_at(const QMimeData* mime, QPoint pos) const {
  // While an upload runs the selection buttons are held; so are drops.
  if (!mime || upload_running()) return std::nullopt;
  const std::optional<QString> path = DraggedFile(*mime);
  if (!path) return std::nullopt;
  const QWidget* under = childAt(pos);
  const auto within = [under](const QWidget* box) { return under && (under == box || box->isAncestorOf(under)); };
  const DropPlace place = within(textBox1) ? DropPlace::SetlistBox
                          : within(textBox2) ? DropPlace::SettingsBox
                                             : DropPlace::Elsewhere;
  const std::optional<FileRole> role = RoleForDrop(place, *path, setlist_file.has_value());
  if (!role) return std::nullopt;
  return std::make_pair(*role, *path);
}

void MyForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!drop_at(event->mimeData(), event->position().toPoint())) return event->ignore();
  if (event->possibleActions() & Qt::CopyAction) event->setDropAction(Qt::CopyAction);
  event->accept();
}

void MyForm::dragMoveEvent(QDragMoveEvent* event) {
  // Over a path box any file is taken, elsewhere only a table: the answer follows the cursor.
  if (!drop_at(event->mimeData(), event->position().toPoint())) return event->ignore();
  if (event->possibleActions() & Qt::CopyAction) event->setDropAction(Qt::CopyAction);
  event->accept();
}

void MyForm::dropEvent(QDropEvent* event) {
  const auto drop = drop_at(event->mimeData(), event->position().toPoint());
  if (!drop) return event->ignore();
  if (event->possibleActions() & Qt::CopyAction) event->setDropAction(Qt::CopyAction);
  event->accept();
  take_file(drop->first, drop->second);
}

void MyForm::checkBox1_CheckedChanged() {
  // Only the boxes are emptied: the chosen paths stay and "Create Output" still uses them.
  clear_console();
  textBox1->clear();
  textBox2->clear();
  textBox3->clear();
  set_document_ready(false);
}

BuildPaths MyForm::build_paths() const {
  return BuildPaths{::str16_to_str8(setlist_file.value_or(QString())),
                    ::str16_to_str8(settings_file.value_or(QString())),
                    ::str16_to_str8(json_file.value_or(QString()))};
}

bool MyForm::after_build(bool stopped, std::optional<BuildReport> report) {
  if (!stopped) {
    built_json_ = json_file;
    built_report_ = std::move(report);
    set_document_ready(true);
  }
  return stopped;
}

void MyForm::set_document_ready(bool ready) {
  upload_button->setEnabled(ready);
  previewButton->setEnabled(ready);
  // A preview of a document that is no longer the one to send does not stay on screen.
  if (!ready && preview_) preview_->hide();
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
  // The build's lines (one per unknown entry: thousands, at times) show once it has ended.
  ConsoleBox::Batch batch(*console_);
  clear_console();
  const BuildPaths paths = build_paths();
  settings_file_ext = ::str8_to_str16(FileExtension(paths.settings_file));
  setlist_file_ext = ::str8_to_str16(FileExtension(paths.setlist_file));
  if (preview_) preview_->hide();  // it showed the document this build replaces

  // The same dispatch as tallyform-cli. Upload is left as it was unless this build succeeds.
  BuildReport report;
  const BuildOutcome outcome = RunChosenBuild(paths, *this, &report);
  if (outcome == BuildOutcome::InvalidCombination) {
    clear_console();
    textBox1->clear();
    textBox2->clear();
    textBox3->clear();
    set_document_ready(false);
    string_to_textbox(std::string("Invalid combination of file-types ..."), RED, false);
    return;
  }
  after_build(outcome == BuildOutcome::Stopped, std::move(report));
}

void MyForm::previewButton_Click() {
  if (!built_json_) return;
  std::vector<PreviewRow> rows;
  std::string error;
  const std::string path = ::str16_to_str8(*built_json_);
  if (!ReadPreviewRows(path, built_report_ ? &*built_report_ : nullptr, rows, error)) {
    string_to_textbox(std::string("Error previewing json file..."), RED, false);
    string_to_textbox(path, BLACK, false);
    string_to_textbox(error, RED, false);
    return;
  }
  if (!preview_) preview_ = new PreviewWindow(this);
  preview_->ShowRows(*built_json_, std::move(rows));
}
