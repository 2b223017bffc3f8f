#include "xlsx/shared_strings.h"

#include <string>

#include "xlsx/text_escapes.h"
#include "xmlread/xml_part.h"

namespace Xlsx {
namespace {

class SharedStringsHandler : public XmlRead::Handler {
 public:
  SharedStringsHandler(Grid::LoadBudget& budget, SharedStrings& out) : budget_(budget), out_(out) {}

  bool StartElement(const XmlRead::QName& name, const XmlRead::Attributes&) override {
    const auto& n = name.local;
    if (phonetic_ > 0) {
      phonetic_ += n == "rPh";
    } else if (n == "si") {
      inItem_ = true;
      text_.clear();
    } else if (inItem_ && n == "t") {
      inText_ = true;
    } else if (inItem_ && n == "rPh") {
      phonetic_ = 1;
    }
    return true;
  }
  bool EndElement(const XmlRead::QName& name) override {
    const auto& n = name.local;
    if (phonetic_ > 0) {
      phonetic_ -= n == "rPh";
    } else if (n == "t") {
      inText_ = false;
    } else if (n == "si" && inItem_) {
      inItem_ = false;
      const std::string_view decoded = DecodeEscapes(text_, scratch_);
      if (!budget_.TakeCells(1) || !budget_.TakeText(decoded.size() + 1)) return false;
      out_.strings.push_back(out_.pool.Add(decoded));
    }
    return true;
  }
  bool Characters(std::string_view text) override {
    if (!inText_ || phonetic_ > 0) return true;
    if (text.size() > Grid::LoadBudget::kMaxCellTextBytes - text_.size()) return false;
    text_.append(text);
    return true;
  }

 private:
  Grid::LoadBudget& budget_;
  SharedStrings& out_;
  std::string text_, scratch_;
  bool inItem_ = false;
  bool inText_ = false;
  int phonetic_ = 0;  // depth inside an <rPh> run
};

}  // namespace

bool ReadSharedStrings(const Zip::Archive& archive, uint64_t index, Grid::LoadBudget& budget, SharedStrings& out) {
  SharedStringsHandler handler(budget, out);
  // Open XML local names are unambiguous here, and resolving namespaces costs a tenth of the parse.
  return XmlRead::ParsePart(archive, index, handler, XmlRead::Names::kPrefixed);
}

}  // namespace Xlsx
