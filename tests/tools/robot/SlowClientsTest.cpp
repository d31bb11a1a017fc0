// Clients that are slow, idle, many or greedy, over loopback: none holds
// up an honest upload, each is closed by what it really sends, and the
// robot's memory stays bounded by what arrives, not by what is claimed.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "support/FreePort.h"
#include "support/SqliteLog.h"
#include "tools/robot/RobotProcess.h"
#include "tools/robot/ServingRobot.h"
#include "tools/robot/store/Descriptor.h"
#include "tools/robot/store/UtcNow.h"

namespace zeltra::robot {
namespace {

using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;

Descriptor ConnectTo(int port) {
  Descriptor connection(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(connection.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    return Descriptor(-1);
  return connection;
}

bool Sends(int connection, const std::string& bytes) {
  return send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
         static_cast<ssize_t>(bytes.size());
}

// The robot closed the connection (an end or a reset is read), as opposed
// to nothing arriving yet.
bool Closed(int connection) {
  char byte = 0;
  const ssize_t got = recv(connection, &byte, 1, MSG_DONTWAIT | MSG_PEEK);
  return got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
}

// Everything up to the robot's close; waits at most seconds.
std::string ReadToClose(int connection, int seconds) {
  timeval wait{.tv_sec = seconds, .tv_usec = 0};
  setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  std::string answer;
  char chunk[4096];
  ssize_t got = 0;
  while ((got = recv(connection, chunk, sizeof chunk, 0)) > 0)
    answer.append(chunk, static_cast<std::size_t>(got));
  return got == 0 || errno == ECONNRESET ? answer : answer + "(still open)";
}

const std::string kUploadStart =
    "POST /upload HTTP/1.1\r\nHost: robot\r\nContent-Type: multipart/form-data; "
    "boundary=xyzzy\r\nContent-Length: 3000\r\n\r\n--xyzzy\r\nContent-Disposition: form-data; "
    "name=\"log\"; filename=\"a.log\"\r\n\r\n";

// Slow clients of each kind, with 100 idle connections, while honest
// entrants upload: every honest upload is answered while the others still
// hold their connections, and then each is closed for what it did.
TEST(SlowClients, NoneHoldsUpAnHonestUploadAndEachIsClosed) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.http.idle = std::chrono::seconds(3);
  settings.http.headers = std::chrono::seconds(3);
  settings.rateWindow = std::chrono::seconds(3);
  settings.bytesPerSecond = 1024;
  ServingRobot robot(settings);
  struct Slow {
    std::string name;
    std::string start;    // sent at once
    std::string trickle;  // then a byte of it every 300 ms
  };
  const std::vector<Slow> kinds = {
      {"idle", "", ""},
      {"its headers a byte at a time", "GET / HTTP/1.1\r\n", std::string(200, 'a')},
      {"a body promised, nothing sent", kUploadStart, ""},
      {"its log a byte at a time", kUploadStart, std::string(200, 'a')},
  };
  constexpr int kIdle = 100;
  std::vector<Descriptor> idle;
  for (int i = 0; i < kIdle; ++i) idle.push_back(ConnectTo(robot.port()));
  std::vector<Descriptor> slow;
  for (const Slow& kind : kinds) {
    slow.push_back(ConnectTo(robot.port()));
    ASSERT_TRUE(Sends(slow.back().get(), kind.start)) << kind.name;
  }
  std::atomic<bool> trickling{true};
  std::thread trickle([&] {
    for (std::size_t at = 0; trickling && at < 200; ++at) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      for (std::size_t i = 0; i < kinds.size(); ++i)
        if (at < kinds[i].trickle.size()) Sends(slow[i].get(), kinds[i].trickle.substr(at, 1));
    }
  });
  httplib::Client client = robot.Client();
  for (int upload = 0; upload < 5; ++upload) {
    const httplib::Result result = Send(client, CabrilloOf("SP" + std::to_string(upload) + "AAA"));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
  }
  // Answered while every slow and idle client still held its connection.
  std::size_t open = 0;
  for (const Descriptor& connection : idle) open += Closed(connection.get()) ? 0U : 1U;
  for (const Descriptor& connection : slow) open += Closed(connection.get()) ? 0U : 1U;
  EXPECT_EQ(open, kIdle + kinds.size());
  // And then each is closed by the robot, none by its own giving up.
  for (std::size_t i = 0; i < kinds.size(); ++i)
    EXPECT_EQ(ReadToClose(slow[i].get(), 20).find("(still open)"), std::string::npos)
        << kinds[i].name;
  for (const Descriptor& connection : idle)
    ASSERT_EQ(ReadToClose(connection.get(), 20).find("(still open)"), std::string::npos);
  trickling = false;
  trickle.join();
  EXPECT_GE(robot.CutOff(), 2U);  // the header trickle and the log trickle
  EXPECT_TRUE(fs::is_empty(data.path() / "incoming"));
}

// A slow entrant who keeps going, above the rate, is never cut: a log sent
// at 2 KB a second for longer than the rate's window is taken.
TEST(SlowClients, ASlowEntrantWhoKeepsGoingIsTaken) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.maxBytes = 64 * 1024;
  settings.rateWindow = std::chrono::seconds(1);
  settings.bytesPerSecond = 1024;
  ServingRobot robot(settings);
  const std::string log = CabrilloOf("SP9AHW", "SOAPBOX: " + std::string(5000, 'x') + "\n");
  const std::string body =
      "--xyzzy\r\nContent-Disposition: form-data; name=\"log\"; filename=\"a.log\"\r\n\r\n" + log +
      "\r\n--xyzzy--\r\n";
  const Descriptor connection = ConnectTo(robot.port());
  ASSERT_TRUE(Sends(connection.get(),
                    "POST /upload HTTP/1.1\r\nHost: robot\r\nAccept: application/json\r\n"
                    "Content-Type: multipart/form-data; boundary=xyzzy\r\nContent-Length: " +
                        std::to_string(body.size()) + "\r\n\r\n"));
  constexpr std::size_t kPiece = 200;  // every 100 ms
  for (std::size_t at = 0; at < body.size(); at += kPiece) {
    ASSERT_TRUE(Sends(connection.get(), body.substr(at, kPiece))) << "cut at " << at;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  const std::string answer = ReadToClose(connection.get(), 20);
  EXPECT_EQ(answer.rfind("HTTP/1.1 200", 0), 0U) << answer;
  EXPECT_EQ(robot.CutOff(), 0U);
}

// One address may hold only so many connections; the others' are theirs.
TEST(SlowClients, OneAddressHoldsOnlyItsShare) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.http.perAddress = 3;
  ServingRobot robot(settings);
  std::vector<Descriptor> held;
  for (int i = 0; i < 3; ++i) held.push_back(ConnectTo(robot.port()));
  const Descriptor fourth = ConnectTo(robot.port());
  ASSERT_GE(fourth.get(), 0);  // the system accepts it; the robot closes it
  EXPECT_EQ(ReadToClose(fourth.get(), 10).find("(still open)"), std::string::npos);
  EXPECT_FALSE(Closed(held[0].get()));
  held.clear();
  httplib::Client client = robot.Client();
  // The robot sees the three go a moment after they are closed.
  int status = 0;
  for (int tries = 0; tries < 50 && status == 0; ++tries) {
    const httplib::Result result = Send(client, CabrilloOf("SP9AHW"));
    if (result)
      status = result->status;
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(status, 200);
}

// The deadline is judged by when an upload's headers arrived: a log still
// arriving when the deadline's minute ends is taken; one begun after is not.
TEST(SlowClients, TheDeadlineIsJudgedWhenTheHeadersArrive) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  constexpr std::int64_t kDeadlineMinute = 29'420'000;
  std::atomic<std::int64_t> now{kDeadlineMinute * 60 + 45};  // 45 s into the minute
  settings.deadline = kDeadlineMinute;
  settings.utcNow = [&now] { return now.load(); };
  ServingRobot robot(settings);
  const std::string log = CabrilloOf("SP9AHW");
  const std::string body =
      "--xyzzy\r\nContent-Disposition: form-data; name=\"log\"; filename=\"a.log\"\r\n\r\n" + log +
      "\r\n--xyzzy--\r\n";
  const std::string headers =
      "POST /upload HTTP/1.1\r\nHost: robot\r\nAccept: application/json\r\nContent-Type: "
      "multipart/form-data; boundary=xyzzy\r\nContent-Length: " +
      std::to_string(body.size()) + "\r\n\r\n";
  const Descriptor inTime = ConnectTo(robot.port());
  ASSERT_TRUE(Sends(inTime.get(), headers + body.substr(0, 10)));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  now = (kDeadlineMinute + 1) * 60 + 30;  // the minute is over
  ASSERT_TRUE(Sends(inTime.get(), body.substr(10)));
  const std::string answer = ReadToClose(inTime.get(), 20);
  EXPECT_EQ(answer.rfind("HTTP/1.1 200", 0), 0U) << answer;
  httplib::Client client = robot.Client();
  const httplib::Result late = Send(client, CabrilloOf("SP8AAA"));
  ASSERT_TRUE(late);
  EXPECT_EQ(late->status, 403);
  const std::string why = Json::parse(late->body)["errors"][0];
  EXPECT_NE(why.find("the robot is closed"), std::string::npos) << why;
  EXPECT_EQ(why.find("Mend"), std::string::npos);
  // The form says so, too, and no longer offers to send.
  const std::string form = client.Get("/")->body;
  EXPECT_NE(form.find("The robot is closed"), std::string::npos);
  EXPECT_EQ(form.find("<form"), std::string::npos);
}

// Forms as clients write them: two file fields named "log" (the first left
// empty, or both chosen), the key before the log, a chunked body.
TEST(SlowClients, FormsAsClientsWriteThemAreRead) {
  zeltra::testing::TemporaryFolder data;
  ServingRobot robot(Settings(data.path()));
  const auto part = [](const std::string& name, const std::string& text, bool file) {
    return "--xyzzy\r\nContent-Disposition: form-data; name=\"" + name + "\"" +
           (file ? "; filename=\"a.log\"\r\nContent-Type: application/octet-stream" : "") +
           "\r\n\r\n" + text + "\r\n";
  };
  const auto request = [](const std::string& body, bool chunked) {
    std::string sent =
        "POST /upload HTTP/1.1\r\nHost: r\r\nConnection: close\r\nAccept: application/json\r\n"
        "Content-Type: multipart/form-data; boundary=xyzzy\r\n";
    if (!chunked)
      return sent + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    sent += "Transfer-Encoding: chunked\r\n\r\n";
    for (std::size_t at = 0; at < body.size(); at += 100) {
      const std::string piece = body.substr(at, 100);
      char size[16];
      std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
      sent += size + piece + "\r\n";
    }
    return sent + "0\r\n\r\n";
  };
  struct Case {
    std::string name;
    std::string body;
    bool chunked;
    std::string call;  // the receipt's; empty: refused 400
  };
  const std::vector<Case> cases = {
      {"the first log field left empty",
       part("log", "", true) + part("log", CabrilloOf("SP1AAA"), true) + "--xyzzy--\r\n", false,
       "SP1AAA"},
      {"two logs: the first is the log",
       part("log", CabrilloOf("SP2AAA"), true) + part("log", CabrilloOf("SP3AAA"), true) +
           "--xyzzy--\r\n",
       false, "SP2AAA"},
      {"the key before the log",
       part("key", "00", false) + part("log", CabrilloOf("SP4AAA"), true) + "--xyzzy--\r\n", false,
       "SP4AAA"},
      {"chunked", part("log", CabrilloOf("SP5AAA"), true) + "--xyzzy--\r\n", true, "SP5AAA"},
      {"only a key", part("key", "00", false) + "--xyzzy--\r\n", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Descriptor connection = ConnectTo(robot.port());
    ASSERT_TRUE(Sends(connection.get(), request(c.body, c.chunked)));
    const std::string answer = ReadToClose(connection.get(), 20);
    if (c.call.empty()) {
      EXPECT_EQ(answer.rfind("HTTP/1.1 400", 0), 0U) << answer;
      continue;
    }
    ASSERT_EQ(answer.rfind("HTTP/1.1 200", 0), 0U) << answer;
    EXPECT_EQ(Json::parse(answer.substr(answer.find("\r\n\r\n") + 4))["call"], c.call);
  }
}

// The most a process has held, from /proc, in kB.
long PeakKilobytes(pid_t process) {
  std::ifstream status("/proc/" + std::to_string(process) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// What a greedy client sends: a packed body, a header line without an end,
// a chunked body without an end, a length of 10 GB. Each is refused or cut
// as it arrives; the robot as its own program grows by little.
TEST(SlowClients, AGreedyClientGetsNoMoreThanItSends) {
  zeltra::testing::TemporaryFolder data;
  const int port = zeltra::testing::FreeLoopbackPort();
  RobotProcess robot({"serve", "--data", data.path().string(), "--listen",
                      "127.0.0.1:" + std::to_string(port), "--per-minute", "0", "--max-bytes",
                      "1000000", "--from", "2026-12-05 00:00", "--to", "2026-12-06 00:00"},
                     data.path() / "said.txt");
  ASSERT_TRUE(robot.Answers(port)) << robot.said();
  const long before = PeakKilobytes(robot.pid());
  ASSERT_GT(before, 0);
  struct Case {
    std::string name;
    std::string headers;
    std::string endless;  // then sent again and again, up to 64 MB
    std::string answer;   // the status line's start; empty: closed
  };
  const std::vector<Case> cases = {
      {"a packed body",
       "POST /upload HTTP/1.1\r\nHost: r\r\nContent-Encoding: gzip\r\nContent-Type: "
       "multipart/form-data; boundary=xyzzy\r\nContent-Length: 1000000\r\n\r\n",
       std::string(64 * 1024, '\0'), "HTTP/1.1 415"},
      {"a header line without an end", "GET / HTTP/1.1\r\nX-Long: ", std::string(64 * 1024, 'a'),
       "HTTP/1.1 431"},
      {"a chunked body without an end",
       "POST /upload HTTP/1.1\r\nHost: r\r\nTransfer-Encoding: chunked\r\nContent-Type: "
       "multipart/form-data; boundary=xyzzy\r\n\r\n",
       "10000\r\n" + std::string(0x10000, 'a') + "\r\n", ""},
      {"a length of 10 GB",
       "POST /upload HTTP/1.1\r\nHost: r\r\nContent-Type: multipart/form-data; "
       "boundary=xyzzy\r\nContent-Length: 10000000000\r\n\r\n",
       std::string(64 * 1024, 'a'), "HTTP/1.1 413"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Descriptor connection = ConnectTo(port);
    ASSERT_TRUE(Sends(connection.get(), c.headers));
    std::size_t sent = 0;
    constexpr std::size_t kMost = 64 * 1024 * 1024;
    while (sent < kMost && Sends(connection.get(), c.endless)) sent += c.endless.size();
    EXPECT_LT(sent, kMost) << "the robot kept reading";
    const std::string answer = ReadToClose(connection.get(), 20);
    EXPECT_EQ(answer.find("(still open)"), std::string::npos);
    if (!c.answer.empty()) {
      EXPECT_EQ(answer.rfind(c.answer, 0), 0U) << answer.substr(0, 200);
    }
  }
  constexpr long kGrowthKilobytes = 32 * 1024;
  EXPECT_LT(PeakKilobytes(robot.pid()) - before, kGrowthKilobytes);
  EXPECT_EQ(robot.Stop(SIGTERM), 0);
  EXPECT_TRUE(fs::is_empty(data.path() / "incoming"));
}

}  // namespace
}  // namespace zeltra::robot
