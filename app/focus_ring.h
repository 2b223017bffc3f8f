// A ring around the control that has the focus, drawn once the keyboard is in use (a key
// pressed, or the focus moved by Tab or a shortcut) and hidden again at the next click:
// the style's own focus mark on a button is too faint to find at a glance. A child of the
// window, above its controls and transparent to the mouse; it draws only in the gap around
// the control.
#pragma once

#include <QPointer>
#include <QWidget>

class FocusRing : public QWidget {
 public:
  explicit FocusRing(QWidget* window);

  // The control the ring is drawn around; null while it is hidden.
  QWidget* target() const { return isVisible() ? target_.data() : nullptr; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void Follow();

  QWidget* window_;
  QPointer<QWidget> target_;
  bool keyboard_ = false;
};
