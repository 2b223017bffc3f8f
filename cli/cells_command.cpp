// tallyform-cli inspect: prints what the readers see in a table file as one JSON object,
// {"sheets":[{"rows":R,"cols":C,"cells":[[row,col,type,value],...]},...]}, with only the
// non-empty cells, row by row. `--stream` reads a raw Workbook stream instead of an .xls.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "textbook/text_book.h"
#include "xls/strings.h"
#include "xls/xls_book.h"


namespace {

void AppendJsonString(std::string& out, const std::string& utf8) {
  out += '"';
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

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
  if (!f) {
    out += "\"\"";
    return;
  }
  if (f->HasNumber()) {
    AppendNumber(out, f->Number());
    return;
  }
  switch (f->resultBytes[0]) {
    case 0: AppendJsonString(out, Xls::ToUtf8(f->wideResult)); break;  // text
    case 1: out += f->resultBytes[2] ? "1" : "0"; break;                 // Boolean
    default: out += "\"\""; break;                                       // error or empty
  }
}

void AppendXlsCell(std::string& out, int32_t r, int32_t c, const Xls::XlsCell& cell) {
  const int32_t type = cell.Type();
  out += '[' + std::to_string(r) + ',' + std::to_string(c) + ',' + std::to_string(type) + ',';
  switch (type) {
    case Xls::CellInteger: out += std::to_string(cell.GetInteger()); break;
    case Xls::CellDouble: AppendNumber(out, cell.GetDouble()); break;
    case Xls::CellString: AppendJsonString(out, Xls::Latin1ToUtf8(cell.GetString())); break;
    case Xls::CellWString: AppendJsonString(out, Xls::ToUtf8(cell.GetWString())); break;
    case Xls::CellFormula: AppendFormulaResult(out, cell.GetFormula()); break;
    default: out += "null"; break;
  }
  out += ']';
}

// Written in pieces: the text of a large sheet is never held whole.
void PrintXlsJson(Xls::XlsBook& book, FILE* to) {
  std::string out = "{\"sheets\":[";
  for (int32_t i = 0; i < book.GetTotalWorkSheets(); ++i) {
    const Xls::XlsSheet* sheet = book.GetWorksheet(i);
    if (i) out += ',';
    out += "{\"rows\":" + std::to_string(sheet->GetTotalRows()) +
           ",\"cols\":" + std::to_string(sheet->GetTotalCols()) + ",\"cells\":[";
    bool first = true;
    sheet->ForEachStoredCell([&](int32_t r, int32_t c, const Xls::XlsCell& cell) {
      if (cell.Type() == Xls::CellUndefined) return;
      if (!first) out += ',';
      first = false;
      AppendXlsCell(out, r, c, cell);
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

// Text-table bytes go out as they are when they form UTF-8, else as Latin-1.
std::string TextToUtf8(const char* text) {
  const std::string s = text ? text : "";
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = s[i];
    const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return Xls::Latin1ToUtf8(s);
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return Xls::Latin1ToUtf8(s);
    i += n;
  }
  return s;
}

// A text table is one sheet of five fields per line, each read as its text.
void PrintTextJson(TextBook& book, FILE* to) {
  constexpr uint32_t kFields = 5;
  TextSheet* sheet = book.GetWorksheet(0);
  const int32_t rows = sheet->GetTotalRows();
  std::string out = "{\"sheets\":[{\"rows\":" + std::to_string(rows) +
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
      AppendJsonString(out, TextToUtf8(cell->GetString()));
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

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "tallyform-cli: %s\n", message.c_str());
  return 1;
}

}  // namespace

int RunInspect(const Args& args) {
  bool stream = false;
  std::vector<std::string> paths;
  for (const std::string& a : args) {
    if (a == "--stream")
      stream = true;
    else
      paths.push_back(a);
  }
  if (paths.size() != 1) {
    std::fputs("usage: tallyform-cli inspect FILE\n", stderr);
    return 2;
  }
  const std::string& path = paths[0];
  const size_t dot = path.find_last_of('.');
  const std::string ext = dot == std::string::npos ? "" : Lower(path.substr(dot + 1));

  if (stream) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail("cannot read '" + path + "'");
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Xls::XlsBook book;
    if (!book.LoadStream(ByteOrder::ByteSpan(bytes.data(), bytes.size())))
      return Fail("cannot load '" + path + "' as a Workbook stream");
    PrintXlsJson(book, stdout);
    return 0;
  }
  if (ext == "xls") {
    Xls::XlsBook book;
    if (!book.Load(path)) return Fail("cannot load '" + path + "' as an .xls workbook");
    PrintXlsJson(book, stdout);
    return 0;
  }
  TextBook book;
  if (!book.Load(path)) return Fail("cannot load '" + path + "' as a text table");
  PrintTextJson(book, stdout);
  return 0;
}
