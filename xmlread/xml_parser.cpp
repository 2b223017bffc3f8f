#include "xmlread/xml_parser.h"

#include "xmlread/expat_calls.h"

#include <algorithm>
#include <cstring>

namespace XmlRead {
namespace {
// Only called once a parser exists, and so the library has been found.
const ExpatCalls& X() { return *Expat(); }
}  // namespace

Parser::Parser(Handler& handler, Names names) : parser_(nullptr), handler_(handler), names_(names) {
  if (!Expat()) {
    failed_ = true;
    error_ = "the XML library (expat) could not be loaded";
    return;
  }
  parser_ = X().ParserCreate(nullptr);
  if (!parser_) {
    failed_ = true;
    error_ = "out of memory";
    return;
  }
  X().SetUserData(parser_, this);
  X().SetElementHandler(parser_, OnStart, OnEnd);
  X().SetCharacterDataHandler(parser_, OnText);
  X().SetCommentHandler(parser_, OnMarkup);
  X().SetStartDoctypeDeclHandler(parser_, OnDoctype);
  X().SetEntityDeclHandler(parser_, OnEntity);
  X().SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
}

Parser::~Parser() {
  if (parser_) X().ParserFree(parser_);
}

void* Parser::Buffer() { return failed_ ? nullptr : X().GetBuffer(parser_, kChunkBytes); }

bool Parser::Parse(size_t count) {
  if (failed_) return false;
  fed_ += count;
  if (X().ParseBuffer(parser_, static_cast<int>(count), count == 0) != XML_STATUS_OK) {
    if (!failed_) Fail(X().ErrorString(X().GetErrorCode(parser_)));
    return false;
  }
  if (fed_ - lastEvent_ > kMaxTokenBytes) Fail("token too long");
  return !failed_;
}

bool Parser::Feed(std::string_view bytes) {
  while (!bytes.empty()) {
    const size_t n = std::min(bytes.size(), kChunkBytes);
    void* buffer = Buffer();
    if (!buffer) return false;
    std::memcpy(buffer, bytes.data(), n);
    if (!Parse(n)) return false;
    bytes.remove_prefix(n);
  }
  return !failed_;
}

bool Parser::ParseAll(std::string_view document) { return Feed(document) && Buffer() && Parse(0); }

void Parser::Fail(const char* why) {
  if (!failed_) error_ = why;
  failed_ = true;
  if (parser_) X().StopParser(parser_, XML_FALSE);
}

void Parser::Progress() { lastEvent_ = static_cast<uint64_t>(X().GetCurrentByteIndex(parser_)); }

// Prefixed names are split at their last colon; resolved ones through the scope.
bool Parser::Split(const char* raw, bool attribute, QName& out) {
  if (names_ == Names::kResolved) return scope_.Resolve(raw, attribute, out.ns, out.local);
  out = SplitPrefixed(raw);
  return true;
}

void Parser::OnStart(void* self, const char* name, const char** attributes) {
  auto* p = static_cast<Parser*>(self);
  if (p->failed_) return;
  p->Progress();
  if (++p->depth_ > kMaxDepth) return p->Fail("nested too deep");
  const bool resolved = p->names_ == Names::kResolved;
  if (resolved && !p->scope_.Enter(attributes)) return p->Fail("bad namespace declaration");
  QName element;
  if (!p->Split(name, false, element)) return p->Fail("unbound prefix");
  if (!resolved) {
    if (!p->handler_.StartElement(element, Attributes(attributes))) p->Fail("bad content");
    return;
  }
  p->attributes_.clear();
  for (const char** a = attributes; *a; a += 2) {
    if (NamespaceScope::IsDeclaration(*a)) continue;
    Attribute& attribute = p->attributes_.emplace_back();
    attribute.value = a[1];
    if (!p->Split(*a, true, attribute.name)) return p->Fail("unbound prefix");
  }
  if (!p->handler_.StartElement(element, Attributes(p->attributes_.data(), p->attributes_.size())))
    p->Fail("bad content");
}

void Parser::OnEnd(void* self, const char* name) {
  auto* p = static_cast<Parser*>(self);
  if (p->failed_) return;
  p->Progress();
  --p->depth_;
  QName element;
  // Its start tag resolved the same name; the element's declarations go after the handler.
  const bool ok = p->Split(name, false, element) && p->handler_.EndElement(element);
  if (p->names_ == Names::kResolved) p->scope_.Leave();
  if (!ok) p->Fail("bad content");
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
