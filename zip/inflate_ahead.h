// One entry inflated on a thread of its own, a few chunks ahead of its reader, so that
// inflating and what the reader does with the bytes (parsing) run on two cores. The thread
// waits while kSlots chunks are full, so memory stays at kSlots x kSlotBytes whatever the
// entry's size; the limits are those of EntryStream. Owns the thread and the chunks; the
// archive is read by that thread alone until Next has returned the end or this object goes.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "zip/zip_archive.h"

namespace Zip {

class InflateAhead {
 public:
  static constexpr size_t kSlots = 4;
  static constexpr size_t kSlotBytes = 256 * 1024;

  InflateAhead() = default;
  ~InflateAhead() { Stop(); }
  InflateAhead(const InflateAhead&) = delete;
  InflateAhead& operator=(const InflateAhead&) = delete;

  // False when the entry cannot be opened or no thread can be started (then nothing runs).
  bool Start(const Archive& archive, uint64_t index);
  // The next inflated bytes, valid until the next call; empty at the end of the entry. False
  // when the entry is damaged or inflates past a limit.
  bool Next(std::string_view& bytes);

 private:
  enum class State { kEmpty, kData, kEnd, kFailed };
  struct Slot {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
    State state = State::kEmpty;
  };

  void Inflate();
  void Stop();

  EntryStream stream_;
  Slot slots_[kSlots];
  std::mutex mutex_;
  std::condition_variable filled_, freed_;
  size_t head_ = 0;  // the slot Next reads (or holds) next
  size_t full_ = 0;  // slots filled and not yet released
  bool holding_ = false;
  bool stop_ = false;
  bool done_ = false;  // the reader has seen the end or a failure
  std::thread thread_;
};

}  // namespace Zip
