// The Upload button's work: derive the setlist name from the JSON path, read the document
// and post it to the device, reporting every step on the console. `stop` abandons an upload
// whose caller is going away (the window closing); it is never asked for otherwise.
#pragma once

#include <stop_token>
#include <string>

#include "console/console.h"
#include "upload/device_endpoint.h"

enum class UploadOutcome {
  Sent,      // the request went out whole
  Failed,    // reading the document or posting it failed (reported)
  NotNamed,  // no setlist name could be derived from the path: reported, nothing sent
};

// The whole Upload press.
UploadOutcome upload_setlist(const std::string& json_file, const DeviceEndpoint& device, Console& console,
                             std::stop_token stop = {});

// Reads `json_file` and posts it with the setlist name `input_file`; true when it failed.
bool run_winsock(const std::string& input_file, const std::string& json_file,
                 const DeviceEndpoint& device, Console& console, std::stop_token stop = {});
