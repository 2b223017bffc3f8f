// The main window: its controls, the state its handlers share, and the handlers themselves.
// It owns the paths the user chose and the status console; the builds (builder/) and the
// upload (upload/) do the work and report through the window as their Console.
#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/background_upload.h"
#include "app/console_box.h"
#include "app/file_filters.h"
#include "app/ui_services.h"
#include "builder/build.h"
#include "console/console.h"
#include "upload/device_endpoint.h"

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

  // True while an upload runs; Upload and "Create Output" are not accepted then.
  bool upload_running() const { return upload_.running(); }

  // The builds over the chosen paths; true when one stopped. A success enables Upload.
  bool create_fromtext_file();
  bool create_index_file();
  bool create_hybrid_file();

  std::optional<QString> SelectFiles(const FilterList& filter, QLineEdit* txtbox);

  const QPixmap& background_image() const { return background_; }
  const DeviceEndpoint& endpoint() const { return endpoint_; }

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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void InitializeComponent();
  void LocalInit();
  void clear_console();
  BuildPaths build_paths() const;
  bool after_build(bool stopped);
  void hold_controls_for_upload(bool hold);

  MessageBoxes& message_boxes_;
  FileDialog& file_dialog_;
  UrlOpener& url_opener_;
  DeviceEndpoint endpoint_;
  std::unique_ptr<ConsoleBox> console_;
  QPixmap background_;
  std::array<bool, 5> held_enabled_{};
  BackgroundUpload upload_;  // last: stopped and joined before anything it reports to goes
};
