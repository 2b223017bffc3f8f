#include "app/console_box.h"

#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include <cstdio>

std::optional<QColor> ConsoleColor(COLORBOX box_text_color) {
  switch (box_text_color) {
    case BLACK: return QColor(0x00, 0x00, 0x00);
    case BLUE: return QColor(0x00, 0x00, 0xFF);
    case RED: return QColor(0xFF, 0x00, 0x00);
    case GREEN: return QColor(0x00, 0x80, 0x00);
  }
  return std::nullopt;
}

void ConsoleBox::WriteLine(const QString& line, COLORBOX box_text_color, bool clear) {
  echo_ += line.toUtf8();
  echo_ += '\n';
  if (clear) {
    held_.clear();
    clear_first_ = true;
  }
  if (const auto color = ConsoleColor(box_text_color)) color_ = *color;
  if (held_.empty() || held_.back().color != color_) held_.push_back({color_, QString()});
  held_.back().text += line;
  held_.back().text += QLatin1Char('\n');
  if (batches_ == 0) Show();
}

void ConsoleBox::Clear() {
  held_.clear();
  clear_first_ = false;
  box_->clear();
}

void ConsoleBox::Show() {
  if (!echo_.isEmpty()) {
    std::fwrite(echo_.constData(), 1, static_cast<size_t>(echo_.size()), stdout);
    std::fflush(stdout);
    echo_.clear();
  }
  if (clear_first_) box_->clear();
  clear_first_ = false;
  if (held_.empty()) return;

  // A cursor of our own at the end: the user's cursor and selection are left alone, so a
  // click into the console can neither reorder the report nor have a line replace a selection.
  QTextCursor end(box_->document());
  end.movePosition(QTextCursor::End);
  end.beginEditBlock();
  for (const Run& run : held_) {
    QTextCharFormat format;
    format.setForeground(run.color);
    end.insertText(run.text, format);
  }
  end.endEditBlock();
  held_.clear();

  QScrollBar* bar = box_->verticalScrollBar();
  bar->setValue(bar->maximum());
}
