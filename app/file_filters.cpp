#include "app/file_filters.h"

#include <initializer_list>

#include "builder/table_kind.h"

namespace {

// The groups of the given families, in that order, then every file.
FilterList ListOf(std::initializer_list<TableFamily> families) {
  FilterList list;
  for (const TableFamily family : families) {
    for (const FileGroup& group : FileGroups(family)) {
      list.push_back({QString::fromStdString(group.description), QString::fromStdString(group.pattern)});
    }
  }
  list.push_back({QStringLiteral("All Files"), QStringLiteral("*.*")});
  return list;
}

}  // namespace

const FilterList& SpreadsheetFilters() {
  static const FilterList list = ListOf({TableFamily::Workbook});
  return list;
}

const FilterList& TextFilters() {
  static const FilterList list = ListOf({TableFamily::Text});
  return list;
}

const FilterList& MixedFilters() {
  static const FilterList list = ListOf({TableFamily::Workbook, TableFamily::Text});
  return list;
}

QStringList ToQtNameFilters(const FilterList& filters) {
  QStringList out;
  for (const FileFilter& f : filters) {
    const QString pattern = f.pattern == QLatin1String("*.*") ? QStringLiteral("*") : f.pattern;
    out << QStringLiteral("%1 (%2)").arg(f.description, pattern);
  }
  return out;
}
