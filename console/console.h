// The status console as the builds and the upload see it: one coloured line at a time.
// The window implements it over its rich-text box, the CLI over standard output; the
// builds and the upload only ever talk to this interface, so both run the same code.
#pragma once

#include <string>

// Line colours. Any other value keeps the colour of the line before.
enum COLORBOX : int { BLACK = 0, BLUE = 1, RED = 2, GREEN = 3 };

class Console {
 public:
  virtual ~Console() = default;
  // Appends `str_in` (UTF-8) as one line in `box_text_color`; `clear` empties the console first.
  virtual void string_to_textbox(const std::string& str_in, COLORBOX box_text_color, bool clear) = 0;
};

// The text of the last system error (errno), at most 255 characters, in a buffer shared by
// every call. Returns "Undefined System Error" when errno is 0. With `send_to_display` and a
// non-empty text, also prints it in red on `console`.
const char* GetLastErrorAsString(Console& console, bool send_to_display);
