// Tallyform: the setlist window. `tallyform [SETLIST [SETTINGS]]` starts with those files
// chosen, as the desktop does for files opened with it; tallyform-cli has the full command line.
#include <QApplication>

#include <cstdio>

#include "app/huge_page_heap.h"
#include "app/my_form.h"
#include "app/qt_ui_services.h"

int main(int argc, char** argv) {
  PlaceHeapOnHugePages();
  QApplication app(argc, argv);
  QtMessageBoxes message_boxes;
  QtFileDialog file_dialog;
  QtUrlOpener url_opener;
  MyForm form(message_boxes, file_dialog, url_opener);
  const QStringList files = QApplication::arguments().mid(1);
  if (files.size() > 2) {
    std::fprintf(stderr, "tallyform: a setlist and a settings file are taken; ignored: %s\n",
                 files.mid(2).join(QStringLiteral(" ")).toLocal8Bit().constData());
  }
  form.PreselectFiles(files);
  form.show();
  app.exec();
  return 0;
}
