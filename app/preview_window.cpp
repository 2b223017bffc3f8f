#include "app/preview_window.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

PreviewWindow::PreviewWindow(QWidget* parent) : QDialog(parent), table_(new QTableView(this)) {
  setObjectName(QStringLiteral("previewWindow"));
  setSizeGripEnabled(true);
  table_->setObjectName(QStringLiteral("previewTable"));
  table_->setModel(&model_);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setWordWrap(false);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->horizontalHeader()->setMaximumSectionSize(360);  // a long note does not push the rest away
  table_->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);

  // A size that shows a short setlist whole, never larger than the screen.
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  resize(QSize(820, 480).boundedTo(screen->availableGeometry().size() * 9 / 10));
}

void PreviewWindow::ShowRows(const QString& json_path, std::vector<PreviewRow> rows) {
  setWindowTitle(QStringLiteral("Preview - %1").arg(json_path));
  model_.SetRows(std::move(rows));
  table_->resizeColumnsToContents();  // measures the first thousand rows at most
  table_->scrollToTop();
  show();
  raise();
  activateWindow();
}
