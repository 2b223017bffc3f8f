// A bounded, namespace-aware expat parser that hands elements and text to a Handler. It
// refuses any document type declaration (so no entity is ever declared or expanded), limits
// the nesting depth and the bytes one token may span, and stops as soon as the handler
// reports bad content. Owns the expat parser; the handler belongs to the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "xmlread/namespace_scope.h"

struct XML_ParserStruct;

namespace XmlRead {

// An element or attribute name: its namespace (the URI when the parser resolves namespaces,
// else the prefix; empty when none) and its local part.
struct QName {
  std::string_view ns;
  std::string_view local;
  bool Is(std::string_view uri, std::string_view name) const { return local == name && ns == uri; }
};

// How names reach the handler: with their namespace URIs resolved, or as written, split at
// the prefix (for formats whose local names are unambiguous).
enum class Names { kResolved, kPrefixed };

// One attribute of a start tag, its name split (and resolved) once for every lookup.
struct Attribute {
  QName name;
  const char* value;
};

// A name as written, split at its last colon.
inline QName SplitPrefixed(const char* raw) {
  const char* colon = nullptr;
  const char* end = raw;
  for (; *end; ++end)
    if (*end == ':') colon = end;
  if (!colon) return {{}, std::string_view(raw, static_cast<size_t>(end - raw))};
  return {std::string_view(raw, static_cast<size_t>(colon - raw)),
          std::string_view(colon + 1, static_cast<size_t>(end - colon - 1))};
}

// The attributes of one start tag, looked up by name: resolved once per tag, or (names as
// written) split only as far as a lookup goes. Namespace declarations are among them only
// when names are not resolved.
class Attributes {
 public:
  Attributes(const Attribute* items, size_t count) : items_(items), count_(count) {}
  explicit Attributes(const char** raw) : raw_(raw) {}
  // The value of the attribute with this local name in any namespace (or none), null if absent.
  const char* Find(std::string_view local) const {
    return Walk([&](const QName& name, const char*) { return name.local == local; });
  }
  // The value of the attribute with this namespace and local name, null if absent.
  const char* Find(std::string_view ns, std::string_view local) const {
    return Walk([&](const QName& name, const char*) { return name.Is(ns, local); });
  }
  // Calls fn(name, value) for each attribute: one pass for a tag whose attributes are many.
  template <typename Fn>
  void ForEach(Fn&& fn) const {
    Walk([&](const QName& name, const char* value) {
      fn(name, value);
      return false;
    });
  }

 private:
  // Calls visit(name, value) until it returns true; the value it stopped at, or null.
  template <typename Visit>
  const char* Walk(Visit&& visit) const {
    if (raw_) {
      for (const char** p = raw_; *p; p += 2)
        if (visit(SplitPrefixed(*p), p[1])) return p[1];
      return nullptr;
    }
    for (size_t i = 0; i < count_; ++i)
      if (visit(items_[i].name, items_[i].value)) return items_[i].value;
    return nullptr;
  }

  const char** raw_ = nullptr;
  const Attribute* items_ = nullptr;
  size_t count_ = 0;
};

class Handler {
 public:
  virtual ~Handler() = default;
  // Each returns false when the content is bad; the parse then stops and fails.
  virtual bool StartElement(const QName& name, const Attributes& attributes) = 0;
  virtual bool EndElement(const QName& name) = 0;
  virtual bool Characters(std::string_view text) = 0;
};


class Parser {
 public:
  static constexpr int kMaxDepth = 256;
  // A token (a start tag with its attributes, a comment) still open after this many bytes is
  // refused before the next chunk, so one element cannot make expat buffer the whole part.
  static constexpr uint64_t kMaxTokenBytes = uint64_t{8} << 20;
  static constexpr size_t kChunkBytes = 64 * 1024;

  explicit Parser(Handler& handler, Names names = Names::kResolved);
  ~Parser();
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;

  // A buffer of kChunkBytes to fill with the next bytes, then Parse(count); count 0 ends the
  // document. Both false once the document is bad; Error() says why.
  void* Buffer();
  bool Parse(size_t count);
  // The next bytes of the document, held elsewhere; then Parse(0) ends it.
  bool Feed(std::string_view bytes);
  // The whole document held elsewhere (tests, small parts).
  bool ParseAll(std::string_view document);
  const std::string& Error() const { return error_; }

 private:
  static void OnStart(void* self, const char* name, const char** attributes);
  static void OnEnd(void* self, const char* name);
  static void OnText(void* self, const char* text, int length);
  static void OnMarkup(void* self, const char*);
  static void OnDoctype(void* self, const char*, const char*, const char*, int);
  static void OnEntity(void* self, const char*, int, const char*, int, const char*, const char*,
                       const char*, const char*);
  void Fail(const char* why);
  void Progress();
  bool Split(const char* raw, bool attribute, QName& out);

  XML_ParserStruct* parser_;
  Handler& handler_;
  Names names_;
  NamespaceScope scope_;
  std::vector<Attribute> attributes_;  // the current start tag's, reused from tag to tag
  int depth_ = 0;
  uint64_t fed_ = 0;
  uint64_t lastEvent_ = 0;
  bool failed_ = false;
  std::string error_;
};

}  // namespace XmlRead
