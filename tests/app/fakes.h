// Stand-ins for the desktop: scripted answers, recorded requests, never a real dialog or browser.
#pragma once

#include <QString>
#include <QTextBlock>
#include <QTextEdit>

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/my_form.h"
#include "app/ui_services.h"

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
  std::optional<QString> OpenExistingFile(const FilterList& filters) override {
    asked_with.push_back(filters);
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
