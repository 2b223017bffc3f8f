#include "xmlread/xml_parser.h"

#include <expat.h>

#include <cstring>

namespace XmlRead {
namespace {

// Expat joins a namespace URI and a local name with this; a URI holding it is refused.
constexpr char kSeparator = ' ';

}  // namespace

QName SplitName(const char* expatName, Names names) {
  const std::string_view full(expatName);
  const size_t cut = names == Names::kResolved ? full.find(kSeparator) : full.rfind(':');
  if (cut == std::string_view::npos) return {{}, full};
  return {full.substr(0, cut), full.substr(cut + 1)};
}

const char* Attributes::Find(std::string_view local) const {
  for (const char** p = pairs_; *p; p += 2)
    if (SplitName(*p, names_).local == local) return p[1];
  return nullptr;
}

const char* Attributes::Find(std::string_view ns, std::string_view local) const {
  for (const char** p = pairs_; *p; p += 2)
    if (SplitName(*p, names_).Is(ns, local)) return p[1];
  return nullptr;
}

Parser::Parser(Handler& handler, Names names)
    : parser_(names == Names::kResolved ? XML_ParserCreateNS(nullptr, kSeparator) : XML_ParserCreate(nullptr)),
      handler_(handler),
      names_(names) {
  if (!parser_) {
    failed_ = true;
    error_ = "out of memory";
    return;
  }
  XML_SetUserData(parser_, this);
  XML_SetElementHandler(parser_, OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser_, OnText);
  XML_SetCommentHandler(parser_, OnMarkup);
  XML_SetStartDoctypeDeclHandler(parser_, OnDoctype);
  XML_SetEntityDeclHandler(parser_, OnEntity);
  XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
}

Parser::~Parser() {
  if (parser_) XML_ParserFree(parser_);
}

void* Parser::Buffer() { return failed_ ? nullptr : XML_GetBuffer(parser_, kChunkBytes); }

bool Parser::Parse(size_t count) {
  if (failed_) return false;
  fed_ += count;
  if (XML_ParseBuffer(parser_, static_cast<int>(count), count == 0) != XML_STATUS_OK) {
    if (!failed_) Fail(XML_ErrorString(XML_GetErrorCode(parser_)));
    return false;
  }
  if (fed_ - lastEvent_ > kMaxTokenBytes) Fail("token too long");
  return !failed_;
}

bool Parser::ParseAll(std::string_view document) {
  while (!document.empty()) {
    const size_t n = std::min(document.size(), kChunkBytes);
    void* buffer = Buffer();
    if (!buffer) return false;
    std::memcpy(buffer, document.data(), n);
    if (!Parse(n)) return false;
    document.remove_prefix(n);
  }
  void* buffer = Buffer();
  return buffer && Parse(0);
}

void Parser::Fail(const char* why) {
  if (!failed_) error_ = why;
  failed_ = true;
  XML_StopParser(parser_, XML_FALSE);
}

void Parser::Progress() { lastEvent_ = static_cast<uint64_t>(XML_GetCurrentByteIndex(parser_)); }

void Parser::OnStart(void* self, const char* name, const char** attributes) {
  auto* p = static_cast<Parser*>(self);
  if (p->failed_) return;
  p->Progress();
  if (++p->depth_ > kMaxDepth) return p->Fail("nested too deep");
  if (!p->handler_.StartElement(SplitName(name, p->names_), Attributes(attributes, p->names_))) p->Fail("bad content");
}

void Parser::OnEnd(void* self, const char* name) {
  auto* p = static_cast<Parser*>(self);
  if (p->failed_) return;
  p->Progress();
  --p->depth_;
  if (!p->handler_.EndElement(SplitName(name, p->names_))) p->Fail("bad content");
}

void Parser::OnText(void* self, const char* text, int length) {
  auto* p = static_cast<Parser*>(self);
  if (p->failed_) return;
  p->Progress();
  if (!p->handler_.Characters(std::string_view(text, static_cast<size_t>(length)))) p->Fail("bad content");
}

void Parser::OnMarkup(void* self, const char*) { static_cast<Parser*>(self)->Progress(); }

void Parser::OnDoctype(void* self, const char*, const char*, const char*, int) {
  static_cast<Parser*>(self)->Fail("document type declaration refused");
}

void Parser::OnEntity(void* self, const char*, int, const char*, int, const char*, const char*,
                      const char*, const char*) {
  static_cast<Parser*>(self)->Fail("entity declaration refused");
}

}  // namespace XmlRead
