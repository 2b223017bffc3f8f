// Small .xlsx packages written in the test: a workbook part listing the sheets, its
// relationships, one part per sheet and an optional shared-string table, zipped with the
// test's own zip maker. Parts can be left out or replaced to make damaged packages.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/support/zip_maker.h"

namespace xlsx_package {

constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

struct Sheet {
  std::string name;
  std::string data;  // the content of <sheetData>
  std::string kind = "worksheet";
  std::string state = {};  // "hidden", "veryHidden" or empty
};

struct Package {
  std::vector<Sheet> sheets;
  std::vector<std::string> sharedStrings;  // each the inside of one <si>
  bool withSharedStrings = false;
  std::map<std::string, std::string> replace;  // part name -> content ("" drops the part)
};

inline std::string SheetPart(const std::string& data) {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><worksheet xmlns=\"") + kMain +
         "\" xmlns:r=\"" + kRel + "\"><sheetData>" + data + "</sheetData></worksheet>";
}

inline std::string Bytes(const Package& p) {
  std::map<std::string, std::string> parts;
  parts["[Content_Types].xml"] =
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"></Types>";
  parts["_rels/.rels"] = std::string("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                     "<Relationship Id=\"rId1\" Type=\"") + kRel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
  std::string sheets, rels;
  // Parts numbered backwards, so that part names never give the workbook's order away.
  for (size_t i = 0; i < p.sheets.size(); ++i) {
    const Sheet& s = p.sheets[i];
    const std::string id = "rId" + std::to_string(i + 10);
    const std::string folder = s.kind == "worksheet" ? "worksheets" : s.kind + "s";
    const std::string part = folder + "/" + s.kind + std::to_string(p.sheets.size() - i) + ".xml";
    sheets += "<sheet name=\"" + s.name + "\" sheetId=\"" + std::to_string(i + 1) + "\"" +
              (s.state.empty() ? "" : " state=\"" + s.state + "\"") + " r:id=\"" + id + "\"/>";
    rels += "<Relationship Id=\"" + id + "\" Type=\"" + kRel + "/" + s.kind + "\" Target=\"" + part + "\"/>";
    parts["xl/" + part] = SheetPart(s.data);
  }
  if (p.withSharedStrings || !p.sharedStrings.empty()) {
    std::string items;
    for (const auto& si : p.sharedStrings) items += "<si>" + si + "</si>";
    parts["xl/sharedStrings.xml"] = std::string("<sst xmlns=\"") + kMain + "\">" + items + "</sst>";
    rels += std::string("<Relationship Id=\"rId2\" Type=\"") + kRel + "/sharedStrings\" Target=\"/xl/sharedStrings.xml\"/>";
  }
  parts["xl/workbook.xml"] = std::string("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"" + kRel + "\"><sheets>" +
                             sheets + "</sheets></workbook>";
  parts["xl/_rels/workbook.xml.rels"] =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + rels + "</Relationships>";
  for (const auto& [name, content] : p.replace) parts[name] = content;
  std::vector<zip_maker::Entry> entries;
  for (const auto& [name, content] : parts)
    if (!content.empty() || !p.replace.count(name)) entries.push_back(zip_maker::File(name, content));
  return zip_maker::Archive(entries);
}

}  // namespace xlsx_package
