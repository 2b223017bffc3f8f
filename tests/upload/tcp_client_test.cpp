// The socket steps' own bounds: a connect ends at its limit, a read at its byte limit, every
// wait when asked to stop; a send delivers everything whatever interrupts it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "tests/support/fake_device.h"
#include "upload/tcp_client.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// Beyond a limit, what a loaded machine may add.
constexpr milliseconds kSlack(3000);

int NewSocket() { return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0); }

// A connected pair whose far end (`peer`) nobody reads from or writes to unless a test does.
struct Pair {
  Pair() { EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0); }
  ~Pair() {
    close(fds[0]);
    if (fds[1] >= 0) close(fds[1]);
  }
  int near() const { return fds[0]; }
  int peer() const { return fds[1]; }
  void ClosePeer() {
    close(fds[1]);
    fds[1] = -1;
  }
  int fds[2];
};

const auto kNeverSettled = [](std::string_view) { return false; };

TEST(ConnectWithin, GivesUpAtItsLimitAndLeavesTheSocketBlocking) {
  fake::Device device(fake::Manner::NeverAccept);
  ASSERT_TRUE(device.full());
  const int fd = NewSocket();
  const auto start = Clock::now();
  EXPECT_EQ(ConnectWithin(fd, device.address(), milliseconds(300)), ETIMEDOUT);
  const auto took = Clock::now() - start;
  EXPECT_GE(took, milliseconds(290));
  EXPECT_LT(took, milliseconds(300) + kSlack);
  EXPECT_EQ(fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
  close(fd);
}

TEST(ConnectWithin, ConnectsWhereSomeoneListensAndReportsARefusal) {
  fake::Device device(fake::Manner::HangUp);
  const int fd = NewSocket();
  EXPECT_EQ(ConnectWithin(fd, device.address(), milliseconds(5000)), 0);
  EXPECT_EQ(fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
  close(fd);

  const int refused = NewSocket();
  EXPECT_EQ(ConnectWithin(refused, fake::Loopback(fake::UnusedPort()), milliseconds(5000)), ECONNREFUSED);
  close(refused);
}

TEST(SendAll, APeerThatHasGoneGivesAnErrorNotASignal) {
  Pair pair;
  pair.ClosePeer();
  // Without MSG_NOSIGNAL this would end the test program by SIGPIPE.
  EXPECT_EQ(SendAll(pair.near(), "request", milliseconds(1000)), EPIPE);
}

std::atomic<int> interruptions{0};
void CountInterruption(int) { interruptions.fetch_add(1, std::memory_order_relaxed); }

// A slow device that keeps taking data is no stall, however long the whole send takes.
TEST(SendAll, InterruptedAndSlowSendsAreCarriedOnToTheEnd) {
  Pair pair;
  std::string sent(1 << 20, '\0');
  for (size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>(i * 131 % 251);

  std::string received;
  std::thread reader([&] {
    sigset_t alarm;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    pthread_sigmask(SIG_BLOCK, &alarm, nullptr);  // the sender is the one to be interrupted
    char buffer[1 << 15];
    ssize_t got;
    while ((got = read(pair.peer(), buffer, sizeof buffer)) != 0) {
      if (got < 0) {
        if (errno == EINTR) continue;
        break;
      }
      received.append(buffer, static_cast<size_t>(got));
      std::this_thread::sleep_for(milliseconds(30));  // a slow device: 32 KiB every 30 ms
    }
  });

  // A timer signal without SA_RESTART cuts the sender's waits short again and again.
  struct sigaction action {}, previous{};
  action.sa_handler = CountInterruption;
  sigemptyset(&action.sa_mask);
  ASSERT_EQ(sigaction(SIGALRM, &action, &previous), 0);
  const itimerval every_ms{{0, 1000}, {0, 1000}};
  setitimer(ITIMER_REAL, &every_ms, nullptr);

  const auto start = Clock::now();
  const int result = SendAll(pair.near(), sent, milliseconds(400));
  const auto took = Clock::now() - start;

  const itimerval off{};
  setitimer(ITIMER_REAL, &off, nullptr);
  sigaction(SIGALRM, &previous, nullptr);
  shutdown(pair.near(), SHUT_WR);
  reader.join();

  EXPECT_EQ(result, 0);
  EXPECT_GT(took, milliseconds(400));  // longer than the limit, so only a stall may end it
  EXPECT_GT(interruptions.load(), 0);
  EXPECT_EQ(received.size(), sent.size());
  EXPECT_TRUE(received == sent);
}

// A reply that never ends must not fill memory for as long as the limit lasts.
TEST(ReceiveWithin, KeepsNoMoreThanItsByteLimit) {
  Pair pair;
  const std::string flood(64 * 1024, 'x');
  ASSERT_EQ(write(pair.peer(), flood.data(), flood.size()), static_cast<ssize_t>(flood.size()));
  std::string bytes;
  EXPECT_EQ(ReceiveWithin(pair.near(), bytes, 5000, milliseconds(20'000), kNeverSettled), 0);
  EXPECT_EQ(bytes.size(), 5000u);
}

// Every wait gives up promptly once asked to stop, long before its own limit.
TEST(SocketSteps, StopWhenAskedWhereverTheyWait) {
  fake::Device full(fake::Manner::NeverAccept);
  ASSERT_TRUE(full.full());
  const std::function<int(std::stop_token)> steps[] = {
      [&](std::stop_token stop) {
        const int fd = NewSocket();
        const int result = ConnectWithin(fd, full.address(), milliseconds(20'000), stop);
        close(fd);
        return result;
      },
      [](std::stop_token stop) {
        Pair pair;
        return SendAll(pair.near(), std::string(8 << 20, 'x'), milliseconds(20'000), stop);
      },
      [](std::stop_token stop) {
        Pair pair;
        std::string bytes;
        return ReceiveWithin(pair.near(), bytes, 100, milliseconds(20'000), kNeverSettled, stop);
      },
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    std::stop_source source;
    std::thread asker([&] {
      std::this_thread::sleep_for(milliseconds(100));
      source.request_stop();
    });
    const auto start = Clock::now();
    EXPECT_EQ(steps[i](source.get_token()), ECANCELED) << i;
    EXPECT_LT(Clock::now() - start, milliseconds(100) + kSlack) << i;
    asker.join();
  }
}

}  // namespace
