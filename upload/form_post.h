// One HTTP/1.1 form POST over a plain TCP connection, reporting each step on the console,
// then the device's answer, read for at most `limits.answer`. Returns true when any step
// failed or the device answered with an error status.
#pragma once

#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "console/console.h"
#include "upload/device_endpoint.h"

using FormFields = std::vector<std::pair<std::string, std::string>>;

// `limits.answer` also bounds a send that stops making progress; `stop` abandons the post
// (the caller is going away) with ECANCELED as the failure's system text.
bool postWebPage(std::string Host, int Port, std::string Path, FormFields vPostReqs, Console& console,
                 UploadLimits limits = {}, std::stop_token stop = {});
