// The Upload button's work: derive the setlist name from the JSON path, read the document
// and post it to the device, reporting every step on the console. `stop` abandons an upload
// whose caller is going away (the window closing); it is never asked for otherwise.
#pragma once

#include <optional>
#include <stop_token>
#include <string>

#include "builder/console.h"
#include "upload/device_endpoint.h"

// The whole Upload press. nullopt when no name could be derived (reported, nothing sent);
// otherwise the result of run_winsock (true = the upload failed), for error_occurred.
std::optional<bool> upload_setlist(const std::string& json_file, const DeviceEndpoint& device,
                                   Console& console, std::stop_token stop = {});

// Reads `json_file` and posts it with the setlist name `input_file`; true when it failed.
bool run_winsock(const std::string& input_file, const std::string& json_file,
                 const DeviceEndpoint& device, Console& console, std::stop_token stop = {});
