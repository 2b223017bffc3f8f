// The bounded expat parser: what it refuses (declarations, deep nesting, huge tokens, bad
// XML, a handler's stop) and the names it hands over in each naming mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xmlread/xml_parser.h"

namespace {

class Recorder : public XmlRead::Handler {
 public:
  bool StartElement(const XmlRead::QName& name, const XmlRead::Attributes& attributes) override {
    seen.push_back(std::string("<").append(name.ns).append("|").append(name.local));
    if (const char* v = attributes.Find("id")) seen.push_back("id=" + std::string(v));
    return name.local != "stop";
  }
  bool EndElement(const XmlRead::QName& name) override {
    seen.push_back(std::string(">").append(name.local));
    return true;
  }
  bool Characters(std::string_view text) override {
    this->text.append(text);
    return true;
  }
  std::vector<std::string> seen;
  std::string text;
};

bool Parses(const std::string& document, XmlRead::Names names = XmlRead::Names::kResolved) {
  Recorder recorder;
  XmlRead::Parser parser(recorder, names);
  return parser.ParseAll(document);
}

std::string Nested(int depth) {
  std::string s;
  for (int i = 0; i < depth; ++i) s += "<a>";
  for (int i = 0; i < depth; ++i) s += "</a>";
  return s;
}

TEST(XmlParser, RefusesDeclarationsDepthAndBadDocuments) {
  const std::string laughs =
      "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
      "<l>&b;</l>";
  const struct {
    const char* what;
    std::string document;
  } refused[] = {
      {"entity expansion", laughs},
      {"external entity", "<!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><x>&e;</x>"},
      {"bare doctype", "<!DOCTYPE x><x/>"},
      {"undeclared entity", "<x>&nope;</x>"},
      {"nesting thousands deep", Nested(5000)},
      {"one level past the limit", Nested(XmlRead::Parser::kMaxDepth + 1)},
      {"a token longer than the limit", "<x a=\"" + std::string(XmlRead::Parser::kMaxTokenBytes + 2 * XmlRead::Parser::kChunkBytes, 'v') + "\"/>"},
      {"unclosed", "<x><y></x>"},
      {"unbound prefix", "<p:x/>"},
      {"handler stop", "<x><stop/></x>"},
      {"empty", ""},
  };
  for (const auto& c : refused) EXPECT_FALSE(Parses(c.document)) << c.what;
  EXPECT_TRUE(Parses(Nested(XmlRead::Parser::kMaxDepth)));
  EXPECT_TRUE(Parses("<x a=\"" + std::string(1 << 20, 'v') + "\"/>"));
  EXPECT_TRUE(Parses("<?xml version=\"1.0\" encoding=\"UTF-8\"?><!-- note --><x>&amp;&#x3B1;</x>"));
}

TEST(XmlParser, HandsOverNamesAttributesAndText) {
  const std::string document = "<r xmlns=\"urn:d\" xmlns:p=\"urn:p\"><p:e id=\"7\">a&lt;b</p:e><e>c</e></r>";
  Recorder resolved, prefixed;
  XmlRead::Parser a(resolved), b(prefixed, XmlRead::Names::kPrefixed);
  ASSERT_TRUE(a.ParseAll(document));
  ASSERT_TRUE(b.ParseAll(document));
  EXPECT_EQ(resolved.seen, (std::vector<std::string>{"<urn:d|r", "<urn:p|e", "id=7", ">e", "<urn:d|e", ">e", ">r"}));
  EXPECT_EQ(prefixed.seen, (std::vector<std::string>{"<|r", "<p|e", "id=7", ">e", "<|e", ">e", ">r"}));
  EXPECT_EQ(resolved.text, "a<bc");
}

}  // namespace
