// The window's own handlers: start-up, the console, Exit, About, Help and View Setlists.
#include "app/my_form.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTextEdit>

#include "app/app_constants.h"
#include "app/text_codec.h"

// The built-in artwork lives in a static library; name it so the linker keeps it.
static void InitAppResources() { Q_INIT_RESOURCE(tallyform_app); }

MyForm::MyForm(MessageBoxes& message_boxes, FileDialog& file_dialog, UrlOpener& url_opener,
               DeviceEndpoint endpoint, QWidget* parent)
    : QWidget(parent),
      message_boxes_(message_boxes),
      file_dialog_(file_dialog),
      url_opener_(url_opener),
      endpoint_(std::move(endpoint)) {
  InitAppResources();
  error_occurred = false;
  InitializeComponent();
  console_ = std::make_unique<ConsoleBox>(RunTextBox);
  LocalInit();
}

MyForm::~MyForm() = default;

void MyForm::string_to_textbox(const std::string& str_in, COLORBOX box_text_color, bool clear) {
  console_->WriteLine(::str8_to_str16(str_in), box_text_color, clear);
}

void MyForm::string_to_textbox(const QString& str_in, QTextEdit* txtbox, COLORBOX box_text_color, bool clear) {
  if (txtbox == RunTextBox) {
    console_->WriteLine(str_in, box_text_color, clear);
  } else {
    ConsoleBox(txtbox).WriteLine(str_in, box_text_color, clear);
  }
}

const char* MyForm::GetLastErrorAsString(bool send_to_display) {
  return ::GetLastErrorAsString(*this, send_to_display);
}

void MyForm::str16_to_str8(const QString& str_in, std::string& outfile) { outfile = ::str16_to_str8(str_in); }

void MyForm::str8_to_str16(QString& outfile, std::string str_in) { outfile = ::str8_to_str16(str_in); }

void MyForm::clear_console() { console_->Clear(); }

void MyForm::BtnExit_Click() {
  if (message_boxes_.AskYesNo(QStringLiteral("Exit Application"), QStringLiteral("Are you sure you wish to quit?"))) {
    close();  // the last window: the event loop ends with it
  }
}

void MyForm::keyPressEvent(QKeyEvent* event) {
  // Space presses a focused button by itself; Enter does only in a dialog, so it is done here.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  auto* button = qobject_cast<QPushButton*>(focusWidget());
  if (enter && !event->isAutoRepeat() && button && isAncestorOf(button) && button->isEnabled() &&
      (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    button->click();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MyForm::aboutButton_Click() {
  QString version;
  str8_to_str16(version, git_version);
  message_boxes_.ShowInformation(QStringLiteral("About"), QString::fromLatin1(kAboutPrefix) + version);
}

void MyForm::helpButton_Click() { url_opener_.OpenUrl(QString::fromLatin1(kHelpUrl)); }

void MyForm::viewSetlists_Click() {
  url_opener_.OpenUrl(QStringLiteral("http://") + ::str8_to_str16(endpoint_.host));
}
