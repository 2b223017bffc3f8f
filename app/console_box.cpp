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
  const QByteArray echo = line.toUtf8();
  std::fwrite(echo.constData(), 1, static_cast<size_t>(echo.size()), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);

  if (clear) box_->clear();
  if (const auto color = ConsoleColor(box_text_color)) color_ = *color;

  // A cursor of our own at the end: the user's cursor and selection are left alone, so a
  // click into the console can neither reorder the report nor have a line replace a selection.
  QTextCursor end(box_->document());
  end.movePosition(QTextCursor::End);
  QTextCharFormat format;
  format.setForeground(color_);
  end.insertText(line + QLatin1Char('\n'), format);

  QScrollBar* bar = box_->verticalScrollBar();
  bar->setValue(bar->maximum());
}
