// libFuzzer: whatever a client sends the robot, as the bytes of one
// connection to it over loopback. Each answer is an HTTP answer, and once
// the robot has answered and closed, nothing is left half-written in its
// incoming folder.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

#include "fuzz/FuzzCountries.h"
#include "tools/robot/RobotServer.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kAnswerChunk = 4096;
// A request the robot can answer is answered at once; one it cannot (a
// line without its end, a body cut short) waits for its idle timeout,
// which the fuzzer does not wait for: the answer so far is taken.
constexpr suseconds_t kLongestWaitMicroseconds = 100'000;

// One robot for the whole run, on a free port, with its data in a folder
// in the working one, emptied when the run starts (libFuzzer may end the
// run without destructors).
class Robot {
 public:
  Robot() : data_(fs::absolute("robot-request-fuzz.data")) {
    fs::remove_all(data_);
    zeltra::robot::RobotSettings settings;
    settings.data = data_;
    settings.port = 0;
    settings.maxBytes = 64 * 1024;
    settings.perMinute = 0;
    settings.http.threads = 2;
    settings.http.idle = std::chrono::seconds(1);
    settings.http.headers = std::chrono::seconds(2);
    server_ = std::make_unique<zeltra::robot::RobotServer>(settings, &zeltra::fuzz::Countries(),
                                                           unheard_);
    port_ = server_->Bind().value_or(0);
    if (port_ == 0) std::abort();
    thread_ = std::thread([this] { server_->Serve(); });
  }
  ~Robot() {
    server_->Stop();
    thread_.join();
  }
  int port() const { return port_; }
  const fs::path& data() const { return data_; }

 private:
  fs::path data_;
  std::ostream unheard_{nullptr};  // the attempts' lines, not wanted here
  std::unique_ptr<zeltra::robot::RobotServer> server_;
  int port_ = 0;
  std::thread thread_;
};

Robot& TheRobot() {
  static Robot robot;
  return robot;
}

// Sends the bytes as one connection, says it has no more, and answers
// all the robot sent back before it closed, or before the wait ran out
// (the connection is then left to the robot's idle timeout).
std::string Exchange(int port, const std::uint8_t* data, std::size_t size) {
  const int connection = socket(AF_INET, SOCK_STREAM, 0);
  if (connection < 0) std::abort();
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    // libFuzzer's timers interrupt calls that wait; an interrupted connect
    // goes on by itself, and is waited for.
    int error = errno;
    if (error == EINTR) {
      pollfd ready{.fd = connection, .events = POLLOUT, .revents = 0};
      while (poll(&ready, 1, -1) < 0 && errno == EINTR) {
      }
      socklen_t size = sizeof error;
      getsockopt(connection, SOL_SOCKET, SO_ERROR, &error, &size);
    }
    if (error != 0) {
      std::fprintf(stderr, "robot-request-fuzz: cannot connect: %s\n", std::strerror(error));
      std::abort();
    }
  }
  timeval wait{.tv_sec = 0, .tv_usec = kLongestWaitMicroseconds};
  setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  // Closed with a reset, so that tens of thousands of connections leave no
  // TIME_WAIT behind to use up the loopback's ports.
  const linger abrupt{.l_onoff = 1, .l_linger = 0};
  setsockopt(connection, SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
  std::size_t sent = 0;
  while (sent < size) {
    const ssize_t wrote = send(connection, data + sent, size - sent, MSG_NOSIGNAL);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) break;  // the robot closed it: refused from the headers
    sent += static_cast<std::size_t>(wrote);
  }
  shutdown(connection, SHUT_WR);
  std::string answer;
  char chunk[kAnswerChunk];
  for (;;) {
    const ssize_t got = recv(connection, chunk, sizeof chunk, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    answer.append(chunk, static_cast<std::size_t>(got));
  }
  close(connection);
  return answer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Robot& robot = TheRobot();
  const std::string answer = Exchange(robot.port(), data, size);
  if (!answer.empty() && answer.rfind("HTTP/1.", 0) != 0) std::abort();
  // Once the robot has answered and closed, its pieces go with the
  // connection (a moment after, on the robot's thread).
  if (answer.empty() || answer.find("Connection: close") == std::string::npos) return 0;
  constexpr int kTries = 100;
  for (int tries = 0; tries < kTries && !fs::is_empty(robot.data() / "incoming"); ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (!fs::is_empty(robot.data() / "incoming")) std::abort();
  return 0;
}
