// The robot under load: every log of a folder uploaded over loopback by a
// number of clients at once, each taking the next log when its last is
// answered; then one log uploaded again and again, alone. Prints the
// uploads per second, the 50th and 99th percentiles of the answer time,
// the alone median, and any upload not answered "accepted".
//
//   robot_upload_bench PORT FOLDER CLIENTS ONE_LOG REPEATS
//
// Run: scripts/bench-robot.sh

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
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

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
  return values[at];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: robot_upload_bench PORT FOLDER CLIENTS ONE_LOG REPEATS\n");
    return 2;
  }
  const int port = std::stoi(argv[1]);
  std::vector<std::string> logs;
  for (const auto& entry : fs::directory_iterator(argv[2]))
    logs.push_back(zeltra::testing::FileText(entry.path()));
  const std::size_t clients = std::stoul(argv[3]);
  const std::string one = zeltra::testing::FileText(argv[4]);
  const std::size_t repeats = std::stoul(argv[5]);

  std::atomic<std::size_t> next{0};
  std::mutex mutex;
  std::vector<double> times;
  std::size_t refused = 0;
  const auto start = Clock::now();
  std::vector<std::thread> threads;
  for (std::size_t c = 0; c < clients; ++c)
    threads.emplace_back([&] {
      httplib::Client client("127.0.0.1", port);
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

  httplib::Client client("127.0.0.1", port);
  std::vector<double> alone;
  for (std::size_t i = 0; i < repeats; ++i) alone.push_back(Upload(client, one));
  const auto failed = std::count_if(alone.begin(), alone.end(), [](double ms) { return ms < 0; });
  std::printf(
      "one log of %zu bytes alone, %zu times: receipt median %.1f ms (goal: under 50 ms)%s\n",
      one.size(), repeats, Percentile(alone, kMedian), failed > 0 ? "; SOME NOT ACCEPTED" : "");
  return refused == 0 && failed == 0 ? 0 : 1;
}
