// Stand-ins for the desktop: scripted answers, recorded requests, never a real dialog or browser.
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QString>
#include <QTextBlock>
#include <QTextEdit>
#include <QUrl>

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/my_form.h"
#include "app/ui_services.h"

// QStrings in test failures as their text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

struct FakeMessageBoxes : MessageBoxes {
  bool answer_yes = false;
  std::vector<std::pair<QString, QString>> questions;     // caption, text
  std::vector<std::pair<QString, QString>> information;  // caption, text
  bool AskYesNo(const QString& caption, const QString& text) override {
    questions.emplace_back(caption, text);
    return answer_yes;
  }
  void ShowInformation(const QString& caption, const QString& text) override {
    information.emplace_back(caption, text);
  }
};

struct FakeFileDialog : FileDialog {
  std::deque<QString> answers;  // a null QString, or an empty queue, answers "cancelled"
  std::vector<FilterList> asked_with;
  std::vector<QString> asked_in;  // the folder each dialog opened in
  std::optional<QString> OpenExistingFile(const FilterList& filters, const QString& folder) override {
    asked_with.push_back(filters);
    asked_in.push_back(folder);
    if (answers.empty()) return std::nullopt;
    const QString answer = answers.front();
    answers.pop_front();
    if (answer.isNull()) return std::nullopt;
    return answer;
  }
};

struct FakeUrlOpener : UrlOpener {
  std::vector<QString> opened;
  void OpenUrl(const QString& url) override { opened.push_back(url); }
};

// Loopback with nothing listening: a window made for a test can never reach the device.
inline const DeviceEndpoint kLoopbackNobody{"127.0.0.1", 9, "/save"};

// A window with fakes. Tests that check the device's address pass kQb7Device and contact
// nothing: its URL only reaches the fake opener.
struct FormWithFakes {
  explicit FormWithFakes(DeviceEndpoint endpoint = kLoopbackNobody) : form(boxes, files, urls, std::move(endpoint)) {}
  FakeMessageBoxes boxes;
  FakeFileDialog files;
  FakeUrlOpener urls;
  MyForm form;
};

struct ConsoleLine {
  QString text;
  QColor color;
};

// The console's lines with the colour each was written in; the empty block after the last
// line end is not a line.
inline std::vector<ConsoleLine> ConsoleLines(QTextEdit* box) {
  std::vector<ConsoleLine> lines;
  for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
    if (!block.next().isValid() && block.text().isEmpty()) break;
    QColor color;
    const QTextBlock::iterator it = block.begin();
    color = it.atEnd() ? block.charFormat().foreground().color() : it.fragment().charFormat().foreground().color();
    lines.push_back({block.text(), color});
  }
  return lines;
}

// Drags `urls` over `form` to `at` and drops them there, as a file manager would; true when
// the window took the drop. Sent to the window itself: it is the only widget accepting drops.
inline bool DropUrls(MyForm& form, const QList<QUrl>& urls, QPoint at) {
  QMimeData mime;
  mime.setUrls(urls);
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
  QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), actions, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &drop);
  return drop.isAccepted();
}

inline bool DropFile(MyForm& form, const QString& path, QPoint at) {
  return DropUrls(form, {QUrl::fromLocalFile(path)}, at);
}

// Every control of the window, as laid out.
inline std::vector<QWidget*> Controls(MyForm& w) {
  return {w.SelectSetlistFile, w.SelectSettingsFile, w.statusStrip1, w.textBox1,    w.textBox2,
          w.BtnExit,           w.RunTextBox,         w.Run,          w.aboutButton, w.textBox3,
          w.label1,            w.label2,             w.label3,       w.label4,      w.upload_button,
          w.helpButton,        w.viewSetlists,       w.checkBox1,    w.previewButton};
}
