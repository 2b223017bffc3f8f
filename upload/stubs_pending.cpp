// Temporary stand-ins until the upload lands.
#include "upload/form_post.h"
#include "upload/upload_driver.h"

std::optional<bool> upload_setlist(const std::string&, const DeviceEndpoint&, Console&) { return true; }
bool run_winsock(const std::string&, const std::string&, const DeviceEndpoint&, Console&) { return true; }
bool postWebPage(std::string, int, std::string, FormFields, Console&) { return true; }
