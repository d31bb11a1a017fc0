// libFuzzer: whatever a client sends the robot, as the bytes of one
// connection to it over loopback. Each answer is an HTTP answer, and once
// it is given nothing is left half-written in the robot's incoming folder.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "fuzz/FuzzCountries.h"
#include "tools/robot/RobotServer.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kAnswerChunk = 4096;
constexpr time_t kLongestWaitSeconds = 10;
constexpr std::uint32_t kFirstSource = 0x7F010001;  // 127.1.0.1
constexpr std::uint32_t kSources = 65000;

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
    settings.threads = 2;
    settings.timeout = std::chrono::seconds(1);
    server_ = std::make_unique<zeltra::robot::RobotServer>(settings, &zeltra::fuzz::Countries());
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
  std::unique_ptr<zeltra::robot::RobotServer> server_;
  int port_ = 0;
  std::thread thread_;
};

Robot& TheRobot() {
  static Robot robot;
  return robot;
}

// Sends the bytes as one connection, says it has no more, and answers
// all the robot sent back before it closed.
std::string Exchange(int port, const std::uint8_t* data, std::size_t size) {
  const int connection = socket(AF_INET, SOCK_STREAM, 0);
  if (connection < 0) std::abort();
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  // Each connection from the next of 65,000 loopback addresses: tens of
  // thousands of connections a run would otherwise use up the ports of
  // one address, with those the robot closed first still waiting.
  static std::uint32_t next = 0;
  sockaddr_in from{};
  from.sin_family = AF_INET;
  from.sin_addr.s_addr = htonl(kFirstSource + next++ % kSources);
  if (bind(connection, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0 ||
      connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    std::abort();
  timeval wait{.tv_sec = kLongestWaitSeconds, .tv_usec = 0};
  setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  // Closed with a reset, so that tens of thousands of connections leave no
  // TIME_WAIT behind to use up the loopback's ports.
  const linger abrupt{.l_onoff = 1, .l_linger = 0};
  setsockopt(connection, SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
  std::size_t sent = 0;
  while (sent < size) {
    const ssize_t wrote = send(connection, data + sent, size - sent, MSG_NOSIGNAL);
    if (wrote <= 0) break;  // the robot closed it: refused from the headers
    sent += static_cast<std::size_t>(wrote);
  }
  shutdown(connection, SHUT_WR);
  std::string answer;
  char chunk[kAnswerChunk];
  ssize_t got = 0;
  while ((got = recv(connection, chunk, sizeof chunk, 0)) > 0)
    answer.append(chunk, static_cast<std::size_t>(got));
  close(connection);
  return answer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Robot& robot = TheRobot();
  const std::string answer = Exchange(robot.port(), data, size);
  if (!answer.empty() && answer.rfind("HTTP/1.1 ", 0) != 0) std::abort();
  if (!answer.empty() && !fs::is_empty(robot.data() / "incoming")) std::abort();
  return 0;
}
