// The namespace bindings in force while a document is parsed without expat's own namespace
// processing (which costs the .ods content part about 40% of its parse): the prefixes that
// xmlns attributes declare, each undone at the end of its element. Resolves element and
// attribute names to their URI and local part. Owns copies of the declarations.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace XmlRead {

class NamespaceScope {
 public:
  // Whether an attribute name declares a namespace ("xmlns" or "xmlns:p").
  static bool IsDeclaration(const char* name);

  // Called at every start tag with its attribute pairs: takes its declarations. False for a
  // declaration XML forbids (an empty URI for a prefix, binding the reserved prefixes).
  bool Enter(const char** attributes);
  // Called at every end tag, after its name has been resolved.
  void Leave();

  // The URI (empty for none) and local part of a raw name; false when its prefix is not
  // bound. An unprefixed element takes the default namespace, an unprefixed attribute none.
  // The URI stays valid until the next Enter or Leave.
  bool Resolve(const char* name, bool attribute, std::string_view& uri, std::string_view& local);

 private:
  struct Binding {
    std::string prefix;  // "" for the default namespace
    std::string uri;
    int depth;
  };
  // The last prefixes looked up: a document names its elements with a handful of prefixes.
  struct Remembered {
    std::string_view prefix;
    std::string_view uri;
  };
  static constexpr size_t kRemembered = 8;

  bool Lookup(std::string_view prefix, std::string_view& uri);
  void Forget() { remembered_ = 0; }

  std::vector<Binding> bindings_;
  int depth_ = 0;
  Remembered cache_[kRemembered];
  size_t remembered_ = 0;
  size_t nextSlot_ = 0;
};

}  // namespace XmlRead
