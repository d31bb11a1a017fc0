#pragma once

#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>

#include "core/logfile/CountryFile.h"
#include "tools/robot/ConnectionWatch.h"
#include "tools/robot/UploadRate.h"
#include "tools/robot/store/StoreReader.h"
#include "tools/robot/store/UploadStore.h"
#include "tools/score/ScoreOptions.h"

namespace zeltra::robot {

inline constexpr std::size_t kDefaultMaxBytes = 5 * 1024 * 1024;
inline constexpr std::size_t kDefaultPerMinute = 30;
inline constexpr std::size_t kDefaultThreads = 8;
inline constexpr int kDefaultRequestSeconds = 120;

struct RobotSettings {
  std::filesystem::path data;
  std::string host = "127.0.0.1";
  int port = 8080;  // 0: any free port
  // UTC, minutes since 1970: uploads after this minute are refused.
  std::optional<std::int64_t> deadline;
  std::size_t maxBytes = kDefaultMaxBytes;
  std::size_t perMinute = kDefaultPerMinute;
  std::size_t threads = kDefaultThreads;  // requests served at once
  std::chrono::seconds timeout{10};       // a client silent this long is dropped
  // A request still unanswered this long after it was accepted is dropped:
  // a client trickling bytes holds a thread no longer than this.
  std::chrono::seconds requestLimit{kDefaultRequestSeconds};
  score::ScoreOptions scoring;  // --from, --to
};

// The robot over HTTP: the upload form, the upload, the logs received.
// Each upload is recorded as an attempt and told on said as one line.
class RobotServer {
 public:
  // Throws StoreFailure: the data folder cannot be used, or another robot
  // serves it.
  RobotServer(RobotSettings settings, const CountryFile* countries,
              std::ostream& said = std::cerr);

  // Binds the address; answers the port (the one chosen, for port 0), or
  // none when it cannot be bound.
  std::optional<int> Bind();
  // Serves until Stop.
  bool Serve();
  void Stop() { server_.stop(); }
  // Connections dropped for taking longer than the request limit.
  std::size_t cutOff() const { return watch_.cutOff(); }

 private:
  void Upload(const httplib::Request& request, httplib::Response& response);
  // What was seen of an upload before it was refused.
  struct SeenUpload {
    std::int64_t bytes = 0;
    std::string sha256;
    std::string call;
  };
  void Refuse(const httplib::Request& request, httplib::Response& response, int status,
              const std::vector<std::string>& errors, const SeenUpload& seen);
  void Tell(const Attempt& attempt);
  void TellFailure(const std::string& what);

  RobotSettings settings_;
  const CountryFile* countries_;
  std::ostream& said_;
  std::mutex saying_;
  UploadStore store_;
  StoreReader reader_;
  UploadRate rate_;
  ConnectionWatch watch_;
  httplib::Server server_;
};

}  // namespace zeltra::robot
