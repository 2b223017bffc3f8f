// The main window: its controls, the state its handlers share, and the handlers themselves.
// It owns the paths the user chose, the status console and the preview window; the builds
// (builder/) and the upload (upload/) do the work and report through the window as their
// Console. Files also arrive dropped or named on the command line, as if chosen in a dialog.
#pragma once

#include <QMargins>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/background_upload.h"
#include "app/console_box.h"
#include "app/file_choice.h"
#include "app/file_filters.h"
#include "app/ui_services.h"
#include "builder/build.h"
#include "builder/build_report.h"
#include "console/console.h"
#include "upload/device_endpoint.h"

class ClientScroller;
class FocusRing;
class PreviewWindow;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTextEdit;

class MyForm : public QWidget, public Console {
  Q_OBJECT

 public:
  MyForm(MessageBoxes& message_boxes, FileDialog& file_dialog, UrlOpener& url_opener,
         DeviceEndpoint endpoint = kQb7Device, QWidget* parent = nullptr);
  ~MyForm() override;

  // The status console. The Console form takes UTF-8 and always writes to RunTextBox.
  void string_to_textbox(const std::string& str_in, COLORBOX box_text_color, bool clear) override;
  void string_to_textbox(const QString& str_in, QTextEdit* txtbox, COLORBOX box_text_color, bool clear);
  const char* GetLastErrorAsString(bool send_to_display);
  static void str16_to_str8(const QString& str_in, std::string& outfile);
  static void str8_to_str16(QString& outfile, std::string str_in);

  // Handlers, wired in InitializeComponent; public so tests can drive them directly.
  void BtnExit_Click();
  void aboutButton_Click();
  void helpButton_Click();
  void viewSetlists_Click();
  void richTextBox1_TextChanged() {}
  void label2_Click() {}
  void OutputFolder_Click() {}
  void SelectSetlistFile_Click();
  void SelectSettingsFile_Click();
  void checkBox1_CheckedChanged();
  void button1_Click();    // "Create Output"
  void button1_Click_1();  // "Upload": starts the upload and returns; the console follows it
  void previewButton_Click();  // shows the document the last build wrote, read back from disk

  // `tallyform SETLIST [SETTINGS]`: each named file as if chosen in its button's dialog.
  void PreselectFiles(const QStringList& arguments);

  // True while an upload runs; Upload and "Create Output" are not accepted then.
  bool upload_running() const { return upload_.running(); }

  // The builds over the chosen paths; true when one stopped. A success enables Upload.
  bool create_fromtext_file();
  bool create_index_file();
  bool create_hybrid_file();

  std::optional<QString> SelectFiles(const FilterList& filter, QLineEdit* txtbox);

  const QPixmap& background_image() const { return background_; }
  const DeviceEndpoint& endpoint() const { return endpoint_; }
  PreviewWindow* preview_window() const { return preview_; }
  const ClientScroller& scroller() const { return *scroller_; }
  const FocusRing& focus_ring() const { return *focus_ring_; }

  // The state the handlers share. Absent paths mean "nothing chosen", not "empty".
  std::optional<QString> setlist_file;
  std::optional<QString> settings_file;
  QString setlist_file_ext;
  QString settings_file_ext;
  std::optional<QString> json_file;
  bool error_occurred = false;

  // Controls, in the order they are created.
  QPushButton* SelectSetlistFile = nullptr;
  QPushButton* SelectSettingsFile = nullptr;
  QStatusBar* statusStrip1 = nullptr;
  QLineEdit* textBox1 = nullptr;
  QLineEdit* textBox2 = nullptr;
  QPushButton* BtnExit = nullptr;
  QTextEdit* RunTextBox = nullptr;
  QPushButton* Run = nullptr;
  QPushButton* aboutButton = nullptr;
  QLineEdit* textBox3 = nullptr;
  QLabel* label1 = nullptr;
  QLabel* label2 = nullptr;
  QLabel* label3 = nullptr;
  QLabel* label4 = nullptr;
  QPushButton* upload_button = nullptr;
  QPushButton* helpButton = nullptr;
  QPushButton* viewSetlists = nullptr;
  QCheckBox* checkBox1 = nullptr;
  QPushButton* previewButton = nullptr;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void InitializeComponent();
  void LocalInit();
  void clear_console();
  BuildPaths build_paths() const;
  bool after_build(bool stopped, std::optional<BuildReport> report = std::nullopt);
  void hold_controls_for_upload(bool hold);
  // Upload and Preview go together: both need a document the last build wrote.
  void set_document_ready(bool ready);
  void fit_to_screen();

  // A chosen file, from whichever way it came, and its consequences.
  void show_chosen(const QString& path, QLineEdit* txtbox);
  void setlist_chosen(std::optional<QString> path);
  void settings_chosen(std::optional<QString> path);
  void no_file_chosen(FileRole role);  // as a cancelled dialog: the path absent, said in red
  void take_file(FileRole role, const QString& path);
  std::optional<std::pair<FileRole, QString>> drop_at(const QMimeData* mime, QPoint pos) const;

  MessageBoxes& message_boxes_;
  FileDialog& file_dialog_;
  UrlOpener& url_opener_;
  DeviceEndpoint endpoint_;
  std::unique_ptr<ConsoleBox> console_;
  QPixmap background_;
  std::array<bool, 6> held_enabled_{};
  PreviewWindow* preview_ = nullptr;
  ClientScroller* scroller_ = nullptr;
  FocusRing* focus_ring_ = nullptr;
  std::optional<QString> built_json_;  // the document the last successful build wrote
  std::optional<BuildReport> built_report_;
  bool screen_watched_ = false;
  QMargins fitted_frame_;  // the window manager's frame the last fit allowed for
  BackgroundUpload upload_;  // last: stopped and joined before anything it reports to goes
};
