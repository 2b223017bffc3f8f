#include "console/console.h"

#include <cerrno>
#include <cstring>

const char* GetLastErrorAsString(Console& console, bool send_to_display) {
  static char message[256];
  const int code = errno;
  if (code == 0) return "Undefined System Error";
  const char* text = std::strerror(code);
  std::strncpy(message, text ? text : "", sizeof message - 1);
  message[sizeof message - 1] = '\0';
  if (send_to_display && message[0] != '\0') console.string_to_textbox(message, RED, false);
  return message;
}
