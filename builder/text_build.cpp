// create_fromtext_file: a text setlist with a text settings table, which has no header row.
#include "builder/build.h"
#include "builder/generic_build.h"
#include "builder/text_table.h"

bool create_fromtext_file(const BuildPaths& paths, Console& console) {
  const std::unique_ptr<Table> settings = MakeTextTable();
  const std::unique_ptr<Table> setlist = MakeTextTable();
  return BuildSetlist(paths, console, *setlist, *settings);
}
