// The whole build over two fuzzed tables: the input is split at its first NUL byte into the
// setlist and the settings table. The first byte chooses the variant; a settings workbook
// takes the text build's path through the .xls reader.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "builder/build.h"
#include "fuzz/fuzz_support.h"

namespace {

// Kept in a plain array: the exit handler below runs after static strings are destroyed.
char g_folder[] = "/tmp/tallyform-fuzz-XXXXXX";

const std::string& OutputFolder() {
  static const std::string folder = [] {
    if (!mkdtemp(g_folder)) std::abort();
    // Removed when the fuzzer exits, so runs leave no folders behind.
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(g_folder, ec);
    });
    return std::string(g_folder);
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool xls_settings = data[0] & 1;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t cut = rest.find('\0');
  const std::string_view setlist = rest.substr(0, cut);
  const std::string_view settings = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);

  MemoryFile setlist_file(reinterpret_cast<const uint8_t*>(setlist.data()), setlist.size());
  MemoryFile settings_file(reinterpret_cast<const uint8_t*>(settings.data()), settings.size());
  const BuildPaths paths{setlist_file.path(), settings_file.path(), OutputFolder() + "/setlist.json"};
  NullConsole console;
  if (xls_settings)
    create_hybrid_file(paths, console);
  else
    create_fromtext_file(paths, console);
  return 0;
}
