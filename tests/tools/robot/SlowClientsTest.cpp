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
#include "tools/robot/LoopbackClient.h"
#include "tools/robot/RobotProcess.h"
#include "tools/robot/ServingRobot.h"
#include "tools/robot/store/Descriptor.h"
#include "tools/robot/store/Records.h"
#include "tools/robot/store/UploadStore.h"
#include "tools/robot/store/UtcNow.h"

namespace zeltra::robot {
namespace {

using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;

Descriptor ConnectTo(int port, const char* from = "") {
  return ConnectFrom(from, port);
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

// One address may have only so many uploads in progress: one more is
// answered 429 with when to try again, not reset; twice as many
// connections it may hold, and no more; behind a trusted proxy, the
// proxy's connections are not held to a share, every other address is.
TEST(SlowClients, OneAddressHoldsOnlyItsShare) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.http.perAddress = 3;
  settings.trustedProxy = "127.0.0.2";
  ServingRobot robot(settings);
  std::vector<Descriptor> uploading;
  for (int i = 0; i < 3; ++i) {
    uploading.push_back(ConnectTo(robot.port()));
    ASSERT_TRUE(Sends(uploading.back().get(), kUploadStart + "QSO"));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const Descriptor fourth = ConnectTo(robot.port());
  ASSERT_TRUE(Sends(fourth.get(), kUploadStart + "QSO"));
  const std::string answer = ReadToClose(fourth.get(), 10);
  EXPECT_EQ(answer.rfind("HTTP/1.1 429", 0), 0U) << answer;
  EXPECT_NE(answer.find("Retry-After: 10"), std::string::npos) << answer;
  // Idle connections beside them: up to six in all, then closed at once.
  std::vector<Descriptor> idle;
  for (int i = 0; i < 3; ++i) idle.push_back(ConnectTo(robot.port()));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const Descriptor seventh = ConnectTo(robot.port());
  ASSERT_GE(seventh.get(), 0);  // the system accepts it; the robot closes it
  EXPECT_EQ(ReadToClose(seventh.get(), 5).find("(still open)"), std::string::npos);
  EXPECT_FALSE(Closed(idle[0].get()));
  // Another address has its own share; the proxy has none.
  const Descriptor other = ConnectTo(robot.port(), "127.0.0.3");
  std::vector<Descriptor> proxy;
  for (int i = 0; i < 8; ++i) proxy.push_back(ConnectTo(robot.port(), "127.0.0.2"));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(Closed(other.get()));
  for (const Descriptor& connection : proxy) EXPECT_FALSE(Closed(connection.get()));
  uploading.clear();
  idle.clear();
  httplib::Client client = robot.Client();
  // The robot sees them go a moment after they are closed.
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

// Strangers from many addresses that fill the server with half-sent
// headers: once it is crowded, headers must come within a second, and a
// new connection of an address holding two is answered busy, so an address
// new to it is served.
TEST(SlowClients, ACrowdOfAddressesLeavesRoomForANewClient) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.http.perAddress = 4;
  settings.http.connections = 40;
  settings.http.threads = 1;  // the library shares the connections among its threads
  ServingRobot robot(settings);
  // 35 connections, seven in eight of the 40: four addresses at their 8,
  // a fifth with 3, each waiting in its headers.
  std::vector<Descriptor> crowd;
  const auto join = [&](const std::string& from, int connections) {
    for (int i = 0; i < connections; ++i) {
      crowd.push_back(ConnectTo(robot.port(), from.c_str()));
      Sends(crowd.back().get(), "GET / HTTP/1.1\r\n");
    }
  };
  for (int address = 1; address <= 4; ++address) join("127.0.3." + std::to_string(address), 8);
  join("127.0.3.5", 3);
  join("127.0.3.6", 2);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  // The sixth address's third connection is told to wait, at once.
  const Descriptor third = ConnectTo(robot.port(), "127.0.3.6");
  ASSERT_TRUE(Sends(third.get(), "GET / HTTP/1.1\r\nHost: robot\r\n\r\n"));
  const std::string busy = ReadToClose(third.get(), 5);
  EXPECT_EQ(busy.rfind("HTTP/1.1 503", 0), 0U) << busy;
  EXPECT_NE(busy.find("Retry-After: 60"), std::string::npos) << busy;
  // An address new to it is served.
  const Descriptor honest = ConnectTo(robot.port(), "127.0.4.1");
  const std::string log = CabrilloOf("SP9AHW");
  const std::string body =
      "--xyzzy\r\nContent-Disposition: form-data; name=\"log\"; filename=\"a.log\"\r\n\r\n" + log +
      "\r\n--xyzzy--\r\n";
  ASSERT_TRUE(Sends(honest.get(),
                    "POST /upload HTTP/1.1\r\nHost: robot\r\nConnection: close\r\nContent-Type: "
                    "multipart/form-data; boundary=xyzzy\r\nContent-Length: " +
                        std::to_string(body.size()) + "\r\n\r\n" + body));
  const std::string answer = ReadToClose(honest.get(), 5);
  EXPECT_EQ(answer.rfind("HTTP/1.1 200", 0), 0U) << answer;
  // Crowded, the headers that do not come within a second are cut, until
  // it is no longer crowded (35 of 37).
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_GE(robot.CutOff(), 3U);
}

// Uploads in progress take at most seven in eight of the connections: one
// more is answered 503, and a page is still served. However well it keeps
// the rate, a body must be in within its window and the time the largest
// log takes at the rate.
TEST(SlowClients, UploadsHaveSlotsAndABodyADeadline) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.http.connections = 16;
  settings.http.threads = 1;
  settings.rateWindow = std::chrono::seconds(1);  // the deadline: 1 s + 4096 B at 1 KB/s
  ServingRobot robot(settings);
  std::vector<Descriptor> uploading;
  // The first announces 60,000 bytes, the others 3,000.
  std::string longer = kUploadStart;
  longer.replace(longer.find("3000"), 4, "60000");
  for (int i = 0; i < 14; ++i) {
    uploading.push_back(ConnectTo(robot.port(), ("127.0.5." + std::to_string(i + 1)).c_str()));
    ASSERT_TRUE(Sends(uploading.back().get(), (i == 0 ? longer : kUploadStart) + "QSO"));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const Descriptor one = ConnectTo(robot.port(), "127.0.6.1");
  ASSERT_TRUE(Sends(one.get(), kUploadStart + "QSO"));
  const std::string busy = ReadToClose(one.get(), 5);
  EXPECT_EQ(busy.rfind("HTTP/1.1 503", 0), 0U) << busy;
  EXPECT_NE(busy.find("Retry-After: 60"), std::string::npos) << busy;
  httplib::Client client("127.0.0.1", robot.port());
  const httplib::Result page = client.Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  // One of them goes on at 2 KB/s, in a field of the form: cut at 5 s.
  const Clock::time_point started = Clock::now();
  const int steady = uploading.front().get();
  ASSERT_TRUE(Sends(steady, "\r\n--xyzzy\r\nContent-Disposition: form-data; name=\"x\"\r\n\r\n"));
  while (Sends(steady, std::string(200, 'x')) && Clock::now() - started < std::chrono::seconds(12))
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const std::chrono::duration<double> took = Clock::now() - started;
  EXPECT_LT(took.count(), 10.0);
  EXPECT_GE(robot.CutOff(), 1U);
}

// An organiser's script, a club sending for its members: twelve uploads at
// once from one address, within its share of 16, are all answered.
TEST(SlowClients, TwelveUploadsAtOnceFromOneAddressAreAllAnswered) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.http.perAddress = 16;
  ServingRobot robot(settings);
  constexpr int kUploads = 12;
  std::vector<int> statuses(kUploads, 0);
  std::vector<std::thread> senders;
  for (int i = 0; i < kUploads; ++i)
    senders.emplace_back([&, i] {
      httplib::Client client = robot.Client();
      const httplib::Result sent = Send(client, CabrilloOf("SP" + std::to_string(i) + "AAA"));
      statuses[static_cast<std::size_t>(i)] = sent ? sent->status : -1;
    });
  for (std::thread& sender : senders) sender.join();
  EXPECT_EQ(statuses, std::vector<int>(kUploads, 200));
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

// The robot's resident memory, from /proc, in kB.
std::size_t ResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stoul(line.substr(6));
  return 0;
}

// Readers of the list of 5,000 logs that never read, from eight addresses:
// they share one copy of it, and an honest upload is answered meanwhile.
TEST(SlowClients, ReadersWhoNeverReadShareOneCopyOfTheList) {
  zeltra::testing::TemporaryFolder data;
  { const UploadStore made(data.path()); }
  {
    const Records records(data.path(), Records::Access::kWrite);
    records.Run(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
        "INSERT INTO logs (call, categories, qsos, score, sha256, received, state, "
        "current_order, bytes, address) SELECT 'SP' || i || 'ABC', 'SINGLE-OP ALL HIGH', 100, "
        "1000, hex(randomblob(32)), '2026-12-06 10:00:00', 'accepted', i, 1000, '127.0.0.1' "
        "FROM n");
  }
  const int port = zeltra::testing::FreeLoopbackPort();
  RobotProcess robot({"serve", "--data", data.path().string(), "--listen",
                      "127.0.0.1:" + std::to_string(port), "--per-address", "64", "--per-minute",
                      "0", "--from", "2026-12-05 00:00", "--to", "2026-12-06 00:00"},
                     data.path() / "robot.txt");
  ASSERT_TRUE(robot.Answers(port)) << robot.said();
  httplib::Client client("127.0.0.1", port);
  const httplib::Result warm = client.Get("/received.json");
  ASSERT_TRUE(warm);
  ASSERT_GT(warm->body.size(), 500'000U);
  const std::size_t before = ResidentKb(robot.pid());
  constexpr int kAddresses = 8;
  constexpr int kReaders = 50;
  std::vector<Descriptor> readers;
  for (int address = 0; address < kAddresses; ++address) {
    const std::string from = "127.0.0." + std::to_string(10 + address);
    for (int i = 0; i < kReaders; ++i) {
      Descriptor reader = ConnectFrom(from, port);
      ASSERT_GE(reader.get(), 0);
      constexpr int kSmallBuffer = 4096;
      setsockopt(reader.get(), SOL_SOCKET, SO_RCVBUF, &kSmallBuffer, sizeof kSmallBuffer);
      ASSERT_TRUE(Sends(reader.get(), "GET /received.json HTTP/1.1\r\nHost: robot\r\n\r\n"));
      readers.push_back(std::move(reader));
    }
  }
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const httplib::Result honest = Send(client, CabrilloOf("SP9AHW"));
  ASSERT_TRUE(honest);
  EXPECT_EQ(honest->status, 200);
  const std::size_t during = ResidentKb(robot.pid());
  // A copy each would be 400 times the list, some 200 MB and more.
  EXPECT_LT(during, before + 60'000) << before << " kB before, " << during << " kB with them";
}

}  // namespace
}  // namespace zeltra::robot
