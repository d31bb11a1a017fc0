// zeltra-robot killed with SIGKILL in the middle of many uploads, run after
// run: each run starts the robot on a data folder, sends 50 logs at once,
// kills it after a random number of answers, and tells what the kill left
// (pieces in incoming/, log files no record names) and what a restart
// finds: every log answered "accepted" there byte for byte, or not.
//
//   robot_kill_runs ZELTRA_ROBOT DATA_FOLDER RUNS [SEED]
//
// Run: scripts/kill-robot.sh

#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/FileText.h"
#include "support/FreePort.h"
#include "tools/robot/UploadCheck.h"
#include "tools/robot/store/StoreReader.h"
#include "tools/robot/store/UploadStore.h"

namespace {

namespace fs = std::filesystem;
constexpr int kUploads = 50;
constexpr int kAccepted = 200;
constexpr int kStartTries = 200;
constexpr std::chrono::milliseconds kStartPause{25};
constexpr std::size_t kSoapboxBytes = 20000;

std::size_t FilesIn(const fs::path& folder) {
  std::size_t count = 0;
  std::error_code error;
  for (fs::directory_iterator file(folder, error), end; !error && file != end;
       file.increment(error))
    ++count;
  return count;
}

std::string CallOf(int i) {
  return "SP" + std::to_string(i % 10) + "K" + std::string(1, static_cast<char>('A' + i / 10));
}

std::string LogOf(const std::string& call) {
  return "START-OF-LOG: 3.0\nCALLSIGN: " + call + "\nSOAPBOX: " + std::string(kSoapboxBytes, 'x') +
         "\nQSO: 14080 RY 2026-12-05 1000 " + call + " 599 K DL1ABC 599 001\nEND-OF-LOG:\n";
}

pid_t Start(const char* robot, const fs::path& data, int port) {
  const pid_t child = fork();
  if (child == 0) {
    const std::string listen = "127.0.0.1:" + std::to_string(port);
    const std::string folder = data.string();
    execl(robot, robot, "serve", "--data", folder.c_str(), "--listen", listen.c_str(),
          "--per-minute", "0", "--per-address", "100", "--from", "2026-12-05 00:00", "--to",
          "2026-12-06 00:00", static_cast<char*>(nullptr));
    _exit(127);
  }
  return child;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: robot_kill_runs ZELTRA_ROBOT DATA_FOLDER RUNS [SEED]\n");
    return 2;
  }
  const char* robot = argv[1];
  const fs::path data = argv[2];
  const int runs = std::stoi(argv[3]);
  std::mt19937 random(argc == 5 ? static_cast<unsigned>(std::stoul(argv[4])) : 2612U);
  int lost = 0;
  for (int run = 1; run <= runs; ++run) {
    fs::remove_all(data);
    const int port = zeltra::testing::FreeLoopbackPort();
    const pid_t child = Start(robot, data, port);
    httplib::Client probe("127.0.0.1", port);
    probe.set_connection_timeout(std::chrono::seconds(1));
    for (int tries = 0; tries < kStartTries && !probe.Get("/"); ++tries)
      std::this_thread::sleep_for(kStartPause);
    const int killAfter = std::uniform_int_distribution<int>(0, kUploads - 1)(random);
    std::mutex mutex;
    std::map<std::string, std::string> accepted;  // call: SHA-256
    std::atomic<int> answered{0};
    std::vector<std::thread> senders;
    for (int i = 0; i < kUploads; ++i)
      senders.emplace_back([&, i] {
        httplib::Client sender("127.0.0.1", port);
        const std::string call = CallOf(i);
        const std::string bytes = LogOf(call);
        const httplib::MultipartFormDataItems items = {{"log", bytes, "a.log", "text/plain"}};
        const auto result = sender.Post("/upload", {{"Accept", "application/json"}}, items);
        if (result && result->status == kAccepted) {
          const std::lock_guard lock(mutex);
          accepted[call] = zeltra::robot::Sha256(bytes);
        }
        ++answered;
      });
    while (answered < killAfter) std::this_thread::sleep_for(std::chrono::microseconds(100));
    const int answeredAtKill = answered;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    for (std::thread& sender : senders) sender.join();
    const std::size_t pieces = FilesIn(data / "incoming");
    const std::size_t files = FilesIn(data / "logs");

    // Started again on the folder (the store does what the robot does on
    // start): every accepted log there as sent.
    const zeltra::robot::UploadStore reopened(data);
    const zeltra::robot::StoreReader store(data);
    std::map<std::string, std::string> kept;  // call: SHA-256 of the file kept
    std::size_t records = 0;
    for (const zeltra::robot::KeptLog& log : store.Current()) {
      ++records;
      kept[log.facts.call] = zeltra::robot::Sha256(zeltra::testing::FileText(store.FileOf(log.id)));
    }
    int found = 0;
    for (const auto& [call, sha256] : accepted) found += kept.count(call) && kept[call] == sha256;
    lost += static_cast<int>(accepted.size()) - found;
    std::printf(
        "run %d: killed with %d of %d answered (%zu accepted in all); it left %zu piece(s) in "
        "incoming/ "
        "and %zu file(s) in logs/; restarted: %zu records, %d of the %zu accepted there byte for "
        "byte, incoming/ holds %zu, logs/ %zu\n",
        run, answeredAtKill, kUploads, accepted.size(), pieces, files, records, found,
        accepted.size(), FilesIn(data / "incoming"), FilesIn(data / "logs"));
    std::fflush(stdout);
  }
  std::printf("%d accepted log(s) lost in %d runs\n", lost, runs);
  return lost == 0 ? 0 : 1;
}
