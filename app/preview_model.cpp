#include "app/preview_model.h"

#include <QColor>

#include "app/console_box.h"

void PreviewModel::SetRows(std::vector<PreviewRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int PreviewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PreviewModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant PreviewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const PreviewRow& row = rows_[static_cast<size_t>(index.row())];
  if (role == Qt::ForegroundRole) {
    const bool red = row.kind == PreviewRow::Kind::NoSetting || (index.column() == Warning && !row.warning.empty());
    return red ? QVariant(*ConsoleColor(RED)) : QVariant();
  }
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  const std::string* text = nullptr;
  switch (index.column()) {
    case Song: text = &row.values.song; break;
    case Patch: text = &row.values.patch; break;
    case Notes: text = &row.values.notes; break;
    case Bpm: text = &row.values.bpm; break;
    case Warning: text = &row.warning; break;
    default: return {};
  }
  return QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size()));
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) {
    if (section < 0 || section >= rowCount()) return {};
    const int64_t record = rows_[static_cast<size_t>(section)].record;
    return record > 0 ? QVariant(QString::number(record)) : QVariant(QString());
  }
  switch (section) {
    case Song: return QStringLiteral("Song");
    case Patch: return QStringLiteral("Patch");
    case Notes: return QStringLiteral("Notes");
    case Bpm: return QStringLiteral("BPM");
    case Warning: return QStringLiteral("Warning");
    default: return {};
  }
}

Qt::ItemFlags PreviewModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
