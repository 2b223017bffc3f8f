#include "xlsx/relationships.h"

#include <cstring>

#include "xlsx/part_names.h"
#include "xmlread/xml_part.h"

namespace Xlsx {
namespace {

class RelationshipsHandler : public XmlRead::Handler {
 public:
  RelationshipsHandler(const std::string& source, std::vector<Relationship>& out) : source_(source), out_(out) {}

  bool StartElement(const XmlRead::QName& name, const XmlRead::Attributes& attributes) override {
    if (name.local != "Relationship") return true;
    const char* id = attributes.Find("Id");
    const char* type = attributes.Find("Type");
    const char* target = attributes.Find("Target");
    const char* mode = attributes.Find("TargetMode");
    if (!id || !type || !target) return true;
    Relationship r;
    r.id = id;
    const char* slash = std::strrchr(type, '/');
    r.kind = slash ? slash + 1 : type;
    if (!mode || std::strcmp(mode, "External") != 0) r.part = ResolveTarget(source_, target);
    out_.push_back(std::move(r));
    return out_.size() <= Zip::Archive::kMaxEntries * 2;  // more than any package could use
  }
  bool EndElement(const XmlRead::QName&) override { return true; }
  bool Characters(std::string_view) override { return true; }

 private:
  const std::string& source_;
  std::vector<Relationship>& out_;
};

}  // namespace

bool ReadRelationships(const Zip::Archive& archive, const std::string& sourcePart,
                       std::vector<Relationship>& out) {
  out.clear();
  const auto index = archive.Find(RelationshipsPartOf(sourcePart));
  if (!index) return true;
  RelationshipsHandler handler(sourcePart, out);
  return XmlRead::ParsePart(archive, *index, handler);
}

}  // namespace Xlsx
