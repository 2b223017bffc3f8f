// create_fromtext_file: a text setlist with a text settings table, which has no header row.
#include "builder/build.h"
#include "builder/generic_build.h"
#include "builder/text_cell_adapter.h"
#include "textbook/text_book.h"

bool create_fromtext_file(const BuildPaths& paths, Console& console) {
  return BuildSetlist<TextBook, TextBook>(paths, console, 0);
}
