// One upload at a time on a worker thread, so the window repaints and shows each console
// line as it is printed. The lines and then the outcome are delivered, in order, through the
// event loop of the thread that made the BackgroundUpload. Destroying it asks a running
// upload to stop, waits for its thread and drops whatever was not yet delivered.
#pragma once

#include <QObject>

#include <functional>
#include <string>
#include <thread>

#include "console/console.h"
#include "upload/device_endpoint.h"
#include "upload/upload_driver.h"

class BackgroundUpload {
 public:
  using LineSink = std::function<void(const std::string& line, COLORBOX color, bool clear)>;
  using Finished = std::function<void(UploadOutcome outcome)>;

  BackgroundUpload() = default;
  BackgroundUpload(const BackgroundUpload&) = delete;
  BackgroundUpload& operator=(const BackgroundUpload&) = delete;
  ~BackgroundUpload() = default;  // the worker is asked to stop and joined before relay_ goes

  // True from Start until `done` has been delivered.
  bool running() const { return running_; }

  // Starts upload_setlist(json_file, device) unless one is running; false if one was.
  bool Start(std::string json_file, DeviceEndpoint device, LineSink line, Finished done);

 private:
  QObject relay_;        // lives on the making thread; its queued calls die with it
  bool running_ = false;  // read and written on the making thread only
  std::jthread worker_;
};
