#include "app/qt_ui_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

bool QtMessageBoxes::AskYesNo(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No,
                  QApplication::activeWindow());
  return box.exec() == QMessageBox::Yes;
}

void QtMessageBoxes::ShowInformation(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

std::optional<QString> QtFileDialog::OpenExistingFile(const FilterList& filters, const QString& folder) {
  // No owner window and no preset name: the dialog opens empty, like the system dialog did.
  QFileDialog dialog(nullptr);
  if (!folder.isEmpty()) dialog.setDirectory(folder);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  const QStringList names = ToQtNameFilters(filters);
  dialog.setNameFilters(names);
  if (!names.isEmpty()) dialog.selectNameFilter(names.first());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
  return chosen.first();
}

void QtUrlOpener::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }
