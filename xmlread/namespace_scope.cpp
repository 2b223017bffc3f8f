#include "xmlread/namespace_scope.h"

namespace XmlRead {
namespace {

constexpr std::string_view kXmlUri = "http://www.w3.org/XML/1998/namespace";
constexpr std::string_view kXmlnsUri = "http://www.w3.org/2000/xmlns/";

}  // namespace

bool NamespaceScope::IsDeclaration(const char* name) {
  // Asked of every attribute: compared by hand, as most names differ at the first letter.
  return name[0] == 'x' && name[1] == 'm' && name[2] == 'l' && name[3] == 'n' && name[4] == 's' &&
         (name[5] == '\0' || name[5] == ':');
}

bool NamespaceScope::Enter(const char** attributes) {
  ++depth_;
  bool changed = false;
  for (const char** p = attributes; *p; p += 2) {
    const char* name = *p;
    if (!IsDeclaration(name)) continue;
    const bool prefixed = name[5] == ':';
    const std::string_view prefix = prefixed ? std::string_view(name + 6) : std::string_view();
    const std::string_view uri(p[1]);
    // The rules of XML namespaces, as expat's own processing enforces them.
    if (prefixed && (prefix.empty() || prefix.find(':') != std::string_view::npos || uri.empty())) return false;
    if (prefix == "xmlns") return false;
    if (prefix == "xml") {
      if (uri != kXmlUri) return false;
      continue;
    }
    if (uri == kXmlUri || uri == kXmlnsUri) return false;
    bindings_.push_back({std::string(prefix), std::string(uri), depth_});
    changed = true;
  }
  if (changed) Forget();
  return true;
}

void NamespaceScope::Leave() {
  bool changed = false;
  while (!bindings_.empty() && bindings_.back().depth == depth_) {
    bindings_.pop_back();
    changed = true;
  }
  --depth_;
  if (changed) Forget();
}

bool NamespaceScope::Resolve(const char* name, bool attribute, std::string_view& uri, std::string_view& local) {
  const char* colon = nullptr;
  const char* end = name;
  for (; *end; ++end)
    if (*end == ':') {
      if (colon) return false;  // a name holds at most one colon
      colon = end;
    }
  if (!colon) {
    local = std::string_view(name, static_cast<size_t>(end - name));
    if (attribute || !Lookup({}, uri)) uri = {};
    return true;
  }
  const std::string_view prefix(name, static_cast<size_t>(colon - name));
  local = std::string_view(colon + 1, static_cast<size_t>(end - colon - 1));
  if (prefix.empty() || local.empty()) return false;
  if (prefix == "xml") {
    uri = kXmlUri;
    return true;
  }
  return Lookup(prefix, uri);
}

bool NamespaceScope::Lookup(std::string_view prefix, std::string_view& uri) {
  for (size_t i = 0; i < remembered_; ++i)
    if (cache_[i].prefix.size() == prefix.size() && (prefix.empty() || cache_[i].prefix[0] == prefix[0]) &&
        cache_[i].prefix == prefix) {
      uri = cache_[i].uri;
      return true;
    }
  for (auto it = bindings_.rbegin(); it != bindings_.rend(); ++it) {
    if (it->prefix != prefix) continue;
    uri = it->uri;
    Remembered& slot = remembered_ < kRemembered ? cache_[remembered_++] : cache_[nextSlot_++ % kRemembered];
    slot = {it->prefix, it->uri};
    return true;
  }
  return false;
}

}  // namespace XmlRead
