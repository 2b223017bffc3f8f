// Writes the status console's coloured lines into a rich-text box. Each line goes to the end
// of the text and is scrolled into view, whatever the user clicked or selected; each line is
// also echoed to standard output. The box belongs to the window; this only writes to it.
#pragma once

#include <QColor>
#include <QString>

#include <optional>

#include "console/console.h"

class QTextEdit;

// The colour a COLORBOX value selects; nothing for a value outside 0 to 3.
std::optional<QColor> ConsoleColor(COLORBOX box_text_color);

class ConsoleBox {
 public:
  explicit ConsoleBox(QTextEdit* box) : box_(box) {}

  // One line in `box_text_color` (another value keeps the colour of the line before);
  // `clear` empties the box first.
  void WriteLine(const QString& line, COLORBOX box_text_color, bool clear);

 private:
  QTextEdit* box_;
  QColor color_ = Qt::black;
};
