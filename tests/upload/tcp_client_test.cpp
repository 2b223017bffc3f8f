// The connect time limit and the send that must deliver everything, whatever interrupts it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "tests/upload/full_listener.h"
#include "upload/tcp_client.h"

namespace {

TEST(ConnectWithin, GivesUpAtItsLimitAndLeavesTheSocketBlocking) {
  FullListener listener;
  ASSERT_TRUE(listener.Fill(std::chrono::milliseconds(200)));
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ConnectWithin(fd, listener.address(), std::chrono::milliseconds(300)), ETIMEDOUT);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(290));
  EXPECT_LT(took, std::chrono::seconds(3));
  EXPECT_EQ(fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
  close(fd);
}

TEST(ConnectWithin, ConnectsWhereSomeoneListensAndReportsARefusal) {
  FullListener listener;  // its queue still has room for one
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  EXPECT_EQ(ConnectWithin(fd, listener.address(), std::chrono::seconds(5)), 0);
  EXPECT_EQ(fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
  close(fd);

  // A port that was free a moment ago, with nothing listening on it now.
  sockaddr_in nobody{};
  nobody.sin_family = AF_INET;
  nobody.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  socklen_t size = sizeof nobody;
  bind(probe, reinterpret_cast<const sockaddr*>(&nobody), sizeof nobody);
  getsockname(probe, reinterpret_cast<sockaddr*>(&nobody), &size);
  close(probe);
  const int refused = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  EXPECT_EQ(ConnectWithin(refused, nobody, std::chrono::seconds(5)), ECONNREFUSED);
  close(refused);
}

TEST(SendAll, APeerThatHasGoneGivesAnErrorNotASignal) {
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
  close(pair[1]);
  // Without MSG_NOSIGNAL this would end the test program by SIGPIPE.
  EXPECT_EQ(SendAll(pair[0], "request"), EPIPE);
  close(pair[0]);
}

std::atomic<int> interruptions{0};
void CountInterruption(int) { interruptions.fetch_add(1, std::memory_order_relaxed); }

TEST(SendAll, InterruptedAndShortSendsAreCarriedOnToTheEnd) {
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
  std::string sent(8 << 20, '\0');
  for (size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>(i * 131 % 251);

  std::string received;
  std::thread reader([&] {
    sigset_t alarm;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    pthread_sigmask(SIG_BLOCK, &alarm, nullptr);  // the sender is the one to be interrupted
    char buffer[1 << 15];
    ssize_t got;
    while ((got = read(pair[1], buffer, sizeof buffer)) != 0) {
      if (got < 0) {
        if (errno == EINTR) continue;
        break;
      }
      received.append(buffer, static_cast<size_t>(got));
      std::this_thread::sleep_for(std::chrono::microseconds(200));  // a slow device
    }
  });

  // A timer signal without SA_RESTART cuts the blocked send short again and again.
  struct sigaction action {}, previous{};
  action.sa_handler = CountInterruption;
  sigemptyset(&action.sa_mask);
  ASSERT_EQ(sigaction(SIGALRM, &action, &previous), 0);
  const itimerval every_ms{{0, 1000}, {0, 1000}};
  setitimer(ITIMER_REAL, &every_ms, nullptr);

  const int result = SendAll(pair[0], sent);

  const itimerval off{};
  setitimer(ITIMER_REAL, &off, nullptr);
  sigaction(SIGALRM, &previous, nullptr);
  close(pair[0]);
  reader.join();
  close(pair[1]);

  EXPECT_EQ(result, 0);
  EXPECT_GT(interruptions.load(), 0);
  EXPECT_EQ(received.size(), sent.size());
  EXPECT_TRUE(received == sent);
}

}  // namespace
