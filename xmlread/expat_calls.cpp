#include "xmlread/expat_calls.h"

#include "lazylib/shared_library.h"

namespace XmlRead {
namespace {

bool Load(ExpatCalls& x) {
  using LazyLib::Find;
  // The soname the build was configured against: the calls' types are that version's.
  void* library = LazyLib::Open(TALLYFORM_EXPAT_SONAME);
  if (!library) return false;
  return Find(library, "XML_ParserCreate", x.ParserCreate) && Find(library, "XML_ParserFree", x.ParserFree) &&
         Find(library, "XML_SetUserData", x.SetUserData) &&
         Find(library, "XML_SetElementHandler", x.SetElementHandler) &&
         Find(library, "XML_SetCharacterDataHandler", x.SetCharacterDataHandler) &&
         Find(library, "XML_SetCommentHandler", x.SetCommentHandler) &&
         Find(library, "XML_SetStartDoctypeDeclHandler", x.SetStartDoctypeDeclHandler) &&
         Find(library, "XML_SetEntityDeclHandler", x.SetEntityDeclHandler) &&
         Find(library, "XML_SetParamEntityParsing", x.SetParamEntityParsing) &&
         Find(library, "XML_GetBuffer", x.GetBuffer) && Find(library, "XML_ParseBuffer", x.ParseBuffer) &&
         Find(library, "XML_GetErrorCode", x.GetErrorCode) && Find(library, "XML_ErrorString", x.ErrorString) &&
         Find(library, "XML_StopParser", x.StopParser) &&
         Find(library, "XML_GetCurrentByteIndex", x.GetCurrentByteIndex);
}

}  // namespace

const ExpatCalls* Expat() { return LazyLib::LoadOnce(Load); }

}  // namespace XmlRead
