// The preview: a read-only, resizable table of the document the last build wrote, as read
// back from disk. A separate window owned by the main window; it shows whatever rows it is
// given and reads nothing itself.
#pragma once

#include <QDialog>

#include <vector>

#include "app/preview_model.h"

class QTableView;

class PreviewWindow : public QDialog {
  Q_OBJECT

 public:
  explicit PreviewWindow(QWidget* parent);

  // Shows `rows` of the document at `json_path` and brings the window up.
  void ShowRows(const QString& json_path, std::vector<PreviewRow> rows);

  QTableView* table() const { return table_; }
  const PreviewModel& model() const { return model_; }

 private:
  PreviewModel model_;
  QTableView* table_;
};
