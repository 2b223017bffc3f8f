// Tallyform: the setlist window. No command line of its own (tallyform-cli has one).
#include <QApplication>

#include "app/my_form.h"
#include "app/qt_ui_services.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QtMessageBoxes message_boxes;
  QtFileDialog file_dialog;
  QtUrlOpener url_opener;
  MyForm form(message_boxes, file_dialog, url_opener);
  form.show();
  app.exec();
  return 0;
}
