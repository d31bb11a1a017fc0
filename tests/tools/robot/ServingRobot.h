#pragma once

// A robot serving in the test's own process on a free loopback port, and
// what the tests send it.

#include <httplib.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "core/logfile/CountryFile.h"
#include "support/FileText.h"
#include "tools/robot/RobotServer.h"

namespace zeltra::robot {

namespace fs = std::filesystem;

inline std::string CabrilloOf(const std::string& call, const std::string& header = "") {
  return "START-OF-LOG: 3.0\nCALLSIGN: " + call + "\n" + header + "QSO: 14080 RY 2026-12-05 1000 " +
         call +
         " 599 K DL1ABC 599 001\n"
         "QSO: 7040 RY 2026-12-05 1100 " +
         call + " 599 K OK1XYZ 599 002\nEND-OF-LOG:\n";
}

// An upload as a browser sends it: the log in the form's field "log".
inline httplib::Result Send(httplib::Client& client, const std::string& bytes,
                            const std::string& field = "log", const std::string& name = "my.log",
                            bool json = true, const std::string& key = "") {
  httplib::MultipartFormDataItems items = {{field, bytes, name, "application/octet-stream"}};
  if (!key.empty()) items.push_back({"key", key, "", ""});
  httplib::Headers headers;
  if (json) headers.emplace("Accept", "application/json");
  return client.Post("/upload", headers, items);
}

inline const std::string kCountryFile = std::string(ZELTRA_SCORE_CASES) + "/cty.dat";

inline const CountryFile& Countries() {
  static const CountryFile countries = CountryFile::Parse(zeltra::testing::FileText(kCountryFile));
  return countries;
}

// A robot serving in this process on a free port, stopped when it goes.
class ServingRobot {
 public:
  explicit ServingRobot(RobotSettings settings)
      : server_(std::move(settings), &Countries(), said_) {
    port_ = server_.Bind().value_or(0);
    thread_ = std::thread([this] { server_.Serve(); });
  }
  ~ServingRobot() {
    server_.Stop();
    thread_.join();
  }
  httplib::Client Client() const { return httplib::Client("127.0.0.1", port_); }
  int port() const { return port_; }
  std::size_t CutOff() const { return server_.CutOff(); }
  // What it told the organiser; read once its answers are in.
  std::string said() const { return said_.str(); }

 private:
  std::ostringstream said_;
  RobotServer server_;
  int port_ = 0;
  std::thread thread_;
};

inline RobotSettings Settings(const fs::path& data) {
  RobotSettings settings;
  settings.data = data;
  settings.port = 0;
  settings.maxBytes = 4096;
  settings.perMinute = 0;
  settings.http.threads = 2;
  settings.http.perAddress = 200;
  return settings;
}

}  // namespace zeltra::robot
