// "Create Output" in the window, offscreen, on a setlist of 10,000 entries of which only the
// first has a setting: the build and the console's 10,000 red lines, until the window has
// painted them. Prints the median of the clicks in milliseconds and the console's line count;
// the console echo goes to standard output (send it to /dev/null).
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/huge_page_heap.h"
#include "app/my_form.h"
#include "app/qt_ui_services.h"

namespace {
class NoBrowser : public UrlOpener {
 public:
  void OpenUrl(const QString&) override {}
};

QString Put(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
  QFile file(dir.filePath(name));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) std::exit(2);
  return file.fileName();
}
}  // namespace

int main(int argc, char** argv) {
  PlaceHeapOnHugePages();
  QApplication app(argc, argv);
  QTemporaryDir dir;
  QByteArray setlist = "opener\n";
  for (int i = 0; i < 10000; ++i) setlist += "missing " + QByteArray::number(i) + "\n";
  const QString setlist_path = Put(dir, "setlist.csv", setlist);
  const QString settings_path = Put(dir, "settings.csv", "opener,Opening Song,A12,capo 2,120\n");

  QtMessageBoxes message_boxes;
  QtFileDialog file_dialog;
  NoBrowser no_browser;
  MyForm form(message_boxes, file_dialog, no_browser);
  form.show();
  form.PreselectFiles({setlist_path, settings_path});
  QCoreApplication::processEvents();

  std::vector<double> ms;
  for (int round = 0; round < 7; ++round) {
    QElapsedTimer timer;
    timer.start();
    form.Run->click();
    form.RunTextBox->viewport()->repaint();  // the lines painted, not just stored
    QCoreApplication::processEvents();
    ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  std::fprintf(stderr, "Create Output, 10,000 unknown entries: %.1f ms (median of %zu), %d console lines\n",
               ms[ms.size() / 2], ms.size(), form.RunTextBox->document()->blockCount() - 1);
  return 0;
}
