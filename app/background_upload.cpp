#include "app/background_upload.h"

#include <utility>

namespace {

// Hands each line to the relay's thread; queued calls keep the order they were made in.
class QueuedConsole : public Console {
 public:
  QueuedConsole(QObject* receiver, BackgroundUpload::LineSink line) : receiver_(receiver), line_(std::move(line)) {}
  void string_to_textbox(const std::string& str_in, COLORBOX box_text_color, bool clear) override {
    QMetaObject::invokeMethod(
        receiver_, [line = line_, str_in, box_text_color, clear] { line(str_in, box_text_color, clear); },
        Qt::QueuedConnection);
  }

 private:
  QObject* receiver_;
  BackgroundUpload::LineSink line_;
};

}  // namespace

bool BackgroundUpload::Start(std::string json_file, DeviceEndpoint device, LineSink line, Finished done) {
  if (running_) return false;
  if (worker_.joinable()) worker_.join();  // the last one has delivered its outcome: it is ending
  running_ = true;
  worker_ = std::jthread([this, json_file = std::move(json_file), device = std::move(device), line = std::move(line),
                          done = std::move(done)](std::stop_token stop) {
    QueuedConsole console(&relay_, line);
    const UploadOutcome outcome = upload_setlist(json_file, device, console, stop);
    QMetaObject::invokeMethod(
        &relay_,
        [this, done, outcome] {
          running_ = false;
          done(outcome);
        },
        Qt::QueuedConnection);
  });
  return true;
}
