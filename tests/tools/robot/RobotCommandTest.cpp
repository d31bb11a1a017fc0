// zeltra-robot's command line: what it refuses before it starts, and with
// which words.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/FreePort.h"
#include "support/SqliteLog.h"
#include "tools/robot/CommandRun.h"
#include "tools/robot/RobotProcess.h"
#include "tools/robot/store/Descriptor.h"

namespace zeltra::robot {
namespace {

namespace fs = std::filesystem;

const std::string kPeriod = " --from \"2026-12-05 00:00\" --to \"2026-12-06 00:00\"";

// The program run with its output and errors read together.
CommandRun RunRobot(const std::string& arguments) {
  return RunCommand(std::string(ZELTRA_ROBOT) + " " + arguments + " 2>&1");
}

TEST(RobotCommand, WhatCannotBeServedIsRefusedBeforeItStarts) {
  zeltra::testing::TemporaryFolder data;
  const std::string folder = "--data " + data.path().string() + kPeriod;
  struct Case {
    std::string arguments;
    std::string said;
  };
  const std::vector<Case> cases = {
      {"serve " + folder + " --listen nohost", "an address and port such as 127.0.0.1:8080"},
      {"serve " + folder + " --listen :8080", "not \":8080\""},
      {"serve " + folder + " --listen 127.0.0.1:65536", "not \"127.0.0.1:65536\""},
      {"serve " + folder + " --listen 127.0.0.1:80a", "not \"127.0.0.1:80a\""},
      {"serve --data " + data.path().string() + " --to \"2026-12-06 00:00\" --from yesterday",
       "--from: a UTC time"},
      {"serve --data " + data.path().string() + " --from \"2026-12-05 00:00\" --to 2026-12-32",
       "--to: a UTC time"},
      {"serve " + folder + " --deadline \"next Sunday\"", "--deadline: a UTC time"},
      {"serve", "--data is required"},
      {"serve --data " + data.path().string() + " --from \"2026-12-05 00:00\"", "--to is required"},
      {"serve --data " + data.path().string() + " --to \"2026-12-06 00:00\"", "--from is required"},
      {"serve " + folder + " --listen ::1:8080", "not \"::1:8080\""},
      {"serve " + folder + " --listen []:8080", "not \"[]:8080\""},
      {"serve " + folder + " --smtp http://mail.example.org --mail-from a@b",
       "an smtp:// or smtps:// URL, not \"http://mail.example.org\""},
      {"serve " + folder + " --smtp smtp://mail.example.org --mail-from nobody",
       "a mail address, not \"nobody\""},
      {"serve " + folder + " --smtp smtp://mail.example.org", "--smtp requires --mail-from"},
      {"export --data " + data.path().string(), "Exactly 1 option from [--into,--to] is required"},
      {"export --data " + data.path().string() + " --into a --to b", "and 2 were given"},
      {"accept --data " + data.path().string(), "ID is required"},
      {"attempts --data " + data.path().string() + " --format xml", "--format"},
      {"", "A subcommand is required"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const CommandRun run = RunRobot(c.arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.said.find(c.said), std::string::npos) << run.said;
  }
  // What it cannot start on ends with 1, and says why.
  const Descriptor taken(socket(AF_INET, SOCK_STREAM, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(bind(taken.get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(taken.get(), 1), 0);
  ASSERT_EQ(getsockname(taken.get(), reinterpret_cast<sockaddr*>(&address), &size), 0);
  const std::string port = std::to_string(ntohs(address.sin_port));
  const fs::path aFile = data.path() / "a-file";
  std::ofstream(aFile) << "not a folder";
  const std::vector<Case> unusable = {
      {"serve " + folder + " --listen 127.0.0.1:" + port, "cannot listen on 127.0.0.1:" + port},
      {"serve " + folder + " --listen 127.0.0.1:" + port +
           " --smtp smtps://127.0.0.1:1 --mail-from robot@example.org",
       "cannot listen on 127.0.0.1:" + port},
      {"serve --data " + aFile.string() + kPeriod + " --listen 127.0.0.1:0", "zeltra-robot: "},
      {"export --data " + (data.path() / "none").string() + " --into " + data.path().string(),
       "holds no robot's records"},
      // The old name still works for a release, and says so.
      {"export --data " + (data.path() / "none").string() + " --to " + data.path().string(),
       "export --to is now --into"},
      {"serve " + folder + " --listen 127.0.0.1:0 --cty " + (data.path() / "none.dat").string(),
       "none.dat"},
  };
  for (const Case& c : unusable) {
    SCOPED_TRACE(c.arguments);
    const CommandRun run = RunRobot(c.arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.said.find(c.said), std::string::npos) << run.said;
  }
  // A port of five digits and the top one are ports.
  const CommandRun listening = RunRobot("serve " + folder + " --listen 127.0.0.1:65535 --help");
  EXPECT_EQ(listening.status, 0) << listening.said;
}

std::vector<std::string> ServeArguments(const fs::path& data, const std::string& listen) {
  return {"serve",  "--data",           data.string(), "--listen",         listen,
          "--from", "2026-12-05 00:00", "--to",        "2026-12-06 00:00", "--per-minute",
          "0"};
}

// A second robot can take neither the first one's data folder nor its
// address; IPv6 addresses are listened on in brackets.
TEST(RobotCommand, OneRobotPerDataFolderAndPerAddress) {
  zeltra::testing::TemporaryFolder data;
  zeltra::testing::TemporaryFolder other;
  const int port = zeltra::testing::FreeLoopbackPort();
  const std::string listen = "127.0.0.1:" + std::to_string(port);
  RobotProcess first(ServeArguments(data.path(), listen), data.path() / "first.txt");
  ASSERT_TRUE(first.Answers(port)) << first.said();
  const std::string secondPort = std::to_string(zeltra::testing::FreeLoopbackPort());
  struct Case {
    std::string name;
    std::vector<std::string> arguments;
    std::string said;
  };
  const std::vector<Case> cases = {
      {"the same data folder", ServeArguments(data.path(), "127.0.0.1:" + secondPort),
       "is served by another robot: process "},
      {"the same address", ServeArguments(other.path(), listen), "cannot listen on " + listen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RobotProcess second(c.arguments, other.path() / "second.txt");
    EXPECT_EQ(second.Wait(), 1);
    EXPECT_NE(second.said().find(c.said), std::string::npos) << second.said();
  }
  EXPECT_EQ(first.Stop(SIGTERM), 0);

  // IPv6's loopback, where this machine has one.
  const Descriptor probe(socket(AF_INET6, SOCK_STREAM, 0));
  sockaddr_in6 address{};
  address.sin6_family = AF_INET6;
  address.sin6_addr = in6addr_loopback;
  socklen_t size = sizeof address;
  if (probe.get() < 0 || bind(probe.get(), reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(probe.get(), reinterpret_cast<sockaddr*>(&address), &size) != 0)
    GTEST_SKIP() << "no IPv6 loopback here";
  const int port6 = ntohs(address.sin6_port);
  close(probe.get());
  RobotProcess six(ServeArguments(other.path(), "[::1]:" + std::to_string(port6)),
                   other.path() / "six.txt");
  EXPECT_TRUE(six.Answers(port6, "::1")) << six.said();
  EXPECT_NE(six.said().find("listening on [::1]:" + std::to_string(port6)), std::string::npos)
      << six.said();
}

// An owner, a stranger under the owner's call, a refusal: the organiser's
// commands list them beside the serving robot, and decide the held one.
TEST(RobotCommand, TheOrganiserSeesEveryAttemptAndDecidesTheHeld) {
  zeltra::testing::TemporaryFolder data;
  const int port = zeltra::testing::FreeLoopbackPort();
  RobotProcess robot(ServeArguments(data.path(), "127.0.0.1:" + std::to_string(port)),
                     data.path() / "said.txt");
  ASSERT_TRUE(robot.Answers(port)) << robot.said();
  httplib::Client client("127.0.0.1", port);
  const std::string log =
      "START-OF-LOG: 3.0\nCALLSIGN: SP9AHW\nQSO: 14080 RY 2026-12-05 1000 SP9AHW 599 K DL1ABC 599 "
      "001\nEND-OF-LOG:\n";
  const auto send = [&](const std::string& bytes) {
    return client.Post("/upload", {{"Accept", "application/json"}},
                       httplib::MultipartFormDataItems{{"log", bytes, "a.log", ""}});
  };
  ASSERT_EQ(send(log)->status, 200);
  ASSERT_EQ(send(log + "\n")->status, 202);
  ASSERT_EQ(send("not a log")->status, 422);
  const std::string folder = " --data " + data.path().string();
  const CommandRun held = RunRobot("held" + folder);
  EXPECT_EQ(held.status, 0);
  EXPECT_NE(held.said.find("\n2\theld\tSP9AHW\t"), std::string::npos) << held.said;
  const CommandRun before = RunRobot("versions" + folder + " SP9AHW");
  EXPECT_EQ(std::count(before.said.begin(), before.said.end(), '\n'), 3) << before.said;
  const CommandRun json = RunRobot("attempts --format json" + folder);
  const nlohmann::json attempts = nlohmann::json::parse(json.said, nullptr, false);
  ASSERT_FALSE(attempts.is_discarded()) << json.said;
  ASSERT_EQ(attempts["attempts"].size(), 3U);
  EXPECT_EQ(attempts["attempts"][0]["outcome"], "accepted");
  EXPECT_EQ(attempts["attempts"][1]["outcome"], "held");
  EXPECT_EQ(attempts["attempts"][1]["upload"], 2);
  EXPECT_EQ(attempts["attempts"][2]["outcome"], "refused");
  EXPECT_EQ(attempts["attempts"][2]["status"], 422);
  EXPECT_EQ(attempts["attempts"][2]["address"], "127.0.0.1");
  EXPECT_EQ(attempts["attempts"][2]["bytes"], 9);
  const CommandRun csv = RunRobot("attempts" + folder);
  EXPECT_EQ(
      csv.said.rfind("id,time,address,outcome,status,call,bytes,sha256,upload,reason,count\n", 0),
      0U)
      << csv.said;
  EXPECT_EQ(std::count(csv.said.begin(), csv.said.end(), '\n'), 4);
  // The robot told each on its standard error, too.
  EXPECT_NE(robot.said().find(" 127.0.0.1 held 202 SP9AHW " + std::to_string(log.size() + 1) +
                              " bytes sha256 "),
            std::string::npos)
      << robot.said();
  EXPECT_NE(robot.said().find(" 127.0.0.1 refused 422 - 9 bytes sha256 "), std::string::npos);

  const CommandRun notHeld = RunRobot("reject" + folder + " 1");
  EXPECT_EQ(notHeld.status, 1);
  EXPECT_NE(notHeld.said.find("upload 1 is not held: it is accepted"), std::string::npos)
      << notHeld.said;
  const CommandRun accepted = RunRobot("accept" + folder + " 2");
  EXPECT_EQ(accepted.status, 0) << accepted.said;
  EXPECT_EQ(accepted.said, "upload 2 of SP9AHW: accepted, in place of upload 1\n");
  const nlohmann::json received = nlohmann::json::parse(client.Get("/received.json")->body);
  ASSERT_EQ(received["logs"].size(), 1U);
  const CommandRun noneHeld = RunRobot("held" + folder);
  EXPECT_EQ(std::count(noneHeld.said.begin(), noneHeld.said.end(), '\n'), 1) << noneHeld.said;
  const CommandRun versions = RunRobot("versions" + folder + " SP9AHW");
  EXPECT_NE(versions.said.find("\n1\taccepted\tSP9AHW\t"), std::string::npos) << versions.said;
  EXPECT_NE(versions.said.find("\n2\taccepted\tSP9AHW\t"), std::string::npos) << versions.said;
}

}  // namespace
}  // namespace zeltra::robot
