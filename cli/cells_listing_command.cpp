// tallyform-cli inspect: prints what the readers see in a table file as one JSON object,
// {"sheets":[{"rows":R,"cols":C,"cells":[[row,col,type,value],...]},...]}, with only the
// non-empty cells, row by row; a text table also names how it was read, before "sheets":
// {"encoding":"Windows-1252","delimiter":"semicolon",...}. The reader is the one the build
// takes for the file's extension; a kind no reader knows is refused. `--stream` reads a raw
// Workbook stream instead of an .xls.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "builder/dispatch.h"
#include "builder/table_kind.h"
#include "cli/commands.h"
#include "grid/grid_sheet.h"
#include "ods/ods_book.h"
#include "text/json_string.h"
#include "text/utf8.h"
#include "textbook/text_book.h"
#include "xls/xls_book.h"
#include "xlsx/xlsx_book.h"

const char kInspectUsage[] =
    "usage: tallyform-cli inspect [--stream] FILE\n"
    "\n"
    "Prints the cells the readers see in FILE, read by the reader its extension picks (.xls,\n"
    ".xlsx, .xlsm, .ods, or a .csv, .txt or .tsv text table; compared exactly, as the build\n"
    "compares them), as one JSON object on standard output:\n"
    "{\"sheets\":[{\"rows\":R,\"cols\":C,\"cells\":[[row,col,type,value],...]},...]}.\n"
    "  --stream  FILE is a raw Workbook stream, not an .xls file\n"
    "Exit 0 when the cells were printed, 1 when FILE is of no kind a reader knows or cannot be\n"
    "read as its kind of table, 2 for a usage error.\n";

namespace {

// Shortest text that reads back to the same double; JSON has no NaN or infinity.
void AppendNumber(std::string& out, double v) {
  if (!std::isfinite(v)) {
    out += "null";
    return;
  }
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, res.ptr);
}

void AppendFormulaResult(std::string& out, const Xls::XlsCell::Formula* f) {
  using Result = Xls::XlsCell::Formula::Result;
  switch (f ? f->ResultKind() : Result::Empty) {
    case Result::Number: AppendNumber(out, f->Number()); break;
    case Result::Text: AppendJsonString(out, Utf16ToUtf8(f->wideResult)); break;
    case Result::Boolean: out += f->BooleanResult() ? "1" : "0"; break;
    case Result::Error:
    case Result::Empty: out += "\"\""; break;
  }
}

void AppendCell(std::string& out, int32_t r, int32_t c, const Xls::XlsCell& cell) {
  const int32_t type = cell.Type();
  out += '[' + std::to_string(r) + ',' + std::to_string(c) + ',' + std::to_string(type) + ',';
  switch (type) {
    case Xls::CellInteger: out += std::to_string(cell.GetInteger()); break;
    case Xls::CellDouble: AppendNumber(out, cell.GetDouble()); break;
    case Xls::CellString: AppendJsonString(out, Latin1ToUtf8(cell.GetString())); break;
    case Xls::CellWString: AppendJsonString(out, Utf16ToUtf8(cell.GetWString())); break;
    case Xls::CellFormula: AppendFormulaResult(out, cell.GetFormula()); break;
    default: out += "null"; break;
  }
  out += ']';
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "tallyform-cli: %s\n", message.c_str());
  return 1;
}

void AppendCell(std::string& out, int32_t r, int32_t c, const Grid::GridCell& cell) {
  out += '[' + std::to_string(r) + ',' + std::to_string(c) + ',' + std::to_string(cell.Type()) + ',';
  // A formula's cached result is in the same payload as a plain cell's value.
  switch (cell.Holds()) {
    case Grid::Payload::kNumber: AppendNumber(out, cell.GetDouble()); break;
    case Grid::Payload::kBoolean: out += std::to_string(cell.GetInteger()); break;
    case Grid::Payload::kText: AppendJsonString(out, cell.GetString()); break;
    case Grid::Payload::kNone:
    case Grid::Payload::kSharedText: out += cell.Type() == Grid::CellFormula ? "\"\"" : "null"; break;
  }
  out += ']';
}

// Any workbook reader's book (.xls, .xlsx, .ods): its sheets' stored cells, in row order.
// Written in pieces: the text of a large sheet is never held whole.
template <typename Book>
void PrintWorkbookJson(Book& book, FILE* to) {
  std::string out = "{\"sheets\":[";
  for (int32_t i = 0; i < book.GetTotalWorkSheets(); ++i) {
    const auto* sheet = book.GetWorksheet(i);
    if (i) out += ',';
    out += "{\"rows\":" + std::to_string(sheet->GetTotalRows()) +
           ",\"cols\":" + std::to_string(sheet->GetTotalCols()) + ",\"cells\":[";
    bool first = true;
    sheet->ForEachStoredCell([&](int32_t r, int32_t c, const auto& cell) {
      if (cell.Type() == 0) return;  // CellUndefined in every reader
      if (!first) out += ',';
      first = false;
      AppendCell(out, r, c, cell);
      if (out.size() > (1 << 16)) {
        std::fwrite(out.data(), 1, out.size(), to);
        out.clear();
      }
    });
    out += "]}";
  }
  out += "]}\n";
  std::fwrite(out.data(), 1, out.size(), to);
}

template <typename Book>
int InspectWorkbook(const std::string& path, const char* kind) {
  Book book;
  if (!book.Load(path)) return Fail("cannot load '" + path + "' as " + kind);
  PrintWorkbookJson(book, stdout);
  return 0;
}

const char* DelimiterWord(TextDelimiter delimiter) {
  switch (delimiter) {
    case TextDelimiter::kTab: return "tab";
    case TextDelimiter::kSemicolon: return "semicolon";
    case TextDelimiter::kComma:
    case TextDelimiter::kDetect: break;
  }
  return "comma";
}

// A text table is one sheet of five fields per record, each read as its text (UTF-8, as the
// reader decoded it).
void PrintTextJson(TextBook& book, FILE* to) {
  constexpr uint32_t kFields = TextCell::kFieldCount;
  TextSheet* sheet = book.GetWorksheet(0);
  const int32_t rows = sheet->GetTotalRows();
  std::string out = std::string("{\"encoding\":\"") + TextEncodingName(book.GetEncoding()) +
                    "\",\"delimiter\":\"" + DelimiterWord(book.GetDelimiter()) +
                    "\",\"sheets\":[{\"rows\":" + std::to_string(rows) +
                    ",\"cols\":" + std::to_string(kFields) + ",\"cells\":[";
  bool first = true;
  for (int32_t r = 0; r < rows; ++r) {
    for (uint32_t c = 0; c < kFields; ++c) {
      const TextCell* cell = sheet->Cell(static_cast<uint32_t>(r), c);
      const int32_t type = cell->Type();
      if (type == 0) continue;
      if (!first) out += ',';
      first = false;
      out += '[' + std::to_string(r) + ',' + std::to_string(c) + ',' + std::to_string(type) + ',';
      AppendJsonString(out, cell->GetString());
      out += ']';
    }
    if (out.size() > (1 << 16)) {
      std::fwrite(out.data(), 1, out.size(), to);
      out.clear();
    }
  }
  out += "]}]}\n";
  std::fwrite(out.data(), 1, out.size(), to);
}

}  // namespace

int RunInspect(const Args& args) {
  bool stream = false;
  std::vector<std::string> paths;
  for (const std::string& a : args) {
    if (IsHelpOption(a)) {
      std::fputs(kInspectUsage, stdout);
      return 0;
    }
    if (a == "--stream")
      stream = true;
    else
      paths.push_back(a);
  }
  if (paths.size() != 1) {
    std::fputs(kInspectUsage, stderr);
    return 2;
  }
  const std::string& path = paths[0];
  if (stream) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail("cannot read '" + path + "'");
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Xls::XlsBook book;
    if (!book.LoadStream(ByteOrder::ByteSpan(bytes.data(), bytes.size())))
      return Fail("cannot load '" + path + "' as a Workbook stream");
    PrintWorkbookJson(book, stdout);
    return 0;
  }
  // The reader the build would use for this extension. Reading any other file as text would
  // print a zip's or an image's bytes as if they were a table.
  const std::string extension = FileExtension(path);
  const TableKind* kind = FindTableKind(extension);
  if (!kind) {
    return Fail("cannot inspect '" + path + "': no reader reads files with the extension '" + extension +
                "' (extensions are compared exactly)");
  }
  switch (kind->reader) {
    case TableReader::Xls: return InspectWorkbook<Xls::XlsBook>(path, "an .xls workbook");
    case TableReader::Xlsx: return InspectWorkbook<Xlsx::XlsxBook>(path, "an .xlsx workbook");
    case TableReader::Ods: return InspectWorkbook<Ods::OdsBook>(path, "an .ods workbook");
    case TableReader::Text: break;
  }
  TextBook book;
  const auto delimiter = static_cast<TextDelimiter>(kind->delimiter);
  if (!book.Load(path, delimiter)) return Fail("cannot load '" + path + "' as a text table");
  PrintTextJson(book, stdout);
  return 0;
}
