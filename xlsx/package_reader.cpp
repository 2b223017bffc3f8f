#include "xlsx/package_reader.h"

#include <string>

#include "grid/load_budget.h"
#include "grid/sheet_builder.h"
#include "threads/second_thread.h"
#include "xlsx/relationships.h"
#include "xlsx/shared_strings.h"
#include "xlsx/sheet_part.h"
#include "xlsx/workbook_part.h"
#include "zip/zip_archive.h"

namespace Xlsx {
namespace {

const Relationship* FindKind(const std::vector<Relationship>& all, std::string_view kind) {
  for (const auto& r : all)
    if (r.kind == kind && !r.part.empty()) return &r;
  return nullptr;
}

const Relationship* FindId(const std::vector<Relationship>& all, std::string_view id) {
  for (const auto& r : all)
    if (r.id == id) return &r;
  return nullptr;
}

// Chart sheets, dialog sheets and macro sheets are listed with the worksheets but are not
// worksheets; they are skipped.
bool IsOtherSheetKind(std::string_view kind) {
  return kind == "chartsheet" || kind == "dialogsheet" || kind == "macrosheet" || kind == "xlIntlMacrosheet";
}

struct SharedStringsJob {
  bool ok = true;
  SharedStrings table;
};

}  // namespace

bool ReadPackage(const uint8_t* data, size_t size, PackageContents& out) {
  Zip::Archive archive;
  if (!archive.Open(data, size)) return false;

  std::vector<Relationship> packageRels;
  if (!ReadRelationships(archive, "", packageRels)) return false;
  const Relationship* document = FindKind(packageRels, "officeDocument");
  if (!document) return true;  // a zip, but no workbook in it
  const auto workbookIndex = archive.Find(document->part);
  if (!workbookIndex) return true;

  std::vector<SheetEntry> entries;
  std::vector<Relationship> workbookRels;
  if (!ReadWorkbookSheets(archive, *workbookIndex, entries) ||
      !ReadRelationships(archive, document->part, workbookRels))
    return false;

  // Which parts the worksheets are; a sheet whose relationship or part is missing makes the
  // package damaged rather than silently shorter.
  std::vector<uint64_t> sheetParts;
  std::vector<const SheetEntry*> sheetEntries;
  for (const auto& entry : entries) {
    const Relationship* r = FindId(workbookRels, entry.relationshipId);
    if (!r) return false;
    if (IsOtherSheetKind(r->kind)) continue;
    if (r->kind != "worksheet") return false;
    const auto part = archive.Find(r->part);
    if (!part) return false;
    sheetParts.push_back(*part);
    sheetEntries.push_back(&entry);
  }

  Grid::LoadBudget budget;
  SharedStringsJob strings;
  Zip::Archive stringsArchive;  // a second reader over the same bytes, for the other thread
  SecondThread stringsThread;   // after what its job uses: it is joined before they go
  if (const Relationship* r = FindKind(workbookRels, "sharedStrings")) {
    const auto part = archive.Find(r->part);
    if (part && !sheetParts.empty()) {
      if (!stringsArchive.Open(data, size)) return false;
      stringsThread.Start([&, index = *part] {
        strings.ok = ReadSharedStrings(stringsArchive, index, budget, strings.table);
      });
    }
  }

  std::vector<std::unique_ptr<Grid::GridSheet>> sheets;
  std::vector<std::unique_ptr<Grid::SheetBuilder>> builders;
  bool ok = true;
  for (size_t i = 0; i < sheetParts.size() && ok; ++i) {
    sheets.push_back(std::make_unique<Grid::GridSheet>(sheetEntries[i]->name));
    builders.push_back(std::make_unique<Grid::SheetBuilder>(*sheets.back(), budget));
    ok = ReadSheetPart(archive, sheetParts[i], *sheets.back(), budget, *builders.back());
  }
  stringsThread.Wait();
  if (!ok || !strings.ok) return false;

  for (auto& builder : builders) {
    if (!builder->ResolveShared(strings.table.strings)) return false;
    builder->Finish();
  }
  out.sharedTexts = std::make_unique<Grid::TextPool>(std::move(strings.table.pool));
  out.sheets = std::move(sheets);
  return true;
}

}  // namespace Xlsx
