#include "upload/upload_driver.h"

#include <utility>

#include "upload/document_text.h"
#include "upload/form_post.h"

UploadOutcome upload_setlist(const std::string& json_file, const DeviceEndpoint& device, Console& console,
                             std::stop_token stop) {
  // The setlist's name is the file name without its folder and its last extension.
  std::string input_file = json_file;
  const auto slash = input_file.rfind('/');
  const size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  if (input_file.size() <= name_start) {
    console.string_to_textbox("Error creating filename ...611", RED, true);
    return UploadOutcome::NotNamed;
  }
  input_file.erase(0, name_start);
  const auto dot = input_file.rfind('.');
  if (dot == std::string::npos) {
    console.string_to_textbox("Error creating filename ...606", RED, true);
    return UploadOutcome::NotNamed;
  }
  input_file.erase(dot);
  return run_winsock(input_file, json_file, device, console, std::move(stop)) ? UploadOutcome::Failed
                                                                               : UploadOutcome::Sent;
}

bool run_winsock(const std::string& input_file, const std::string& json_file,
                 const DeviceEndpoint& device, Console& console, std::stop_token stop) {
  console.string_to_textbox("UPLOAD JSON FILE ...", BLUE, false);
  bool error_occurred = false;
  std::string document;
  if (!ReadDocumentText(json_file, document)) {
    console.string_to_textbox("Error opening .json file...", RED, true);
    console.string_to_textbox(json_file, BLACK, false);
    error_occurred = true;
  } else {
    error_occurred = postWebPage(device.host, device.port, device.path,
                                 {{"jstring", document}, {"tblval", input_file}}, console,
                                 device.limits, std::move(stop));
  }
  if (error_occurred) {
    console.string_to_textbox("Error sending .json file to QB-7!!", RED, false);
    console.string_to_textbox("Verify network connection and try again.", BLUE, false);
  } else {
    console.string_to_textbox("Successful upload...ready to go!!", GREEN, false);
  }
  return error_occurred;
}
