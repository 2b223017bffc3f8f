// Lets a window laid out at a fixed client size be smaller than that, for screens too small
// to hold it: then scroll bars appear along its right and bottom edges and the controls move
// beneath them, and a control that takes the focus other than by a click is scrolled into
// view. At full size nothing moves and no bar shows. The bars are the window's children; this
// object owns nothing else and only moves the window's controls.
#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QScrollBar;
class QWidget;

// The client size a window gets on a screen whose available area is `available`, when the
// window manager draws `frame` around it: `content` where it fits, else as much as fits.
QSize FittedClientSize(QSize content, QRect available, QMargins frame);

class ClientScroller : public QObject {
 public:
  // Made after the window's controls, so its bars lie above them.
  ClientScroller(QWidget* window, QSize client_size);

  // How far the controls are scrolled: the client point shown at the window's top-left.
  QPoint offset() const { return offset_; }
  // The part of the window in which the controls show: all of it less the visible bars.
  QRect viewport() const { return viewport_; }
  QScrollBar* horizontal_bar() const { return horizontal_; }
  QScrollBar* vertical_bar() const { return vertical_; }

  // Scrolls as little as needed to show `rect` (window coordinates) and `margin` around it.
  void EnsureVisible(QRect rect, int margin);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Relayout();
  void ScrollTo(QPoint offset);

  QWidget* window_;
  QSize client_;
  QScrollBar* horizontal_;
  QScrollBar* vertical_;
  QPoint offset_;
  QRect viewport_;
};
