#include "app/focus_ring.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>

namespace {

// From the control to the outside of the ring: the labels above the path boxes end 4 pixels
// above them, so the ring stays clear of them.
constexpr int kGap = 3;
constexpr int kPen = 2;
const QColor kRingColor(0x10, 0x2A, 0x5C);

}  // namespace

FocusRing::FocusRing(QWidget* window) : QWidget(window), window_(window) {
  setObjectName(QStringLiteral("focusRing"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  hide();
  qApp->installEventFilter(this);
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != window_) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
      keyboard_ = true;
      Follow();
      break;
    case QEvent::MouseButtonPress:
      keyboard_ = false;
      Follow();
      break;
    case QEvent::FocusIn: {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason) {
        keyboard_ = true;
      } else if (reason == Qt::MouseFocusReason) {
        keyboard_ = false;
      }
      Follow();
      break;
    }
    case QEvent::FocusOut:
    case QEvent::Hide:
    case QEvent::EnabledChange:
      Follow();
      break;
    default:
      break;
  }
  return false;
}

void FocusRing::Follow() {
  // The window's own child that holds the focus: the console, not its inner viewport.
  QWidget* focus = QApplication::focusWidget();
  while (focus && focus->parentWidget() != window_) focus = focus->parentWidget();
  if (focus == this) focus = nullptr;
  target_ = focus;
  if (!keyboard_ || !focus || !focus->isVisible() || focus->isWindow()) {
    hide();
    return;
  }
  setGeometry(focus->geometry().adjusted(-kGap, -kGap, kGap, kGap));
  show();
  update();
}

void FocusRing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kRingColor, kPen));
  painter.setBrush(Qt::NoBrush);
  const qreal inset = kPen / 2.0;
  painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), 3, 3);
}
