// The robot under load: every log of a folder uploaded over loopback by a
// number of clients at once, each taking the next log when its last is
// answered; then one log uploaded again and again, alone. Prints the
// uploads per second, the 50th and 99th percentiles of the answer time,
// the alone median, and any upload not answered "accepted".
//
// The clients upload from 127.0.0.2 on, one address each. With IDLE and
// SLOW, the uploads run under attack: IDLE connections that send nothing and SLOW clients, from
// ADDRESSES loopback addresses (127.0.1.1 on), opened before the uploads and kept up (reopened when
// the robot closes them) until the uploads are done: in turn one that sends a byte of its headers a
// second, one that sends a log announced as 5 MB at 1.5 KB/s, and one that asks for the list of
// logs and never reads it.
//
//   robot_upload_bench PORT FOLDER CLIENTS ONE_LOG REPEATS [IDLE SLOW [ADDRESSES]]
//
// Run: scripts/bench-robot.sh

#include <httplib.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/FileText.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr int kAccepted = 200;
constexpr int kHeld = 202;  // the one log sent again without its key
constexpr double kMedian = 0.5;
constexpr double kNinetyNinth = 0.99;

// Sends one log as the form does; answers the milliseconds, or a negative
// number when it was not kept (accepted or held).
double Upload(httplib::Client& client, const std::string& bytes) {
  const httplib::MultipartFormDataItems items = {{"log", bytes, "log.txt", "text/plain"}};
  const auto start = Clock::now();
  const httplib::Result answer = client.Post("/upload", {{"Accept", "application/json"}}, items);
  const double milliseconds =
      std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  return answer && (answer->status == kAccepted || answer->status == kHeld) ? milliseconds : -1.0;
}

constexpr std::size_t kSlowBodyBytesPerSecond = 1500;
constexpr int kSmallReceiveBuffer = 4096;

// A connection to the robot from the loopback address numbered from (0:
// 127.0.0.1), or -1.
int Connect(int port, std::size_t from = 0) {
  const int connection = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connection >= 0 && from > 0) {
    sockaddr_in source{};
    source.sin_family = AF_INET;
    constexpr std::uint32_t kLoopbackOne = (127U << 24) | (1U << 8);  // 127.0.1.0
    source.sin_addr.s_addr = htonl(kLoopbackOne + static_cast<std::uint32_t>(from));
    bind(connection, reinterpret_cast<sockaddr*>(&source), sizeof source);
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connection >= 0 &&
      connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
    return connection;
  if (connection >= 0) close(connection);
  return -1;
}

// Idle connections and slow clients, kept up until stopped; one the robot
// closed is opened again.
class Attack {
 public:
  Attack(int port, std::size_t idle, std::size_t slow, std::size_t addresses)
      : port_(port), addresses_(std::max<std::size_t>(addresses, 1)) {
    for (std::size_t i = 0; i < idle; ++i) idle_.push_back(Connect(port, 1 + i % addresses_));
    for (std::size_t i = 0; i < slow; ++i) slow_.push_back(Open(i));
    thread_ = std::thread([this] { Keep(); });
  }
  ~Attack() {
    going_ = false;
    thread_.join();
    for (const int connection : idle_) close(connection);
    for (const int connection : slow_) close(connection);
  }
  Attack(const Attack&) = delete;
  Attack& operator=(const Attack&) = delete;
  std::size_t reopened() const { return reopened_; }

 private:
  enum Kind { kHeaders, kBody, kReader, kKinds };

  int Open(std::size_t which) {
    const int connection = Connect(port_, 1 + which % addresses_);
    std::string start;
    switch (which % kKinds) {
      case kHeaders:
        start = "GET / HTTP/1.1\r\n";
        break;
      case kBody:
        start =
            "POST /upload HTTP/1.1\r\nHost: r\r\nContent-Type: multipart/form-data; "
            "boundary=xyzzy\r\nContent-Length: 5000000\r\n\r\n--xyzzy\r\n"
            "Content-Disposition: form-data; name=\"log\"; filename=\"a\"\r\n\r\n";
        break;
      default:
        setsockopt(connection, SOL_SOCKET, SO_RCVBUF, &kSmallReceiveBuffer,
                   sizeof kSmallReceiveBuffer);
        start = "GET /received.json HTTP/1.1\r\nHost: r\r\n\r\n";
    }
    send(connection, start.data(), start.size(), MSG_NOSIGNAL);
    return connection;
  }
  void Keep() {
    const std::string body(kSlowBodyBytesPerSecond, 'Q');
    while (going_) {
      std::this_thread::sleep_for(std::chrono::seconds(1));
      for (std::size_t i = 0; i < slow_.size(); ++i) {
        const Kind kind = static_cast<Kind>(i % kKinds);
        if (kind == kReader) continue;  // it never reads; the robot may close it
        const std::size_t bytes = kind == kBody ? body.size() : 1;
        if (send(slow_[i], body.data(), bytes, MSG_NOSIGNAL | MSG_DONTWAIT) > 0) continue;
        close(slow_[i]);
        slow_[i] = Open(i);
        ++reopened_;
      }
    }
  }

  int port_;
  std::size_t addresses_;
  std::vector<int> idle_;
  std::vector<int> slow_;
  std::atomic<bool> going_{true};
  std::atomic<std::size_t> reopened_{0};
  std::thread thread_;
};

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
  return values[at];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6 && argc != 8 && argc != 9) {
    std::fprintf(stderr,
                 "usage: robot_upload_bench PORT FOLDER CLIENTS ONE_LOG REPEATS [IDLE SLOW "
                 "[ADDRESSES]]\n");
    return 2;
  }
  // Every connection a descriptor: as many as the system lets this have.
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) == 0) {
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
  }
  const int port = std::stoi(argv[1]);
  std::vector<std::string> logs;
  for (const auto& entry : fs::directory_iterator(argv[2]))
    logs.push_back(zeltra::testing::FileText(entry.path()));
  const std::size_t clients = std::stoul(argv[3]);
  const std::string one = zeltra::testing::FileText(argv[4]);
  const std::size_t repeats = std::stoul(argv[5]);

  std::unique_ptr<Attack> attack;
  if (argc >= 8) {
    const std::size_t addresses = argc == 9 ? std::stoul(argv[8]) : 1;
    attack = std::make_unique<Attack>(port, std::stoul(argv[6]), std::stoul(argv[7]), addresses);
    std::printf("under attack: %s idle connections, %s slow clients from %zu addresses\n", argv[6],
                argv[7], addresses);
  }
  std::atomic<std::size_t> next{0};
  std::mutex mutex;
  std::vector<double> times;
  std::size_t refused = 0;
  const auto start = Clock::now();
  std::vector<std::thread> threads;
  for (std::size_t c = 0; c < clients; ++c)
    threads.emplace_back([&, c] {
      // Each client an entrant of its own address.
      httplib::Client client("127.0.0.1", port);
      client.set_interface("127.0.0." + std::to_string(2 + c));
      for (std::size_t i = next++; i < logs.size(); i = next++) {
        const double milliseconds = Upload(client, logs[i]);
        const std::lock_guard lock(mutex);
        if (milliseconds < 0)
          ++refused;
        else
          times.push_back(milliseconds);
      }
    });
  for (std::thread& thread : threads) thread.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf(
      "%zu uploads from %zu clients at once: %.1f uploads/s; answer time p50 %.1f ms, "
      "p99 %.1f ms; %zu not accepted\n",
      logs.size(), clients, static_cast<double>(logs.size()) / seconds, Percentile(times, kMedian),
      Percentile(times, kNinetyNinth), refused);
  if (attack) {
    std::printf("slow clients closed by the robot meanwhile (and reopened): %zu\n",
                attack->reopened());
    attack.reset();
  }

  httplib::Client client("127.0.0.1", port);
  std::vector<double> alone;
  for (std::size_t i = 0; i < repeats; ++i) alone.push_back(Upload(client, one));
  const auto failed = std::count_if(alone.begin(), alone.end(), [](double ms) { return ms < 0; });
  std::printf(
      "one log of %zu bytes alone, %zu times: receipt median %.1f ms (goal: under 50 ms)%s\n",
      one.size(), repeats, Percentile(alone, kMedian), failed > 0 ? "; SOME NOT ACCEPTED" : "");
  return refused == 0 && failed == 0 ? 0 : 1;
}
