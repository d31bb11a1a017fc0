// What a determined stranger does, answered over loopback: a flood of
// refusals is one record, a stranger's long text is cut in the records,
// forms the robot cannot read are answered, and neither a store locked by
// another program nor a full disk leaves a client without an answer.

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <future>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "support/FreePort.h"
#include "support/SqliteLog.h"
#include "support/TextCount.h"
#include "tools/robot/CommandRun.h"
#include "tools/robot/ServingRobot.h"
#include "tools/robot/store/StoreReader.h"

namespace zeltra::robot {
namespace {

using zeltra::testing::CountIn;

using Clock = std::chrono::steady_clock;

std::vector<Attempt> Refusals(const fs::path& data) {
  std::vector<Attempt> refused;
  StoreReader(data).EachAttempt([&](const Attempt& attempt) {
    if (attempt.outcome == Outcome::kRefused) refused.push_back(attempt);
  });
  return refused;
}

// A flood from one address: one record counting every refusal and one
// line told; a 4 KB own call is kept to 200 bytes; pages past their rate
// are refused too.
TEST(Stranger, AFloodIsOneRecordAndLongTextsAreCut) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.perMinute = 3;
  settings.maxBytes = 64 * 1024;
  {
    ServingRobot robot(settings);
    httplib::Client client = robot.Client();
    const std::string longCall = "SP9" + std::string(3997, 'Q');
    ASSERT_EQ(Send(client, CabrilloOf(longCall))->status, 422);
    ASSERT_EQ(Send(client, CabrilloOf("SP1AAA"))->status, 200);
    ASSERT_EQ(Send(client, CabrilloOf("SP2AAA"))->status, 200);
    constexpr int kFlood = 60;
    int refused = 0;
    for (int i = 0; i < kFlood; ++i) {
      const httplib::Result sent = Send(client, CabrilloOf("SP3AAA"));
      ASSERT_TRUE(sent);
      EXPECT_EQ(sent->headers.count("Retry-After"), 1U);
      refused += sent->status == 429 ? 1 : 0;
    }
    // The minute may turn during the flood: one more record then.
    EXPECT_GE(refused, kFlood - 3);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const std::string said = robot.said();
    EXPECT_LE(CountIn(said, " refused 429 "), 2U) << said;
    EXPECT_GE(CountIn(said, " refused 429 "), 1U) << said;
    std::int64_t counted = 0;
    std::size_t rows = 0;
    for (const Attempt& attempt : Refusals(data.path())) {
      EXPECT_LE(attempt.call.size(), kLongestKeptText);
      if (attempt.status != 429) continue;
      ++rows;
      counted += attempt.count;
    }
    EXPECT_LE(rows, 2U);
    EXPECT_EQ(counted, refused);
    // Pages have a rate of their own, ten times the uploads'.
    int pages = 0;
    while (pages < 100 && client.Get("/received.json")->status == 200) ++pages;
    EXPECT_EQ(pages, 30);
  }
  const std::vector<Attempt> refusals = Refusals(data.path());
  ASSERT_FALSE(refusals.empty());
  EXPECT_EQ(refusals.front().status, 422);
  EXPECT_EQ(refusals.front().call, "SP9" + std::string(kLongestKeptText - 3, 'Q'));
}

// A form the robot does not read is answered and told why, not closed.
TEST(Stranger, FormsTheRobotCannotReadAreAnswered) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.maxBytes = 64 * 1024;
  ServingRobot robot(settings);
  httplib::Client client = robot.Client();
  const httplib::Headers json = {{"Accept", "application/json"}};
  const httplib::Result encoded =
      client.Post("/upload", json, "log=QSO%3A+14080", "application/x-www-form-urlencoded");
  ASSERT_TRUE(encoded);
  EXPECT_EQ(encoded->status, 415);
  EXPECT_NE(encoded->body.find("multipart/form-data"), std::string::npos) << encoded->body;
  const std::string body =
      "--xyzzy\r\nContent-Disposition: form-data; name=\"log\"; "
      "filename=\"a.log\"\r\nX-Padding: " +
      std::string(20 * 1024, 'p') + "\r\n\r\n" + CabrilloOf("SP9AHW") + "\r\n--xyzzy--\r\n";
  const httplib::Result padded =
      client.Post("/upload", json, body, "multipart/form-data; boundary=xyzzy");
  ASSERT_TRUE(padded);
  EXPECT_EQ(padded->status, 400);
  EXPECT_NE(padded->body.find("headers"), std::string::npos) << padded->body;
}

// Another program holds the records' write lock: uploads wait on workers,
// and meanwhile the form, the list and a refusal are answered at once.
TEST(Stranger, ALockedStoreStallsNoOtherClient) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.perMinute = 1;
  ServingRobot robot(settings);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((data.path() / "robot.sqlite").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  std::vector<std::future<int>> uploads;
  for (int i = 0; i < 3; ++i)
    uploads.push_back(std::async(std::launch::async, [&robot, i] {
      httplib::Client client = robot.Client();
      client.set_read_timeout(30);
      const httplib::Result sent = Send(client, CabrilloOf("SP" + std::to_string(i) + "ABC"));
      return sent ? sent->status : -1;
    }));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  httplib::Client client = robot.Client();
  const Clock::time_point asked = Clock::now();
  EXPECT_EQ(client.Get("/")->status, 200);
  EXPECT_EQ(client.Get("/received.json")->status, 200);
  const std::chrono::duration<double> took = Clock::now() - asked;
  // The store waits 5 s for its lock: an answer that waited for it is late.
  EXPECT_LT(took.count(), 2.5);
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  std::vector<int> statuses;
  for (auto& upload : uploads) statuses.push_back(upload.get());
  // Each is answered: kept once the lock is free, or told to send again.
  for (const int status : statuses) EXPECT_TRUE(status == 200 || status == 503 || status == 429);
}

// A disk that takes no more: the upload is answered 503, with when to try
// again. The robot serves in a child process whose files may not grow past
// half a megabyte.
TEST(Stranger, AFullDiskIsAnsweredNotClosed) {
  zeltra::testing::TemporaryFolder data;
  const int port = zeltra::testing::FreeLoopbackPort();
  { const UploadStore made(data.path()); }
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr rlim_t kLargestFile = 512 * 1024;
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kLargestFile, kLargestFile};
    setrlimit(RLIMIT_FSIZE, &limit);
    RobotSettings settings = Settings(data.path());
    settings.port = port;
    settings.maxBytes = 2 * 1024 * 1024;
    RobotServer server(settings, &Countries(), std::cerr);
    if (!server.Bind()) _exit(3);
    alarm(30);
    server.Serve();
    _exit(0);
  }
  httplib::Client client("127.0.0.1", port);
  bool serving = false;
  for (int tries = 0; tries < 100 && !serving; ++tries) {
    serving = static_cast<bool>(client.Get("/"));
    if (!serving) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(serving);
  std::string large = CabrilloOf("SP9AHW");
  large.insert(large.find("END-OF-LOG:"), std::string(1024 * 1024, ' ') + "\n");
  const httplib::Result sent = Send(client, large);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->status, 503);
  EXPECT_EQ(sent->get_header_value("Retry-After"), "60");
}

// Uploads held past their call's or their address's quota, or logs past
// the data folder's, are answered 503 and the organiser told; the owner
// with the key is still taken; one command rejects a call's held uploads.
TEST(Stranger, HeldUploadsAndTheDataHaveQuotas) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.quotas.heldPerCall = 2;
  settings.quotas.heldPerAddress = 3;
  std::string key;
  {
    ServingRobot robot(settings);
    httplib::Client client = robot.Client();
    const httplib::Result owner = Send(client, CabrilloOf("SP9AHW"));
    ASSERT_EQ(owner->status, 200);
    key = nlohmann::json::parse(owner->body)["key"];
    ASSERT_EQ(Send(client, CabrilloOf("SP9AHW"))->status, 202);
    ASSERT_EQ(Send(client, CabrilloOf("SP9AHW"))->status, 202);
    const httplib::Result third = Send(client, CabrilloOf("SP9AHW"));
    EXPECT_EQ(third->status, 503);
    EXPECT_NE(third->body.find("holds as many uploads for SP9AHW"), std::string::npos);
    EXPECT_EQ(third->get_header_value("Retry-After"), "3600");
    EXPECT_EQ(Send(client, CabrilloOf("SP9AHW"), "log", "my.log", true, key)->status, 200);
    // The address's third held upload is its last.
    ASSERT_EQ(Send(client, CabrilloOf("SP8AAA"))->status, 200);
    ASSERT_EQ(Send(client, CabrilloOf("SP8AAA"))->status, 202);
    const httplib::Result fourth = Send(client, CabrilloOf("SP8AAA"));
    EXPECT_EQ(fourth->status, 503);
    EXPECT_NE(fourth->body.find("from your address"), std::string::npos);
    const std::string said = robot.said();
    EXPECT_NE(said.find("uploads held for SP9AHW are at their quota (2)"), std::string::npos)
        << said;
    EXPECT_NE(said.find("uploads held from 127.0.0.1 are at their quota (3)"), std::string::npos)
        << said;
  }
  const CommandRun rejected = RunCommand(std::string(ZELTRA_ROBOT) + " reject --data " +
                                         data.path().string() + " --all-held SP9AHW 2>&1");
  EXPECT_EQ(rejected.status, 0) << rejected.said;
  EXPECT_NE(rejected.said.find("2 held uploads rejected"), std::string::npos) << rejected.said;
  const std::vector<KeptLog> held = StoreReader(data.path()).Held();
  ASSERT_EQ(held.size(), 1U);
  EXPECT_EQ(held[0].facts.call, "SP8AAA");
  const CommandRun one =
      RunCommand(std::string(ZELTRA_ROBOT) + " reject --data " + data.path().string() + " 99 2>&1");
  EXPECT_NE(one.status, 0);
  EXPECT_NE(one.said.find("no upload 99"), std::string::npos) << one.said;

  // The data folder's quota: the logs not rejected take all it allows.
  settings.quotas = {};
  settings.quotas.dataBytes = StoreReader(data.path()).Current().size() * 200;
  ServingRobot robot(settings);
  httplib::Client client = robot.Client();
  const httplib::Result full = Send(client, CabrilloOf("DL1ABC"));
  EXPECT_EQ(full->status, 503);
  EXPECT_NE(robot.said().find("at the data folder's quota"), std::string::npos) << robot.said();
}

}  // namespace
}  // namespace zeltra::robot
