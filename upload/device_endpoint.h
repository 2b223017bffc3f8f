// Where the QB-7 listens: its access point's address, port and upload path.
// One definition, used by the upload and by "View Setlists"; tests pass their own loopback endpoint.
#pragma once

#include <string>

struct DeviceEndpoint {
  std::string host;
  int port;
  std::string path;
};

inline const DeviceEndpoint kQb7Device{"192.168.4.1", 80, "/save"};
