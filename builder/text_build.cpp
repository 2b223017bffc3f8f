// create_fromtext_file: a text setlist with a text settings table, which has no header row;
// a .tsv is split at tabs, any other finds its delimiter from its first record.
#include "builder/build.h"
#include "builder/generic_build.h"
#include "builder/text_table.h"

bool create_fromtext_file(const BuildPaths& paths, Console& console) {
  const std::unique_ptr<Table> settings = MakeTextTableFor(paths.settings_file);
  const std::unique_ptr<Table> setlist = MakeTextTableFor(paths.setlist_file);
  return BuildSetlist(paths, console, *setlist, *settings);
}
