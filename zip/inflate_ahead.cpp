#include "zip/inflate_ahead.h"

#include <new>
#include <system_error>

namespace Zip {

bool InflateAhead::Start(const Archive& archive, uint64_t index) {
  if (thread_.joinable() || !stream_.Open(archive, index)) return false;
  try {
    thread_ = std::thread(&InflateAhead::Inflate, this);
  } catch (const std::system_error&) {
    stream_.Close();
    return false;
  }
  return true;
}

void InflateAhead::Inflate() {
  size_t tail = 0;
  bool ended = false;
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      freed_.wait(lock, [&] { return stop_ || full_ < kSlots; });
      if (stop_) return;
    }
    // A slot that is not full belongs to this thread until it is published.
    Slot& slot = slots_[tail];
    State state = State::kEnd;
    size_t size = 0;
    if (!ended) {
      state = State::kData;
      try {
        if (!slot.bytes) slot.bytes = std::make_unique_for_overwrite<char[]>(kSlotBytes);
      } catch (const std::bad_alloc&) {
        state = State::kFailed;
      }
      while (state == State::kData && size < kSlotBytes) {
        const int64_t got = stream_.Read(slot.bytes.get() + size, kSlotBytes - size);
        if (got < 0) state = State::kFailed;
        else if (got == 0) ended = true;
        if (got <= 0) break;
        size += static_cast<size_t>(got);
      }
      if (state == State::kData && size == 0) state = State::kEnd;
    }
    if (state != State::kData) stream_.Close();  // the archive is not touched past this
    {
      std::lock_guard lock(mutex_);
      slot.size = size;
      slot.state = state;
      ++full_;
    }
    filled_.notify_one();
    if (state != State::kData) return;
    tail = (tail + 1) % kSlots;
  }
}

bool InflateAhead::Next(std::string_view& bytes) {
  bytes = {};
  if (!thread_.joinable()) return false;
  std::unique_lock lock(mutex_);
  if (holding_) {
    holding_ = false;
    slots_[head_].state = State::kEmpty;
    head_ = (head_ + 1) % kSlots;
    --full_;
    freed_.notify_one();
  }
  if (done_) return slots_[head_].state != State::kFailed;
  filled_.wait(lock, [&] { return full_ > 0; });
  const Slot& slot = slots_[head_];
  switch (slot.state) {
    case State::kData:
      bytes = std::string_view(slot.bytes.get(), slot.size);
      holding_ = true;
      return true;
    case State::kEnd:
      done_ = true;
      return true;
    default:
      done_ = true;
      return false;
  }
}

void InflateAhead::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  freed_.notify_all();
  thread_.join();
  stream_.Close();
}

}  // namespace Zip
