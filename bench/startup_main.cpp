// Window start-up: constructs the application and the main window with the real message
// boxes and file dialog (neither is used before a click) and a browser opener that does
// nothing, shows the window, runs the event loop until it is exposed, then quits. Prints
// the in-process milliseconds; bench/run times the whole process.
#include <QApplication>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cstdio>

#include "app/huge_page_heap.h"
#include "app/my_form.h"
#include "app/qt_ui_services.h"

namespace {
class NoBrowser : public UrlOpener {
 public:
  void OpenUrl(const QString&) override {}
};
}  // namespace

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  PlaceHeapOnHugePages();
  QApplication app(argc, argv);
  QtMessageBoxes message_boxes;
  QtFileDialog file_dialog;
  NoBrowser no_browser;
  MyForm form(message_boxes, file_dialog, no_browser);
  form.show();
  // Polls until the platform reports the window exposed; the first paint has then been
  // queued and the zero-timer below runs after it.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (form.isVisible() && form.windowHandle() && form.windowHandle()->isExposed()) {
      poll.stop();
      QTimer::singleShot(0, &app, &QApplication::quit);
    }
  });
  poll.start(0);
  QTimer::singleShot(5000, &app, [&] { app.exit(1); });  // never hang a benchmark run
  const int rc = app.exec();
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("start-up %.1f ms%s\n", ms, rc ? " (window never shown)" : "");
  return rc;
}
