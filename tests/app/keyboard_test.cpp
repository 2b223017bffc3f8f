// The window by keyboard: Enter and Space press the focused button, Ctrl+Q asks the Exit
// question, and the focused control is ringed once the keyboard is in use, never over
// another control, until the next click.
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include "app/focus_ring.h"
#include "tests/app/fakes.h"

namespace {

void ShowActive(MyForm& w) {
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

TEST(KeyboardTest, EnterAndSpacePressTheFocusedButton) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
    SCOPED_TRACE(key);
    FormWithFakes f;
    ShowActive(f.form);
    f.form.aboutButton->setFocus(Qt::TabFocusReason);
    QTest::keyClick(f.form.aboutButton, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    EXPECT_EQ(f.boxes.information.size(), 1u);

    // Enter in a path box presses nothing; with a modifier it is not a press either.
    f.form.textBox1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(f.form.textBox1, key);
    f.form.aboutButton->setFocus(Qt::TabFocusReason);
    QTest::keyClick(f.form.aboutButton, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(f.boxes.information.size(), 1u);
    EXPECT_TRUE(f.boxes.questions.empty());
  }
}

TEST(KeyboardTest, CtrlQAsksTheExitQuestion) {
  FormWithFakes f;
  ShowActive(f.form);
  f.boxes.answer_yes = false;
  QTest::keyClick(f.form.textBox2, Qt::Key_Q, Qt::ControlModifier);
  ASSERT_EQ(f.boxes.questions.size(), 1u);
  EXPECT_EQ(f.boxes.questions[0], std::make_pair(QString("Exit Application"), QString("Are you sure you wish to quit?")));
  EXPECT_TRUE(f.form.isVisible());
}

TEST(KeyboardTest, TheFocusedControlIsRingedOnceTheKeyboardIsInUse) {
  FormWithFakes f;
  MyForm& w = f.form;
  ShowActive(w);
  w.upload_button->setEnabled(true);
  w.previewButton->setEnabled(true);
  const FocusRing& ring = w.focus_ring();
  w.Run->setFocus(Qt::OtherFocusReason);
  EXPECT_EQ(ring.target(), nullptr);  // nothing changes for a user of the mouse

  w.checkBox1->setFocus(Qt::OtherFocusReason);
  for (size_t i = 0; i < Controls(w).size() - 5; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focused = ring.target();
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(focused == QApplication::focusWidget() || focused->isAncestorOf(QApplication::focusWidget()));
    EXPECT_TRUE(ring.geometry().contains(focused->geometry()));
    for (QWidget* other : Controls(w)) {
      if (other != focused) {
        EXPECT_FALSE(ring.geometry().intersects(other->geometry()))
            << focused->objectName().toStdString() << " " << other->objectName().toStdString();
      }
    }
  }
  // The ring is seen: its pixels differ from the window's background just outside the control.
  const QImage shot = w.grab().toImage();
  const QRect around = ring.target()->geometry();
  EXPECT_NE(QColor(shot.pixel(around.center().x(), around.top() - 2)), QColor(0x99, 0xB4, 0xD1));

  QTest::mouseClick(w.textBox3, Qt::LeftButton);
  EXPECT_EQ(ring.target(), nullptr);
}

}  // namespace
