// SecondThread: one job at a time on a second thread, or on the caller's when no thread is
// to be had. Wait joins it and rethrows there what the job threw (a failed allocation), as if
// it had run in place; destruction joins too, so a job never outlives what it refers to.
// Owns the thread; the job's captures are the caller's to keep alive until Wait.
#pragma once

#include <exception>
#include <system_error>
#include <thread>
#include <utility>

class SecondThread {
 public:
  SecondThread() = default;
  SecondThread(const SecondThread&) = delete;
  SecondThread& operator=(const SecondThread&) = delete;
  ~SecondThread() {
    if (thread_.joinable()) thread_.join();
  }

  template <typename Job>
  void Start(Job job) {
    Wait();
    try {
      thread_ = std::thread([this, job] {
        try {
          job();
        } catch (...) {
          failure_ = std::current_exception();
        }
      });
    } catch (const std::system_error&) {
      job();
    }
  }

  void Wait() {
    if (thread_.joinable()) thread_.join();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  }

 private:
  std::thread thread_;
  std::exception_ptr failure_;
};
