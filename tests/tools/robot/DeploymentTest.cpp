// The README's deployment, tried: Debian's nginx on loopback with the
// README's own location block, the robot behind it with --trusted-proxy,
// uploads through it from another loopback address.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <thread>

#include "support/FileText.h"
#include "support/FreePort.h"
#include "support/SqliteLog.h"
#include "tools/robot/AddressShare.h"
#include "tools/robot/CommandRun.h"
#include "tools/robot/LoopbackClient.h"
#include "tools/robot/RobotProcess.h"
#include "tools/robot/ServingRobot.h"
#include "tools/robot/http/ClientAddress.h"
#include "tools/robot/store/Descriptor.h"

namespace zeltra::robot {
namespace {

using Json = nlohmann::json;
constexpr const char* kNginx = "/usr/sbin/nginx";

// A part of the README's nginx configuration, as an organiser would copy
// it: from the line that starts so to the end of its indented block.
std::string ReadmePart(const std::string& first) {
  const std::string readme = zeltra::testing::FileText(std::string(ZELTRA_README));
  const std::size_t start = readme.find("\n    " + first);
  const std::size_t end = readme.find("\n\n", start + 1);
  if (start == std::string::npos || end == std::string::npos) return {};
  return readme.substr(start + 1, end - start);
}

std::string ReadmeLocation() {
  return ReadmePart("location / {");
}

// The README's nginx configuration whole, nginx listening on port and the
// robot behind it on robotPort, its files in dir.
std::string NginxConfiguration(const std::string& dir, int port, int robotPort) {
  return "user root;\nworker_processes 1;\n" + ReadmePart("worker_rlimit_nofile") + "error_log " +
         dir + "/error.log;\npid " + dir + "/nginx.pid;\nhttp {\n  access_log " + dir +
         "/access.log;\n  client_body_temp_path " + dir + "/body;\n  proxy_temp_path " + dir +
         "/proxy;\n  fastcgi_temp_path " + dir + "/fastcgi;\n  uwsgi_temp_path " + dir +
         "/uwsgi;\n  scgi_temp_path " + dir + "/scgi;\n" + ReadmePart("# the robot's shares") +
         "  server {\n    listen 127.0.0.1:" + std::to_string(port) + ";\n" +
         std::regex_replace(ReadmeLocation(), std::regex("127\\.0\\.0\\.1:8080"),
                            "127.0.0.1:" + std::to_string(robotPort)) +
         "\n  }\n}\n";
}

// One request from a loopback address of the test's choosing; the whole
// answer, up to the server's close.
std::string RequestFrom(const std::string& source, int port, const std::string& request) {
  const Descriptor connection = ConnectFrom(source, port);
  if (connection.get() < 0) return "(no connection)";
  send(connection.get(), request.data(), request.size(), MSG_NOSIGNAL);
  timeval wait{.tv_sec = 20, .tv_usec = 0};
  setsockopt(connection.get(), SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  std::string answer;
  char chunk[4096];
  ssize_t got = 0;
  while ((got = recv(connection.get(), chunk, sizeof chunk, 0)) > 0)
    answer.append(chunk, static_cast<std::size_t>(got));
  return answer;
}

std::string UploadRequest(const std::string& log, const std::string& extraHeaders) {
  const std::string body =
      "--xyzzy\r\nContent-Disposition: form-data; name=\"log\"; filename=\"a.log\"\r\n\r\n" + log +
      "\r\n--xyzzy--\r\n";
  return "POST /upload HTTP/1.1\r\nHost: robot.example\r\nConnection: close\r\nAccept: "
         "application/json\r\n" +
         extraHeaders + "Content-Type: multipart/form-data; boundary=xyzzy\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + body;
}

TEST(Deployment, BehindTheReadmesNginxEachEntrantIsSeenByTheirOwnAddress) {
  if (!fs::exists(kNginx)) GTEST_SKIP() << "no nginx";
  zeltra::testing::TemporaryFolder data;
  zeltra::testing::TemporaryFolder proxy;
  const std::string location = ReadmeLocation();
  ASSERT_NE(location.find("proxy_pass http://127.0.0.1:8080;"), std::string::npos) << location;
  const int robotPort = zeltra::testing::FreeLoopbackPort();
  const int proxyPort = zeltra::testing::FreeLoopbackPort();
  RobotProcess robot(
      {"serve", "--data", data.path().string(), "--listen",
       "127.0.0.1:" + std::to_string(robotPort), "--from", "2026-12-05 00:00", "--to",
       "2026-12-06 00:00", "--trusted-proxy", "127.0.0.1", "--per-minute", "2"},
      data.path() / "robot.txt");
  ASSERT_TRUE(robot.Answers(robotPort)) << robot.said();
  const std::string dir = proxy.path().string();
  std::ofstream(proxy.path() / "nginx.conf") << NginxConfiguration(dir, proxyPort, robotPort);
  RobotProcess nginx({"-p", dir, "-c", dir + "/nginx.conf", "-g", "daemon off;"},
                     proxy.path() / "said.txt", kNginx);
  ASSERT_TRUE(nginx.Answers(proxyPort)) << nginx.said();

  // Through the proxy from 127.0.0.2: the robot sees 127.0.0.2, and the
  // rate per address is that address's.
  struct Case {
    std::string source;
    int port;
    std::string headers;
    std::string call;
    std::string status;  // the answer's status line begins so
    std::string seen;    // the address the robot records
  };
  const std::vector<Case> cases = {
      {"127.0.0.2", proxyPort, "", "SP1AAA", "HTTP/1.1 200", "127.0.0.2"},
      {"127.0.0.2", proxyPort, "X-Forwarded-For: 10.1.1.1\r\n", "SP2AAA", "HTTP/1.1 200",
       "127.0.0.2"},
      {"127.0.0.2", proxyPort, "", "SP3AAA", "HTTP/1.1 429", "127.0.0.2"},
      {"127.0.0.3", proxyPort, "", "SP3AAA", "HTTP/1.1 200", "127.0.0.3"},
      // Straight to the robot from another address: its own claim is not
      // believed.
      {"127.0.0.4", robotPort, "X-Forwarded-For: 10.9.9.9\r\n", "SP4AAA", "HTTP/1.1 200",
       "127.0.0.4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call + " from " + c.source);
    const std::string answer =
        RequestFrom(c.source, c.port, UploadRequest(CabrilloOf(c.call), c.headers));
    EXPECT_EQ(answer.rfind(c.status, 0), 0U) << answer.substr(0, 400);
    EXPECT_NE(answer.find("Content-Security-Policy: default-src 'none'"), std::string::npos);
  }
  const std::string attempts = RunCommand(std::string(ZELTRA_ROBOT) +
                                          " attempts --format json --data " + data.path().string())
                                   .said;
  const Json recorded = Json::parse(attempts, nullptr, false);
  ASSERT_FALSE(recorded.is_discarded()) << attempts;
  ASSERT_EQ(recorded["attempts"].size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(recorded["attempts"][i]["address"], cases[i].seen) << i;
  EXPECT_EQ(nginx.Stop(SIGTERM), 0);
}

// Behind the README's nginx, a stranger who trickles forty uploads from
// one address, and another who floods the list from another, each hold
// their share; honest entrants from other addresses are answered
// meanwhile.
TEST(Deployment, TheReadmesNginxHoldsAStrangerToItsShare) {
  if (!fs::exists(kNginx)) GTEST_SKIP() << "no nginx";
  zeltra::testing::TemporaryFolder data;
  zeltra::testing::TemporaryFolder proxy;
  const int robotPort = zeltra::testing::FreeLoopbackPort();
  const int proxyPort = zeltra::testing::FreeLoopbackPort();
  RobotProcess robot({"serve", "--data", data.path().string(), "--listen",
                      "127.0.0.1:" + std::to_string(robotPort), "--from", "2026-12-05 00:00",
                      "--to", "2026-12-06 00:00", "--trusted-proxy", "127.0.0.1"},
                     data.path() / "robot.txt");
  ASSERT_TRUE(robot.Answers(robotPort)) << robot.said();
  const std::string dir = proxy.path().string();
  std::ofstream(proxy.path() / "nginx.conf") << NginxConfiguration(dir, proxyPort, robotPort);
  RobotProcess nginx({"-p", dir, "-c", dir + "/nginx.conf", "-g", "daemon off;"},
                     proxy.path() / "said.txt", kNginx);
  ASSERT_TRUE(nginx.Answers(proxyPort)) << nginx.said();

  constexpr int kTricklers = 40;
  const std::string start = UploadRequest(std::string(3000, 'Q'), "");
  std::vector<Descriptor> tricklers;
  for (int i = 0; i < kTricklers; ++i) {
    tricklers.push_back(ConnectFrom("127.0.0.5", proxyPort));
    send(tricklers.back().get(), start.data(), start.size() - 2000, MSG_NOSIGNAL);
  }
  std::atomic<bool> trickling{true};
  std::thread trickle([&] {
    while (trickling) {
      for (const Descriptor& trickler : tricklers) send(trickler.get(), "Q", 1, MSG_NOSIGNAL);
      std::this_thread::sleep_for(std::chrono::seconds(1));
    }
  });
  std::atomic<int> floodRefused{0};
  std::thread flood([&] {
    for (int i = 0; i < 300; ++i)
      if (RequestFrom("127.0.0.6", proxyPort,
                      "GET /received.json HTTP/1.1\r\nHost: r\r\nConnection: close\r\n\r\n")
              .rfind("HTTP/1.1 429", 0) == 0)
        ++floodRefused;
  });
  std::vector<std::string> honest;
  for (int i = 0; i < 10; ++i)
    honest.push_back(RequestFrom("127.0.0." + std::to_string(10 + i), proxyPort,
                                 UploadRequest(CabrilloOf("SP" + std::to_string(i) + "HON"), ""))
                         .substr(0, 12));
  flood.join();
  // The tricklers past their share were answered at once, and closed.
  int trickleRefused = 0;
  for (const Descriptor& trickler : tricklers) {
    char head[12] = {};
    if (recv(trickler.get(), head, sizeof head, MSG_DONTWAIT) == sizeof head &&
        std::string(head, sizeof head) == "HTTP/1.1 429")
      ++trickleRefused;
  }
  trickling = false;
  trickle.join();
  EXPECT_EQ(honest, std::vector<std::string>(10, "HTTP/1.1 200"));
  EXPECT_EQ(trickleRefused, kTricklers - 16);
  EXPECT_GT(floodRefused, 200);
  EXPECT_EQ(nginx.Stop(SIGTERM), 0);
}

// Behind a proxy, one address may have only so many requests open at once.
TEST(Deployment, AnAddressSharesItsOpenRequests) {
  AddressShare share(2);
  EXPECT_TRUE(share.Open("192.0.2.1"));
  EXPECT_TRUE(share.Open("192.0.2.1"));
  EXPECT_FALSE(share.Open("192.0.2.1"));
  EXPECT_TRUE(share.Open("192.0.2.2"));
  share.Close("192.0.2.1");
  EXPECT_TRUE(share.Open("192.0.2.1"));
  share.Close("192.0.2.9");  // never opened: nothing
  struct Case {
    std::string header;
    std::string address;
  };
  const std::vector<Case> cases = {
      {"192.0.2.7", "192.0.2.7"},
      {" 10.0.0.1, 192.0.2.7 ", "192.0.2.7"},
      {"2001:db8::1", "2001:db8::1"},
      {"10.0.0.1, unknown", ""},
      {"", ""},
      {"192.0.2.7\r\nX: y", ""},
      {"<script>", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ForwardedAddress(c.header), c.address) << c.header;
  // An IPv6 client is counted by its /64.
  const std::vector<Case> shares = {
      {"2001:db8:1:2:3:4:5:6", "2001:db8:1:2::/64"},
      {"2001:db8:1:2::9", "2001:db8:1:2::/64"},
      {"2001:db8:1:3::9", "2001:db8:1:3::/64"},
      {"192.0.2.7", "192.0.2.7"},
      {"", ""},
  };
  for (const Case& c : shares) EXPECT_EQ(ShareKey(c.header), c.address) << c.header;
}

}  // namespace
}  // namespace zeltra::robot
