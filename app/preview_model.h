// The preview's rows as a read-only table model: Song, Patch, Notes, BPM and the warning of
// each row; an entry without a setting is red throughout, a tempo warning red in its cell.
// The vertical header numbers the records as they stand in the document. Owns its rows.
#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "builder/setlist_preview.h"

class PreviewModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { Song, Patch, Notes, Bpm, Warning, ColumnCount };

  using QAbstractTableModel::QAbstractTableModel;

  void SetRows(std::vector<PreviewRow> rows);
  const std::vector<PreviewRow>& rows() const { return rows_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  std::vector<PreviewRow> rows_;
};
