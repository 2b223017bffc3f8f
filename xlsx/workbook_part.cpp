#include "xlsx/workbook_part.h"

#include <cstring>

#include "xmlread/xml_part.h"

namespace Xlsx {
namespace {

class WorkbookHandler : public XmlRead::Handler {
 public:
  explicit WorkbookHandler(std::vector<SheetEntry>& out) : out_(out) {}

  bool StartElement(const XmlRead::QName& name, const XmlRead::Attributes& attributes) override {
    if (name.local == "sheets") {
      ++inSheets_;
    } else if (inSheets_ > 0 && name.local == "sheet") {
      SheetEntry entry;
      if (const char* n = attributes.Find("name")) entry.name = n;
      // r:id; its namespace differs between transitional and strict files.
      if (const char* id = attributes.Find("id")) entry.relationshipId = id;
      if (const char* state = attributes.Find("state")) entry.hidden = std::strcmp(state, "visible") != 0;
      out_.push_back(std::move(entry));
      if (out_.size() > Zip::Archive::kMaxEntries) return false;  // every sheet needs a part
    }
    return true;
  }
  bool EndElement(const XmlRead::QName& name) override {
    if (name.local == "sheets" && inSheets_ > 0) --inSheets_;
    return true;
  }
  bool Characters(std::string_view) override { return true; }

 private:
  std::vector<SheetEntry>& out_;
  int inSheets_ = 0;
};

}  // namespace

bool ReadWorkbookSheets(const Zip::Archive& archive, uint64_t index, std::vector<SheetEntry>& out) {
  out.clear();
  WorkbookHandler handler(out);
  return XmlRead::ParsePart(archive, index, handler);
}

}  // namespace Xlsx
