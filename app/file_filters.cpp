#include "app/file_filters.h"

const FilterList& SpreadsheetFilters() {
  static const FilterList list{{"Excel Files", "*.xls"}, {"All Files", "*.*"}};
  return list;
}

const FilterList& TextFilters() {
  static const FilterList list{{"CSV Files", "*.csv"}, {"Text Files", "*.txt"}, {"All Files", "*.*"}};
  return list;
}

const FilterList& MixedFilters() {
  static const FilterList list{
      {"Excel Files", "*.xls"}, {"CSV Files", "*.csv"}, {"Text Files", "*.txt"}, {"All Files", "*.*"}};
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
