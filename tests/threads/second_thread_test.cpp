// The second thread's one job: its failure reaches the thread that waits, as if the job had
// run there, and a failed job leaves the helper ready for the next.
#include "threads/second_thread.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

TEST(SecondThread, CarriesTheJobsFailureToWhoWaits) {
  SecondThread second;
  second.Start([] { throw std::bad_alloc(); });
  EXPECT_THROW(second.Wait(), std::bad_alloc);
  EXPECT_NO_THROW(second.Wait());  // reported once

  int done = 0;
  second.Start([&done] { done = 1; });
  second.Wait();
  EXPECT_EQ(done, 1);

  // A job still running when the next starts is waited for first, its failure rethrown then.
  second.Start([] { throw std::runtime_error("strings"); });
  EXPECT_THROW(second.Start([] {}), std::runtime_error);
}

TEST(SecondThread, IsJoinedWhenItGoesOutOfScope) {
  int done = 0;
  {
    SecondThread second;
    second.Start([&done] { done = 1; });
  }
  EXPECT_EQ(done, 1);
}

}  // namespace
