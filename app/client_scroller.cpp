#include "app/client_scroller.h"

#include <QApplication>
#include <QFocusEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

QSize FittedClientSize(QSize content, QRect available, QMargins frame) {
  const QSize room(available.width() - frame.left() - frame.right(),
                   available.height() - frame.top() - frame.bottom());
  return content.boundedTo(room).expandedTo(QSize(1, 1));
}

ClientScroller::ClientScroller(QWidget* window, QSize client_size)
    : QObject(window),
      window_(window),
      client_(client_size),
      horizontal_(new QScrollBar(Qt::Horizontal, window)),
      vertical_(new QScrollBar(Qt::Vertical, window)),
      viewport_(QPoint(0, 0), client_size) {
  for (QScrollBar* bar : {horizontal_, vertical_}) {
    bar->setObjectName(bar == horizontal_ ? QStringLiteral("horizontalScroll") : QStringLiteral("verticalScroll"));
    bar->setFocusPolicy(Qt::NoFocus);  // the tab order stays the controls'; focus scrolls instead
    bar->setSingleStep(20);
    bar->hide();
    connect(bar, &QScrollBar::valueChanged, this,
            [this] { ScrollTo(QPoint(horizontal_->value(), vertical_->value())); });
  }
  // The focus of any control of the window reaches the application's filter first.
  qApp->installEventFilter(this);
}

bool ClientScroller::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Resize:
      if (watched == window_) Relayout();
      break;
    case QEvent::Wheel:
      // A wheel turned over a control that does not scroll itself arrives here last.
      if (watched == window_) {
        const QPoint turn = static_cast<QWheelEvent*>(event)->angleDelta();
        const bool sideways = std::abs(turn.x()) > std::abs(turn.y()) || !vertical_->isVisible();
        QScrollBar* bar = sideways ? horizontal_ : vertical_;
        if (bar->isVisible()) {
          QApplication::sendEvent(bar, event);
          return true;
        }
      }
      break;
    case QEvent::FocusIn: {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget && window_->isAncestorOf(widget) && !widget->isWindow() &&
          static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason) {
        EnsureVisible(QRect(widget->mapTo(window_, QPoint(0, 0)), widget->size()), 6);
      }
      break;
    }
    default:
      break;
  }
  return false;
}

void ClientScroller::Relayout() {
  const QSize size = window_->size();
  const int extent = window_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, vertical_);
  bool need_horizontal = size.width() < client_.width();
  bool need_vertical = size.height() < client_.height();
  // One bar takes room from the other direction and may make the second bar necessary.
  if (need_horizontal && !need_vertical) need_vertical = size.height() - extent < client_.height();
  if (need_vertical && !need_horizontal) need_horizontal = size.width() - extent < client_.width();
  viewport_ = QRect(0, 0, size.width() - (need_vertical ? extent : 0), size.height() - (need_horizontal ? extent : 0));

  horizontal_->setGeometry(0, viewport_.height(), viewport_.width(), extent);
  vertical_->setGeometry(viewport_.width(), 0, extent, viewport_.height());
  horizontal_->setRange(0, std::max(0, client_.width() - viewport_.width()));
  vertical_->setRange(0, std::max(0, client_.height() - viewport_.height()));
  horizontal_->setPageStep(viewport_.width());
  vertical_->setPageStep(viewport_.height());
  horizontal_->setVisible(need_horizontal);
  vertical_->setVisible(need_vertical);
  ScrollTo(QPoint(horizontal_->value(), vertical_->value()));
}

void ClientScroller::ScrollTo(QPoint offset) {
  const QPoint delta = offset_ - offset;
  if (delta.isNull()) return;
  offset_ = offset;
  for (QWidget* child : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child == horizontal_ || child == vertical_ || child->isWindow()) continue;
    child->move(child->pos() + delta);
  }
  window_->update();
}

void ClientScroller::EnsureVisible(QRect rect, int margin) {
  const QRect wanted = rect.translated(offset_).adjusted(-margin, -margin, margin, margin);
  const auto axis = [](int start, int end, int at, int length) {
    if (end - start + 1 > length || start < at) return start;
    if (end >= at + length) return end - length + 1;
    return at;
  };
  horizontal_->setValue(axis(wanted.left(), wanted.right(), offset_.x(), viewport_.width()));
  vertical_->setValue(axis(wanted.top(), wanted.bottom(), offset_.y(), viewport_.height()));
}
