// The expat functions a Parser calls, found in the shared library when the first parser is
// made instead of when the program starts: only .xlsx and .ods workbooks are XML, and every
// other build would pay for loading expat. The library stays loaded for the life of the process.
#pragma once

#include <expat.h>

namespace XmlRead {

struct ExpatCalls {
  decltype(&::XML_ParserCreate) ParserCreate;
  decltype(&::XML_ParserFree) ParserFree;
  decltype(&::XML_SetUserData) SetUserData;
  decltype(&::XML_SetElementHandler) SetElementHandler;
  decltype(&::XML_SetCharacterDataHandler) SetCharacterDataHandler;
  decltype(&::XML_SetCommentHandler) SetCommentHandler;
  decltype(&::XML_SetStartDoctypeDeclHandler) SetStartDoctypeDeclHandler;
  decltype(&::XML_SetEntityDeclHandler) SetEntityDeclHandler;
  decltype(&::XML_SetParamEntityParsing) SetParamEntityParsing;
  decltype(&::XML_GetBuffer) GetBuffer;
  decltype(&::XML_ParseBuffer) ParseBuffer;
  decltype(&::XML_GetErrorCode) GetErrorCode;
  decltype(&::XML_ErrorString) ErrorString;
  decltype(&::XML_StopParser) StopParser;
  decltype(&::XML_GetCurrentByteIndex) GetCurrentByteIndex;
};

// The calls, or null when the library or one of them cannot be found (then no XML parses).
// Safe to call from any thread.
const ExpatCalls* Expat();

}  // namespace XmlRead
