// One HTTP/1.1 form POST over a plain TCP connection, reporting each step on the console,
// then the device's answer, read for at most `answer_limit`. Returns true when any step
// failed or the device answered with an error status.
#pragma once

#include <chrono>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "builder/console.h"
#include "upload/device_endpoint.h"

using FormFields = std::vector<std::pair<std::string, std::string>>;

// `answer_limit` also bounds a send that stops making progress; `stop` abandons the post
// (the caller is going away) with ECANCELED as the failure's system text.
bool postWebPage(std::string Host, int Port, std::string Path, FormFields vPostReqs, Console& console,
                 std::chrono::milliseconds answer_limit = kDeviceAnswerLimit, std::stop_token stop = {});
