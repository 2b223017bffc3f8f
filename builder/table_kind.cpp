#include "builder/table_kind.h"

#include <algorithm>
#include <iterator>

#include "builder/grid_table.h"
#include "builder/text_table.h"
#include "builder/xls_table.h"

namespace {

constexpr TableKind kKinds[] = {
    {"xls", TableFamily::Workbook, "Excel Files", TableReader::Xls, 0, MakeXlsTable},
    {"xlsx", TableFamily::Workbook, "Excel Files", TableReader::Xlsx, 0, MakeXlsxTable},
    {"xlsm", TableFamily::Workbook, "Excel Files", TableReader::Xlsx, 0, MakeXlsxTable},  // macros are never run
    {"ods", TableFamily::Workbook, "OpenDocument Spreadsheets", TableReader::Ods, 0, MakeOdsTable},
    {"csv", TableFamily::Text, "CSV Files", TableReader::Text, 0, MakeTextTable},
    {"txt", TableFamily::Text, "Text Files", TableReader::Text, 0, MakeTextTable},
    {"tsv", TableFamily::Text, "Tab-separated Files", TableReader::Text, '\t', MakeTextTable},
};

struct BuildRow {
  TableFamily setlist;
  TableFamily settings;
  BuildKind build;
};

constexpr BuildRow kBuilds[] = {
    {TableFamily::Workbook, TableFamily::Workbook, BuildKind::Index},
    {TableFamily::Text, TableFamily::Workbook, BuildKind::Hybrid},
    {TableFamily::Text, TableFamily::Text, BuildKind::FromText},
};

}  // namespace

const TableKind* FindTableKind(std::string_view extension) {
  const auto it = std::find_if(std::begin(kKinds), std::end(kKinds),
                               [extension](const TableKind& kind) { return extension == kind.extension; });
  return it == std::end(kKinds) ? nullptr : &*it;
}

BuildKind BuildKindOf(TableFamily setlist, TableFamily settings) {
  for (const BuildRow& row : kBuilds) {
    if (row.setlist == setlist && row.settings == settings) return row.build;
  }
  return BuildKind::Invalid;
}

std::vector<FileGroup> FileGroups(TableFamily family) {
  std::vector<FileGroup> groups;
  for (const TableKind& kind : kKinds) {
    if (kind.family != family) continue;
    const std::string pattern = std::string("*.") + kind.extension;
    const auto same = std::find_if(groups.begin(), groups.end(),
                                   [&kind](const FileGroup& g) { return g.description == kind.group; });
    if (same == groups.end()) {
      groups.push_back({kind.group, pattern});
    } else {
      same->pattern += " " + pattern;
    }
  }
  return groups;
}
