// The robot over real HTTP on loopback: in this process for the answers
// to each kind of upload, and as its own program for a kill -9 in the
// middle of many uploads at once.

#include "tools/robot/RobotServer.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "support/FileText.h"
#include "support/FreePort.h"
#include "support/SqliteLog.h"
#include "tools/robot/CommandRun.h"
#include "tools/robot/Gzip.h"
#include "tools/robot/LogExport.h"
#include "tools/robot/RobotProcess.h"
#include "tools/robot/ServingRobot.h"
#include "tools/robot/UploadCheck.h"
#include "tools/robot/store/StoreReader.h"

namespace zeltra::robot {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using zeltra::testing::FileText;

TEST(RobotServer, EachUploadIsAnsweredAtOnce) {
  zeltra::testing::TemporaryFolder data;
  ServingRobot robot(Settings(data.path()));
  httplib::Client client = robot.Client();
  EXPECT_EQ(Json::parse(client.Get("/received.json")->body), Json::parse(R"({"logs": []})"));
  struct Case {
    std::string name;
    std::string bytes;
    std::string field;
    std::string fileName;
    int status;
    std::string call;             // accepted: the call; refused: a word of the reason
    std::optional<int> replaces;  // accepted: the receipt it replaces
  };
  const std::vector<Case> cases = {
      {"a Cabrillo log", CabrilloOf("SP9AHW"), "log", "sp9ahw.log", 200, "SP9AHW", std::nullopt},
      {"a new version without the key", CabrilloOf("SP9AHW", "SOAPBOX: again\n"), "log", "x.log",
       202, "SP9AHW", std::nullopt},
      {"a client's name that climbs out", CabrilloOf("DL1ABC"), "log", "../../../etc/passwd", 200,
       "DL1ABC", std::nullopt},
      {"no log", "Dear manager, my log follows.", "log", "mail.txt", 422, "not a log",
       std::nullopt},
      {"no own call", "<CALL:6>DL1ABC<BAND:3>20m<MODE:4>RTTY<EOR>", "log", "a.adi", 422, "own call",
       std::nullopt},
      {"an empty file", "", "log", "empty.log", 422, "empty", std::nullopt},
      {"the wrong field", CabrilloOf("SP5ZZZ"), "file", "sp5zzz.log", 400, "no log was sent",
       std::nullopt},
      {"too large", CabrilloOf("SP6YYY") + std::string(5000, '\n'), "log", "big.log", 413,
       "5162 bytes; the robot takes at most 4096", std::nullopt},
      {"too large to be read, told by its length", std::string(70 * 1024, 'x'), "log", "huge.log",
       413, "larger than the robot takes: at most 4096", std::nullopt},
      {"as large as it may be",
       CabrilloOf("SP7XXX") + std::string(4096 - CabrilloOf("SP7XXX").size(), '\n'), "log",
       "full.log", 200, "SP7XXX", std::nullopt},
      {"packed small, too large unpacked", Gzip(CabrilloOf("SP8WWW") + std::string(5000, '\n')),
       "log", "big.log.gz", 413, "unpacked", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const httplib::Result result = Send(client, c.bytes, c.field, c.fileName);
    ASSERT_TRUE(result) << httplib::to_string(result.error());
    EXPECT_EQ(result->status, c.status) << result->body;
    const Json answer = Json::parse(result->body);
    if (c.status == 200 || c.status == 202) {
      EXPECT_EQ(answer["status"], c.status == 200 ? "accepted" : "held");
      EXPECT_EQ(answer["key"].get<std::string>().size(), 32U);
      EXPECT_EQ(result->get_header_value("Cache-Control"), "no-store");
      EXPECT_EQ(answer["call"], c.call);
      EXPECT_EQ(answer["sha256"], Sha256(c.bytes));
      EXPECT_EQ(answer["qsos"], 2);
      if (c.replaces)
        EXPECT_EQ(answer["replaces"], *c.replaces);
      else
        EXPECT_TRUE(answer["replaces"].is_null());
    } else {
      EXPECT_EQ(answer["status"], "refused");
      ASSERT_FALSE(answer["errors"].empty());
      EXPECT_NE(answer["errors"][0].get<std::string>().find(c.call), std::string::npos)
          << answer.dump();
    }
  }
  // Nothing written where a client's name points; the data folder holds
  // the logs under the robot's own names.
  EXPECT_FALSE(fs::exists(data.path() / "etc"));
  EXPECT_TRUE(fs::is_empty(data.path() / "incoming"));
  const Json received = Json::parse(client.Get("/received.json")->body);
  ASSERT_EQ(received["logs"].size(), 3u);
  EXPECT_EQ(received["logs"][0]["call"], "DL1ABC");
  EXPECT_EQ(received["logs"][2]["call"], "SP9AHW");
  // The form tells the largest log it takes.
  EXPECT_NE(client.Get("/")->body.find("at most 4 KB"), std::string::npos);
  // The receipt as a page, for a browser without JavaScript.
  const httplib::Result page = Send(client, CabrilloOf("OK1XYZ"), "log", "a.log", false);
  EXPECT_NE(page->body.find("the log of OK1XYZ is received"), std::string::npos);
}

// A stranger's upload under an entrant's call is held: the entrant's log
// stays the one checked and listed, and the stranger learns nothing of it.
// The entrant replaces it with the key of the receipt, as a browser sends
// the form.
TEST(RobotServer, AStrangerCannotReplaceALog) {
  zeltra::testing::TemporaryFolder data;
  ServingRobot robot(Settings(data.path()));
  httplib::Client client = robot.Client();
  const Json owner =
      Json::parse(Send(client, CabrilloOf("SP9AHW", "CATEGORY-OPERATOR: SINGLE-OP\n"))->body);
  ASSERT_EQ(owner["status"], "accepted");
  const std::string key = owner["key"];
  struct Case {
    std::string name;
    std::string key;
    int status;
    std::string categories;  // of the log listed afterwards
  };
  const std::vector<Case> cases = {
      {"a stranger, no key", "", 202, "SINGLE-OP"},
      {"a stranger guessing", std::string(32, '0'), 202, "SINGLE-OP"},
      {"the owner, with the key", key, 200, "CHECKLOG"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const httplib::Result result = Send(
        client, CabrilloOf("SP9AHW", "CATEGORY-OPERATOR: CHECKLOG\n"), "log", "x.log", true, c.key);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, c.status) << result->body;
    const Json answer = Json::parse(result->body);
    if (c.status == 202) {
      EXPECT_TRUE(answer["replaces"].is_null());
      EXPECT_NE(answer["key"], key);
    } else {
      EXPECT_EQ(answer["replaces"], owner["id"]);
    }
    const Json received = Json::parse(client.Get("/received.json")->body);
    ASSERT_EQ(received["logs"].size(), 1U);
    EXPECT_EQ(received["logs"][0]["categories"], c.categories);
    // The list tells nothing of the sender, nor a receipt's number.
    std::vector<std::string> fields;
    for (const auto& [field, value] : received["logs"][0].items()) fields.push_back(field);
    EXPECT_EQ(fields, (std::vector<std::string>{"call", "categories", "qsos", "received"}));
  }
  // A browser's page says what holding means, and never the owner's number.
  const httplib::Result page = Send(client, CabrilloOf("SP9AHW"), "log", "a.log", false);
  EXPECT_EQ(page->status, 202);
  EXPECT_NE(page->body.find("It is kept, but held"), std::string::npos) << page->body;
  EXPECT_EQ(page->body.find("Replaces"), std::string::npos);
  // Every answer forbids scripts, framing and sniffing; a receipt is not
  // kept by a cache.
  const httplib::Result form = client.Get("/");
  const httplib::Result list = client.Get("/received");
  for (const httplib::Response* answer : {&*form, &*list, &*page}) {
    EXPECT_NE(answer->get_header_value("Content-Security-Policy").find("frame-ancestors 'none'"),
              std::string::npos);
    EXPECT_NE(answer->get_header_value("Content-Security-Policy").find("default-src 'none'"),
              std::string::npos);
    EXPECT_EQ(answer->get_header_value("X-Content-Type-Options"), "nosniff");
    EXPECT_EQ(answer->get_header_value("Referrer-Policy"), "no-referrer");
  }
  EXPECT_EQ(page->get_header_value("Cache-Control"), "no-store");
  EXPECT_NE(client.Get("/")->body.find("name=\"key\""), std::string::npos);
}

// Each attempt is told to the organiser on one line, a call a client made
// up shown so that it cannot drive the terminal; calls that are no call
// signs are refused.
TEST(RobotServer, EveryAttemptIsToldOnOneLine) {
  zeltra::testing::TemporaryFolder data;
  ServingRobot robot(Settings(data.path()));
  httplib::Client client = robot.Client();
  const std::string forged = "SP9\x1B[2J\x07AHW";
  const httplib::Result result = Send(client, CabrilloOf(forged));
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 422);
  EXPECT_NE(result->body.find("not a call sign"), std::string::npos) << result->body;
  const std::string said = robot.said();
  EXPECT_EQ(said.find('\x1B'), std::string::npos);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find(" refused 422 SP9\\x1B[2J"), std::string::npos) << said;
  EXPECT_NE(said.find(": the log's own call is not a call sign"), std::string::npos) << said;
  // An accepted upload's line has no reason.
  ASSERT_EQ(Send(client, CabrilloOf("SP9AHW"))->status, 200);
  const std::string accepted = robot.said().substr(said.size());
  EXPECT_NE(accepted.find(" accepted 200 SP9AHW "), std::string::npos) << accepted;
  EXPECT_EQ(accepted.find(": "), std::string::npos) << accepted;
}

// zeltra-score's JSON reading of a file, as the organiser's command sees it.
Json ScoreReading(const fs::path& file) {
  return Json::parse(RunCommand(std::string(ZELTRA_SCORE) + " --format json --cty " + kCountryFile +
                                " '" + file.string() + "' 2>/dev/null")
                         .said,
                     nullptr, false);
}

// The test logs of each kind the readers take, sent as they are and packed
// with gzip: each receipt says what zeltra-score says of the same file.
TEST(RobotServer, ALogOfEachKindIsReadAsZeltraScoreReadsIt) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.maxBytes = 1024 * 1024;
  ServingRobot robot(settings);
  httplib::Client client = robot.Client();
  const fs::path cases = ZELTRA_SCORE_CASES;
  const std::vector<fs::path> files = {
      cases / "adx/log.adx",
      cases / "utf16/logs/sp5xyz.adi",
      cases / "utf16/logs/sp9xyz.log",
      cases / "adif-logbook-export/log.adi",
      cases / "cabrillo-web-form/entry.txt",
      cases / "cross-check-hand-worked/logs/dl1ddd.log",
      cases / "batch-a-file-unreadable/logs/b.log.gz",
  };
  std::map<std::string, std::string> keys;  // call: the key its receipt gave
  for (const fs::path& file : files) {
    for (const bool packed : {false, true}) {
      SCOPED_TRACE(file.string() + (packed ? ", packed" : ""));
      const std::string bytes = packed ? Gzip(FileText(file)) : FileText(file);
      const fs::path sent = data.path() / (packed ? "sent.gz" : "sent");
      std::ofstream(sent, std::ios::binary) << bytes;
      const Json reading = ScoreReading(sent);
      ASSERT_FALSE(reading.is_discarded());
      const Json called = reading["logs"].empty() ? Json() : reading["logs"][0]["call"];
      const std::string call = called.is_string() ? called.get<std::string>() : "";
      const httplib::Result result = Send(client, bytes, "log", "my.log", true, keys[call]);
      ASSERT_TRUE(result);
      const Json answer = Json::parse(result->body);
      if (answer.contains("key")) keys[call] = answer["key"];
      if (reading["logs"].empty() || reading["logs"][0]["score"].is_null()) {
        EXPECT_EQ(result->status, 422) << result->body;
        // The same reason, but "not a log" is worded for the entrant.
        const std::string why = answer["errors"][0];
        const std::string status = reading["logs"].empty() ? "" : reading["logs"][0]["status"];
        if (status.rfind("failed: not a log", 0) == 0)
          EXPECT_EQ(why.rfind("not a log: ", 0), 0U) << why;
        else
          EXPECT_EQ("failed: " + why, status);
        continue;
      }
      const Json& log = reading["logs"][0];
      ASSERT_EQ(result->status, 200) << result->body;
      EXPECT_EQ(answer["call"], log["call"]);
      EXPECT_EQ(answer["qsos"], log["qsos"]);
      EXPECT_EQ(answer["score"], log["score"]);
      EXPECT_EQ(answer["categories"], log["categories"]);
      EXPECT_EQ(answer["claimed"], log["claimed"]);
    }
  }
}

// The disk fails while a log is kept (here its folder is gone): the
// entrant hears to send it again, and is taken once the disk is back.
TEST(RobotServer, ALogTheRobotCannotKeepIsToBeSentAgain) {
  zeltra::testing::TemporaryFolder data;
  ServingRobot robot(Settings(data.path()));
  httplib::Client client = robot.Client();
  fs::remove_all(data.path() / "incoming");
  std::ofstream(data.path() / "incoming") << "in the way";
  const httplib::Result failed = Send(client, CabrilloOf("SP1AAA"));
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->status, 503);
  EXPECT_NE(failed->body.find("send it again"), std::string::npos) << failed->body;
  fs::remove(data.path() / "incoming");
  fs::create_directory(data.path() / "incoming");
  EXPECT_EQ(Send(client, CabrilloOf("SP1AAA"))->status, 200);
}

// The descriptors in use now, this process's.
std::size_t OpenDescriptors() {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

// Connection after connection, the robot (and its watch) let each go.
TEST(RobotServer, ConnectionsLeaveNoDescriptorBehind) {
  zeltra::testing::TemporaryFolder data;
  ServingRobot robot(Settings(data.path()));
  EXPECT_EQ(robot.Client().Get("/")->status, 200);
  const std::size_t before = OpenDescriptors();
  constexpr int kConnections = 30;
  for (int i = 0; i < kConnections; ++i) {
    httplib::Client client = robot.Client();
    client.set_keep_alive(false);
    EXPECT_EQ(client.Get("/received.json")->status, 200);
  }
  // The robot closes its side just after its answer: a moment is given.
  std::size_t after = OpenDescriptors();
  for (int wait = 0; wait < 100 && after > before; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    after = OpenDescriptors();
  }
  EXPECT_LE(after, before);
}

TEST(RobotServer, WhatALogSaysIsShownAsTextInTheList) {
  zeltra::testing::TemporaryFolder data;
  ServingRobot robot(Settings(data.path()));
  httplib::Client client = robot.Client();
  ASSERT_EQ(
      Send(client, CabrilloOf("SP9AHW", "CATEGORY-OPERATOR: <script>alert(1)</script>\n"))->status,
      200);
  const std::string page = client.Get("/received")->body;
  // Categories are shown as the check ranks them: upper case.
  EXPECT_EQ(page.find("<SCRIPT>ALERT(1)"), std::string::npos);
  EXPECT_NE(page.find("&lt;SCRIPT&gt;ALERT(1)&lt;/SCRIPT&gt;"), std::string::npos);
  EXPECT_NE(client.Get("/")->body.find("enctype=\"multipart/form-data\""), std::string::npos);

  // A warning that quotes the log (another own call in a record) is text
  // on the receipt, too.
  const std::string adif =
      "<STATION_CALLSIGN:6>DL1ABC<CALL:6>SP9AHW<BAND:3>20m<MODE:4>RTTY<QSO_DATE:8>20261205"
      "<TIME_ON:4>1000<EOR>\n<STATION_CALLSIGN:13><b>DL1ABC</b><CALL:6>OK1XYZ<BAND:3>20m"
      "<MODE:4>RTTY<QSO_DATE:8>20261205<TIME_ON:4>1001<EOR>\n";
  const httplib::Result receipt = Send(client, adif, "log", "a.adi", false);
  ASSERT_EQ(receipt->status, 200) << receipt->body;
  EXPECT_NE(receipt->body.find("&lt;B&gt;DL1ABC&lt;/B&gt;"), std::string::npos) << receipt->body;
  EXPECT_EQ(receipt->body.find("<B>"), std::string::npos);

  // Text that is no UTF-8 (a Windows-1250 club) keeps the list whole, in
  // JSON and in HTML.
  ASSERT_EQ(Send(client, CabrilloOf("SP5ZZZ",
                                    "CATEGORY-OPERATOR: K\xA3\xF3"
                                    "d\x9F\n"))
                ->status,
            200);
  const Json listed = Json::parse(client.Get("/received.json")->body, nullptr, false);
  ASSERT_FALSE(listed.is_discarded());
  EXPECT_EQ(listed["logs"].size(), 3U);
  const std::string html = client.Get("/received")->body;
  EXPECT_NE(html.find("</html>"), std::string::npos);
}

TEST(RobotServer, AFloodAndTheDeadlineAreRefused) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.perMinute = 2;
  {
    ServingRobot robot(settings);
    httplib::Client client = robot.Client();
    EXPECT_EQ(Send(client, CabrilloOf("SP1AAA"))->status, 200);
    EXPECT_EQ(Send(client, "no log")->status, 422);
    EXPECT_EQ(Send(client, CabrilloOf("SP2BBB"))->status, 429);
    // Reading what came in is no upload.
    EXPECT_EQ(client.Get("/received.json")->status, 200);
  }
  // The deadline's own minute is still in time; the next is not.
  const auto minuteNow = [] { return static_cast<std::int64_t>(std::time(nullptr)) / 60; };
  for (const std::int64_t before : {0, 1}) {
    SCOPED_TRACE(before);
    settings.perMinute = 0;
    const std::int64_t minute = minuteNow();
    settings.deadline = minute - before;
    ServingRobot robot(settings);
    httplib::Client client = robot.Client();
    const httplib::Result result = Send(client, CabrilloOf("SP3CCC"));
    if (minuteNow() != minute) continue;  // the clock passed a minute meanwhile
    EXPECT_EQ(result->status, before == 0 ? 200 : 403);
    if (before == 1) {
      EXPECT_NE(result->body.find("deadline"), std::string::npos);
    }
  }
}

// The verdicts zeltra-score's check gives a folder of logs.
std::string VerdictsOf(const fs::path& folder, const fs::path& verdicts) {
  RunCommand(std::string(ZELTRA_SCORE) + " --cty " + kCountryFile + " --cross-check '" +
             folder.string() + "' --verdicts '" + verdicts.string() + "' >/dev/null 2>&1");
  return FileText(verdicts);
}

// The hand-worked contest's logs uploaded, one of them twice, and exported:
// the check of the export is the check of the logs as sent.
TEST(RobotServer, TheExportIsCheckedAsTheLogsSent) {
  zeltra::testing::TemporaryFolder data;
  const fs::path sent = fs::path(ZELTRA_SCORE_CASES) / "cross-check-hand-worked" / "logs";
  {
    ServingRobot robot(Settings(data.path()));
    httplib::Client client = robot.Client();
    const httplib::Result first = Send(client, CabrilloOf("SP1AAA"));  // replaced below
    ASSERT_EQ(first->status, 200);
    const std::string key = Json::parse(first->body)["key"];
    for (const auto& entry : fs::directory_iterator(sent))
      ASSERT_EQ(Send(client, FileText(entry.path()), "log", "my.log", true, key)->status, 200)
          << entry.path();
  }
  const StoreReader store(data.path());
  const fs::path exported = data.path() / "export";
  EXPECT_EQ(ExportCurrent(store, exported), 5u);
  EXPECT_EQ(FileText(exported / "SP1AAA.log"), FileText(sent / "sp1aaa.log"));
  EXPECT_EQ(VerdictsOf(exported, data.path() / "exported.csv"),
            VerdictsOf(sent, data.path() / "sent.csv"));
}

// The organiser exports again and again while 80 logs are uploaded from 8
// clients, as the README shows the two side by side: every export works,
// the robot loses nothing, and the last export holds every log accepted,
// byte for byte, named safely and dated by its upload.
TEST(RobotServer, ExportingWhileServingLosesNothing) {
  zeltra::testing::TemporaryFolder data;
  const int port = zeltra::testing::FreeLoopbackPort();
  RobotProcess robot({"serve", "--data", data.path().string(), "--listen",
                      "127.0.0.1:" + std::to_string(port), "--per-minute", "0", "--cty",
                      kCountryFile, "--from", "2026-12-05 00:00", "--to", "2026-12-06 00:00"},
                     data.path() / "said.txt");
  ASSERT_TRUE(robot.Answers(port)) << robot.said();
  constexpr int kClients = 8;
  constexpr int kLogsEach = 10;
  std::mutex mutex;
  std::map<std::string, std::string> accepted;  // call: sha256
  std::atomic<bool> uploading{true};
  std::vector<std::thread> clients;
  for (int client = 0; client < kClients; ++client)
    clients.emplace_back([&, client] {
      httplib::Client sender("127.0.0.1", port);
      sender.set_read_timeout(std::chrono::seconds(60));
      for (int log = 0; log < kLogsEach; ++log) {
        const std::string call = "SP" + std::to_string(client) + "A" +
                                 std::string(1, static_cast<char>('A' + log)) + "/P";
        const std::string bytes = CabrilloOf(call, "SOAPBOX: " + std::string(500, 'x') + "\n");
        const httplib::Result result = Send(sender, bytes);
        if (result && result->status == 200) {
          std::lock_guard lock(mutex);
          accepted[call] = Sha256(bytes);
        }
      }
    });
  const fs::path exported = data.path() / "export";
  const std::string command = std::string(ZELTRA_ROBOT) + " export --data " + data.path().string() +
                              " --into " + exported.string() + " 2>&1";
  int exports = 0;
  std::thread exporter([&] {
    while (uploading) {
      const CommandRun run = RunCommand(command);
      EXPECT_EQ(run.status, 0) << run.said;
      ++exports;
    }
  });
  for (std::thread& client : clients) client.join();
  uploading = false;
  exporter.join();
  EXPECT_GT(exports, 0);
  ASSERT_EQ(accepted.size(), static_cast<std::size_t>(kClients * kLogsEach));
  ASSERT_EQ(RunCommand(command).status, 0);

  const StoreReader store(data.path());
  std::map<std::string, std::string> received;  // call: its upload's time
  for (const KeptLog& log : store.Current()) received[log.facts.call] = log.received;
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(exported)) {
    ++files;
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(name.find('/'), std::string::npos);
    const std::string call = name.substr(0, name.find('_')) + "/P";
    ASSERT_EQ(accepted.count(call), 1U) << name;
    EXPECT_EQ(Sha256(FileText(entry.path())), accepted[call]) << name;
    const auto modified = std::chrono::system_clock::to_time_t(
        std::chrono::file_clock::to_sys(fs::last_write_time(entry.path())));
    std::tm utc{};
    gmtime_r(&modified, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
    EXPECT_EQ(text, received[call]) << name;
  }
  EXPECT_EQ(files, accepted.size());
  EXPECT_EQ(robot.Stop(SIGTERM), 0);
  EXPECT_TRUE(fs::is_empty(data.path() / "incoming"));
}

// The robot as its own program, killed with SIGKILL while 50 uploads are
// under way: what it answered "accepted" is all there after a restart,
// byte for byte, and nothing half written is.
TEST(RobotServer, AKillInTheMiddleLosesNoAcceptedLog) {
  zeltra::testing::TemporaryFolder data;
  const auto start = [&](int port) {
    const pid_t child = fork();
    if (child == 0) {
      const std::string listen = "127.0.0.1:" + std::to_string(port);
      const std::string folder = data.path().string();
      execl(ZELTRA_ROBOT, ZELTRA_ROBOT, "serve", "--data", folder.c_str(), "--listen",
            listen.c_str(), "--per-minute", "0", "--per-address", "100", "--cty",
            kCountryFile.c_str(), "--from", "2026-12-05 00:00", "--to", "2026-12-06 00:00",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    return child;
  };
  const int port = zeltra::testing::FreeLoopbackPort();
  const pid_t robot = start(port);
  httplib::Client client("127.0.0.1", port);
  for (int tries = 0; tries < 100 && !client.Get("/"); ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

  std::mutex mutex;
  std::map<std::string, std::string> accepted;  // call: sha256
  std::atomic<int> answered{0};
  std::atomic<int> acceptedSoFar{0};
  std::vector<std::thread> senders;
  for (int i = 0; i < 50; ++i)
    senders.emplace_back([&, i] {
      httplib::Client sender("127.0.0.1", port);
      sender.set_connection_timeout(std::chrono::seconds(5));
      // A loaded machine syncs 50 logs slowly: the answer is waited for.
      sender.set_read_timeout(std::chrono::seconds(60));
      const std::string call = "SP" + std::to_string(i % 10) + "A" +
                               std::string(1, static_cast<char>('A' + i / 10)) + "A";
      const std::string bytes = CabrilloOf(call, "SOAPBOX: " + std::string(2000, 'x') + "\n");
      const httplib::Result result = Send(sender, bytes);
      if (result && result->status == 200) {
        std::lock_guard lock(mutex);
        accepted[call] = Sha256(bytes);
        ++acceptedSoFar;
      }
      ++answered;
    });
  while (acceptedSoFar < 20 && answered < 50)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  kill(robot, SIGKILL);
  waitpid(robot, nullptr, 0);
  for (std::thread& sender : senders) sender.join();

  // Opened again: every accepted log there, as sent; no piece left over.
  const UploadStore reopened(data.path());
  const StoreReader store(data.path());
  std::map<std::string, std::string> kept;
  for (const KeptLog& log : store.Current()) {
    EXPECT_EQ(Sha256(FileText(store.FileOf(log.id))), log.facts.sha256) << log.facts.call;
    kept[log.facts.call] = log.facts.sha256;
  }
  for (const auto& [call, sha256] : accepted) EXPECT_EQ(kept[call], sha256) << call;
  EXPECT_GE(accepted.size(), 20u);
  EXPECT_TRUE(fs::is_empty(data.path() / "incoming"));
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& file : fs::directory_iterator(data.path() / "logs")) ++files;
  EXPECT_EQ(files, kept.size());
}

}  // namespace
}  // namespace zeltra::robot
