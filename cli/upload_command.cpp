// tallyform-cli upload JSON: the "Upload" step from a shell, to the device or to the address
// and port given, with the document checked before any connection.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/commands.h"
#include "cli/stdout_console.h"
#include "cli/upload_document.h"
#include "upload/device_endpoint.h"
#include "upload/upload_driver.h"

const char kUploadUsage[] =
    "usage: tallyform-cli upload JSON [--host ADDR] [--port N]\n"
    "  JSON         the setlist document to send: a JSON array of at most 16 MiB (its name,\n"
    "               less the extension, names the setlist)\n"
    "  --host ADDR  the device's IPv4 address (default 192.168.4.1)\n"
    "  --port N     the device's TCP port, 1 to 65535 (default 80)\n"
    "Sends it exactly as \"Upload\" does; the steps go to standard output.\n"
    "Exit 0 when the document was sent, 1 when the upload failed or the file was refused\n"
    "before connecting, 2 for a usage error.\n";

namespace {

int UsageError(const std::string& why) {
  std::fprintf(stderr, "tallyform-cli upload: %s\n%s", why.c_str(), kUploadUsage);
  return 2;
}

bool ParsePort(const std::string& text, int& port) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  port = std::atoi(text.c_str());
  return port >= 1 && port <= 65535;
}

}  // namespace

int RunUpload(const Args& args) {
  DeviceEndpoint device = kQb7Device;
  std::string json_file;
  bool have_json = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string option = arg;
    std::string value;
    bool has_value = false;
    if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      option = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      has_value = true;
    }
    if (option == "--host" || option == "--port") {
      if (!has_value) {
        if (i + 1 >= args.size()) return UsageError(option + " needs a value");
        value = args[++i];
      }
      if (option == "--host") {
        if (value.empty()) return UsageError("--host needs an address");
        device.host = value;
      } else if (!ParsePort(value, device.port)) {
        return UsageError("--port must be a number from 1 to 65535, not '" + value + "'");
      }
    } else if (IsHelpOption(arg)) {
      std::fputs(kUploadUsage, stdout);
      return 0;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return UsageError("unknown option '" + arg + "'");
    } else if (have_json) {
      return UsageError("only one JSON file can be sent");
    } else {
      json_file = arg;
      have_json = true;
    }
  }
  if (!have_json) return UsageError("the JSON file is missing");
  if (const auto refusal = UploadRefusal(json_file)) {
    std::fprintf(stderr, "tallyform-cli upload: not sending %s: %s\n", json_file.c_str(), refusal->c_str());
    return 1;
  }

  // Nearly every step of the upload is followed by a wait on the device: each line goes out
  // at once, so the user sees where it waits.
  StdoutConsole console(StdoutConsole::Flushing::kEachLine);
  const UploadOutcome outcome = upload_setlist(json_file, device, console);
  console.Flush();
  return outcome == UploadOutcome::Sent ? 0 : 1;
}
