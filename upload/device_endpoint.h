// Where the QB-7 listens (its access point's address, port and upload path) and how long the
// upload waits on it. One definition, used by the upload and by "View Setlists"; tests pass
// their own loopback endpoint with short limits.
#pragma once

#include <chrono>
#include <string>

// An absent device: the system alone would wait about two minutes.
inline constexpr std::chrono::milliseconds kDeviceConnectLimit{10'000};
// How long the device may take to answer once the request is sent, and how long a send may
// go without the device taking a byte, before the upload stops waiting.
inline constexpr std::chrono::milliseconds kDeviceAnswerLimit{3'000};

struct UploadLimits {
  std::chrono::milliseconds connect = kDeviceConnectLimit;
  std::chrono::milliseconds answer = kDeviceAnswerLimit;
};

struct DeviceEndpoint {
  std::string host;
  int port;
  std::string path;
  UploadLimits limits = {};
};

inline const DeviceEndpoint kQb7Device{"192.168.4.1", 80, "/save"};
