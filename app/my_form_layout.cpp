// Builds the window: every control at its fixed place, the handlers wired, the tab order,
// then the start-up steps (icon, background, Upload and Preview disabled). On a screen too
// small for it the window scrolls its client area (fit_to_screen).
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTextEdit>
#include <QWindow>

#include <algorithm>
#include <iterator>

#include "app/client_scroller.h"
#include "app/focus_ring.h"
#include "app/my_form.h"

namespace {

// System colours of the desktop the window was first laid out on.
const QColor kActiveCaption(0x99, 0xB4, 0xD1);
const QColor kControl(0xF0, 0xF0, 0xF0);
const QColor kControlDark(0xA0, 0xA0, 0xA0);
const QColor kHotTrack(0x00, 0x66, 0xCC);

constexpr int kWindowWidth = 1422;
constexpr int kWindowHeight = 714;
// The least a user may shrink the window to on a small screen; the bars still fit.
constexpr QSize kSmallestClient(320, 240);

QFont LabelFont() {
  QFont font;
  if (QFontDatabase::families().contains(QStringLiteral("Microsoft Sans Serif"))) {
    font.setFamily(QStringLiteral("Microsoft Sans Serif"));
  } else {
    font.setFamily(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
  }
  font.setPointSizeF(10.8);
  font.setItalic(true);
  return font;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int x, int y) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(x, y, 118, 35);
  return button;
}

QLineEdit* MakePathBox(QWidget* parent, const char* name, int x, int y, const QColor& text_color) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setReadOnly(true);
  box->setGeometry(x, y, 992, 22);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Text, text_color);
  box->setPalette(palette);
  return box;
}

// Sized to its text: the laid-out size, grown if this platform's font needs more room.
void PlaceSizedToText(QWidget* widget, int x, int y, int width, int height) {
  const QSize hint = widget->sizeHint();
  widget->setGeometry(x, y, std::max(width, hint.width()), std::max(height, hint.height()));
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font, int x, int y,
                  int width) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  PlaceSizedToText(label, x, y, width, 24);
  return label;
}

}  // namespace

void MyForm::InitializeComponent() {
  SelectSetlistFile = MakeButton(this, "SelectSetlistFile", QStringLiteral("Select Setlist"), 1106, 196);
  SelectSettingsFile = MakeButton(this, "SelectSettingsFile", QStringLiteral("Select Settings"), 1106, 376);

  statusStrip1 = new QStatusBar(this);
  statusStrip1->setObjectName(QStringLiteral("statusStrip1"));
  statusStrip1->setSizeGripEnabled(false);  // the window cannot be resized
  statusStrip1->setGeometry(0, 692, kWindowWidth, 22);
  statusStrip1->setAutoFillBackground(true);
  QPalette strip_palette = statusStrip1->palette();
  strip_palette.setColor(QPalette::Window, kControl);
  statusStrip1->setPalette(strip_palette);

  textBox1 = MakePathBox(this, "textBox1", 74, 196, kControlDark);
  textBox2 = MakePathBox(this, "textBox2", 74, 376, kControlDark);
  BtnExit = MakeButton(this, "BtnExit", QStringLiteral("Exit Application"), 1258, 598);

  RunTextBox = new QTextEdit(this);
  RunTextBox->setObjectName(QStringLiteral("RunTextBox"));
  RunTextBox->setReadOnly(true);
  RunTextBox->setAcceptRichText(false);
  RunTextBox->setLineWrapMode(QTextEdit::WidgetWidth);
  RunTextBox->setGeometry(74, 482, 992, 151);
  RunTextBox->setPlainText(QString());

  Run = MakeButton(this, "Run", QStringLiteral("Create Output"), 1106, 482);
  aboutButton = MakeButton(this, "aboutButton", QStringLiteral("About"), 1258, 482);
  textBox3 = MakePathBox(this, "textBox3", 74, 264, kHotTrack);

  const QFont label_font = LabelFont();
  label1 = MakeLabel(this, "label1", QStringLiteral("Setlist to process"), label_font, 504, 169, 150);
  label2 = MakeLabel(this, "label2", QStringLiteral("JSON file"), label_font, 504, 237, 88);
  label3 = MakeLabel(this, "label3", QStringLiteral("Settings file"), label_font, 504, 349, 104);
  label4 = MakeLabel(this, "label4", QStringLiteral("Output status"), label_font, 504, 455, 118);

  upload_button = MakeButton(this, "upload_button", QStringLiteral("Upload"), 1106, 540);
  helpButton = MakeButton(this, "helpButton", QStringLiteral("Help"), 1258, 540);
  viewSetlists = MakeButton(this, "viewSetlists", QStringLiteral("View Setlists"), 1106, 598);

  checkBox1 = new QCheckBox(QStringLiteral("Use .csv files"), this);
  checkBox1->setObjectName(QStringLiteral("checkBox1"));
  checkBox1->setChecked(false);
  PlaceSizedToText(checkBox1, 1258, 210, 113, 21);

  previewButton = MakeButton(this, "previewButton", QStringLiteral("Preview"), 1258, 376);

  // Drops are taken by the window, which tells the path boxes from the rest; the boxes are
  // read-only and would refuse them.
  setAcceptDrops(true);
  for (QWidget* box : {static_cast<QWidget*>(textBox1), static_cast<QWidget*>(textBox2),
                       static_cast<QWidget*>(textBox3), static_cast<QWidget*>(RunTextBox), RunTextBox->viewport()}) {
    box->setAcceptDrops(false);
  }

  focus_ring_ = new FocusRing(this);
  scroller_ = new ClientScroller(this, QSize(kWindowWidth, kWindowHeight));

  connect(SelectSetlistFile, &QPushButton::clicked, this, &MyForm::SelectSetlistFile_Click);
  connect(SelectSettingsFile, &QPushButton::clicked, this, &MyForm::SelectSettingsFile_Click);
  connect(BtnExit, &QPushButton::clicked, this, &MyForm::BtnExit_Click);
  connect(RunTextBox, &QTextEdit::textChanged, this, &MyForm::richTextBox1_TextChanged);
  // label2_Click and OutputFolder_Click do nothing; a Qt label has no click to wire them to.
  connect(Run, &QPushButton::clicked, this, &MyForm::button1_Click);
  connect(aboutButton, &QPushButton::clicked, this, &MyForm::aboutButton_Click);
  connect(upload_button, &QPushButton::clicked, this, &MyForm::button1_Click_1);
  connect(helpButton, &QPushButton::clicked, this, &MyForm::helpButton_Click);
  connect(viewSetlists, &QPushButton::clicked, this, &MyForm::viewSetlists_Click);
  connect(checkBox1, &QCheckBox::toggled, this, &MyForm::checkBox1_CheckedChanged);
  connect(previewButton, &QPushButton::clicked, this, &MyForm::previewButton_Click);
  // The desktop's Quit key asks the same question as "Exit Application".
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this,
          &MyForm::BtnExit_Click);

  // Tab order by the laid-out tab indices; controls with equal index go in creation order.
  // Preview, added later, follows the button beside it.
  QWidget* const tab_order[] = {SelectSetlistFile, SelectSettingsFile, previewButton, textBox1,
                                textBox2,          BtnExit,            RunTextBox,    Run,
                                aboutButton,       textBox3,           upload_button, helpButton,
                                viewSetlists,      checkBox1};
  for (size_t i = 1; i < std::size(tab_order); ++i) setTabOrder(tab_order[i - 1], tab_order[i]);

  setWindowTitle(QStringLiteral("Tallyform"));
  setFixedSize(kWindowWidth, kWindowHeight);
  setAutoFillBackground(true);
  QPalette window_palette = palette();
  window_palette.setColor(QPalette::Window, kActiveCaption);
  setPalette(window_palette);
}

void MyForm::LocalInit() {
  // The files beside the working directory win; our own artwork stands in when one is
  // missing or unreadable, so the window always starts.
  QIcon icon;
  if (QFile::exists(QStringLiteral("setlist.ico"))) icon = QIcon(QStringLiteral("setlist.ico"));
  if (icon.availableSizes().isEmpty()) icon = QIcon(QStringLiteral(":/tallyform/setlist.ico"));
  setWindowIcon(icon);

  if (!background_.load(QStringLiteral("logo.png"))) background_.load(QStringLiteral(":/tallyform/logo.png"));

  set_document_ready(false);
}

void MyForm::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  // Natural size, top-left of the client area, once: neither stretched nor tiled.
  if (!background_.isNull()) QPainter(this).drawPixmap(-scroller_->offset(), background_);
}

void MyForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  fit_to_screen();
  if (!screen_watched_ && windowHandle()) {
    screen_watched_ = true;
    connect(windowHandle(), &QWindow::screenChanged, this, &MyForm::fit_to_screen);
  }
}

void MyForm::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // Some window managers add their frame only once the window is up, which moves it: fit
  // again for the frame as it really is.
  if (isVisible() && windowHandle() && windowHandle()->frameMargins() != fitted_frame_) fit_to_screen();
}

void MyForm::fit_to_screen() {
  if (!isWindow() || !screen()) return;
  const QSize full(kWindowWidth, kWindowHeight);
  const QRect available = screen()->availableGeometry();
  const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  fitted_frame_ = frame;
  const QSize client = FittedClientSize(full, available, frame);
  if (client == full) {
    setFixedSize(full);  // as laid out: the window cannot be resized
    return;
  }
  setMinimumSize(kSmallestClient.boundedTo(client));
  setMaximumSize(full);
  resize(client);
  // The frame wholly on the screen, so both bars can be reached.
  const QSize outer = client.grownBy(frame);
  const int x = std::clamp(pos().x(), available.left(), available.right() + 1 - outer.width());
  const int y = std::clamp(pos().y(), available.top(), available.bottom() + 1 - outer.height());
  if (QPoint(x, y) != pos()) move(x, y);
}
