// The window on screens too small for it (1280x720, the same at 150 %, 1024x600): it fits the
// screen, scrolls its client area, and every control can be brought into view by the bars and
// is brought into view by the keyboard, with nothing on top of it. Back on a screen that holds
// it, it is as laid out.
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "app/client_scroller.h"
#include "app/focus_ring.h"
#include "tests/app/fakes.h"

namespace {

QScreen* ScreenNamed(const QString& name) {
  for (QScreen* screen : QGuiApplication::screens()) {
    if (screen->name() == name) return screen;
  }
  ADD_FAILURE() << "no screen " << name.toStdString() << ": see tests/app/screens.json";
  return QGuiApplication::primaryScreen();
}

// Shown and active, so the focus and the keys go to it.
void ShowOn(MyForm& w, QScreen* screen) {
  w.setScreen(screen);
  w.move(screen->availableGeometry().topLeft());
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

QRect InWindow(MyForm& w, QWidget* control) { return QRect(control->mapTo(&w, QPoint(0, 0)), control->size()); }

// The control is wholly in the viewport and is what a click at its centre reaches.
void ExpectShownWhole(MyForm& w, QWidget* control) {
  const QRect rect = InWindow(w, control);
  EXPECT_TRUE(w.scroller().viewport().contains(rect)) << control->objectName().toStdString();
  QWidget* hit = w.childAt(rect.center());
  EXPECT_TRUE(hit == control || control->isAncestorOf(hit)) << control->objectName().toStdString();
}

TEST(SmallScreenTest, FitsTheScreenAndEveryControlCanBeScrolledIntoView) {
  for (const char* name : {"small", "laptop150", "netbook"}) {
    SCOPED_TRACE(name);
    QScreen* screen = ScreenNamed(name);
    FormWithFakes f;
    MyForm& w = f.form;
    ShowOn(w, screen);
    ASSERT_EQ(w.screen(), screen);
    EXPECT_TRUE(screen->availableGeometry().contains(w.frameGeometry()));
    EXPECT_LT(w.width(), 1422);
    EXPECT_EQ(w.maximumSize(), QSize(1422, 714));

    // The bars lie beside the viewport, never over it, and scroll the whole client area.
    const ClientScroller& scroller = w.scroller();
    QScrollBar* across = scroller.horizontal_bar();
    QScrollBar* down = scroller.vertical_bar();
    ASSERT_TRUE(across->isVisible());
    EXPECT_TRUE(w.rect().contains(across->geometry()));
    EXPECT_FALSE(across->geometry().intersects(scroller.viewport()));
    EXPECT_EQ(across->maximum(), 1422 - scroller.viewport().width());
    if (down->isVisible()) {
      EXPECT_FALSE(down->geometry().intersects(scroller.viewport()));
      EXPECT_EQ(down->maximum(), 714 - scroller.viewport().height());
    } else {
      EXPECT_GE(scroller.viewport().height(), 714);
    }

    // For each control, the bar positions a user would drag to show it. The empty status
    // strip spans the whole client width, so it is only ever seen in part.
    for (QWidget* control : Controls(w)) {
      if (control == w.statusStrip1) continue;
      const QRect laid_out = InWindow(w, control).translated(scroller.offset());
      across->setValue(std::max(0, laid_out.right() + 1 - scroller.viewport().width()));
      down->setValue(std::max(0, laid_out.bottom() + 1 - scroller.viewport().height()));
      EXPECT_EQ(InWindow(w, control), laid_out.translated(-scroller.offset()));  // controls move as one
      ExpectShownWhole(w, control);
    }
    // The controls keep their places relative to one another, so none lies over another.
    const auto controls = Controls(w);
    for (size_t i = 0; i < controls.size(); ++i)
      for (size_t j = i + 1; j < controls.size(); ++j)
        EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
            << controls[i]->objectName().toStdString() << " " << controls[j]->objectName().toStdString();
  }
}

TEST(SmallScreenTest, TabBringsEachFocusedControlIntoView) {
  FormWithFakes f;
  MyForm& w = f.form;
  ShowOn(w, ScreenNamed("netbook"));
  w.upload_button->setEnabled(true);  // every button takes the focus
  w.previewButton->setEnabled(true);
  w.checkBox1->setFocus();  // the last in the tab order: the next Tab starts the round
  std::vector<QWidget*> reached;
  for (int i = 0; i < 20; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    while (focus->parentWidget() != &w) focus = focus->parentWidget();
    if (std::find(reached.begin(), reached.end(), focus) == reached.end()) reached.push_back(focus);
    ExpectShownWhole(w, focus);
    EXPECT_EQ(w.focus_ring().target(), focus);
    EXPECT_TRUE(w.scroller().viewport().contains(w.focus_ring().geometry())) << focus->objectName().toStdString();
  }
  // Everything but the labels and the status strip, which take no focus.
  EXPECT_EQ(reached.size(), Controls(w).size() - 5);
}

// Over a control that does not scroll itself, Qt hands the wheel on to the window.
TEST(SmallScreenTest, TheWheelScrollsTheClientArea) {
  FormWithFakes f;
  MyForm& w = f.form;
  ShowOn(w, ScreenNamed("netbook"));
  const QPoint over(300, 440);
  for (const QPoint turn : {QPoint(0, -120), QPoint(-120, 0)}) {
    const QPoint before = w.scroller().offset();
    QWheelEvent wheel(QPointF(over), w.mapToGlobal(QPointF(over)), QPoint(), turn, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &wheel);
    const QPoint moved = w.scroller().offset() - before;
    EXPECT_GT(turn.y() ? moved.y() : moved.x(), 0) << turn.x() << "," << turn.y();
    EXPECT_EQ(turn.y() ? moved.x() : moved.y(), 0);
  }
}

TEST(SmallScreenTest, BackOnAScreenThatHoldsItTheWindowIsAsLaidOut) {
  FormWithFakes f;
  MyForm& w = f.form;
  ShowOn(w, ScreenNamed("small"));
  w.BtnExit->setFocus(Qt::TabFocusReason);  // scrolled to the far corner
  ASSERT_NE(w.scroller().offset(), QPoint(0, 0));

  QScreen* desk = ScreenNamed("desk");
  w.move(desk->availableGeometry().topLeft());
  w.setScreen(desk);
  EXPECT_TRUE(QTest::qWaitFor([&w] { return w.size() == QSize(1422, 714); }));
  EXPECT_EQ(w.minimumSize(), QSize(1422, 714));
  EXPECT_EQ(w.scroller().offset(), QPoint(0, 0));
  EXPECT_FALSE(w.scroller().horizontal_bar()->isVisible());
  EXPECT_FALSE(w.scroller().vertical_bar()->isVisible());
  EXPECT_EQ(w.BtnExit->geometry(), QRect(1258, 598, 118, 35));
  EXPECT_EQ(w.statusStrip1->geometry(), QRect(0, 692, 1422, 22));
}

}  // namespace
