// Writes the status console's coloured lines into a rich-text box. Each line goes to the end
// of the text and is scrolled into view, whatever the user clicked or selected; each line is
// also echoed to standard output. While a Batch is open the lines are held and then written
// in one go, so a build's thousands of lines cost one insertion and one scroll, not one each.
// The box belongs to the window; this only writes to it.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

#include <optional>
#include <vector>

#include "console/console.h"

class QTextEdit;

// The colour a COLORBOX value selects; nothing for a value outside 0 to 3.
std::optional<QColor> ConsoleColor(COLORBOX box_text_color);

class ConsoleBox {
 public:
  explicit ConsoleBox(QTextEdit* box) : box_(box) {}
  ConsoleBox(const ConsoleBox&) = delete;
  ConsoleBox& operator=(const ConsoleBox&) = delete;

  // One line in `box_text_color` (another value keeps the colour of the line before);
  // `clear` empties the box first.
  void WriteLine(const QString& line, COLORBOX box_text_color, bool clear);
  // Empties the box, lines not yet written included.
  void Clear();

  // Lines written while one lives (batches nest) show when the outermost one ends.
  class Batch {
   public:
    explicit Batch(ConsoleBox& console) : console_(console) { ++console_.batches_; }
    ~Batch() {
      if (--console_.batches_ == 0) console_.Show();
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    ConsoleBox& console_;
  };

 private:
  // Writes the held lines to standard output and to the box.
  void Show();

  struct Run {  // consecutive held lines of one colour, each ended by a line feed
    QColor color;
    QString text;
  };

  QTextEdit* box_;
  QColor color_ = Qt::black;
  int batches_ = 0;
  bool clear_first_ = false;
  std::vector<Run> held_;
  QByteArray echo_;
};
