// Where the QB-7 listens: its access point's address, port and upload path, and how long it
// is given to answer. One definition, used by the upload and by "View Setlists"; tests pass
// their own loopback endpoint with a short answer limit.
#pragma once

#include <chrono>
#include <string>

// How long the device may take to answer once the request is sent, and how long a send may
// go without the device taking a byte, before the upload stops waiting.
inline constexpr std::chrono::milliseconds kDeviceAnswerLimit{3'000};

struct DeviceEndpoint {
  std::string host;
  int port;
  std::string path;
  std::chrono::milliseconds answer_limit = kDeviceAnswerLimit;
};

inline const DeviceEndpoint kQb7Device{"192.168.4.1", 80, "/save"};
