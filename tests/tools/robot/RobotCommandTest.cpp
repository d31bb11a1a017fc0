// zeltra-robot's command line: what it refuses before it starts, and with
// which words.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/SqliteLog.h"
#include "tools/robot/CommandRun.h"
#include "tools/robot/Descriptor.h"

namespace zeltra::robot {
namespace {

namespace fs = std::filesystem;

// The program run with its output and errors read together.
CommandRun RunRobot(const std::string& arguments) {
  return RunCommand(std::string(ZELTRA_ROBOT) + " " + arguments + " 2>&1");
}

TEST(RobotCommand, WhatCannotBeServedIsRefusedBeforeItStarts) {
  zeltra::testing::TemporaryFolder data;
  const std::string folder = "--data " + data.path().string();
  struct Case {
    std::string arguments;
    std::string said;
  };
  const std::vector<Case> cases = {
      {"serve " + folder + " --listen nohost", "an address and port such as 127.0.0.1:8080"},
      {"serve " + folder + " --listen :8080", "not \":8080\""},
      {"serve " + folder + " --listen 127.0.0.1:65536", "not \"127.0.0.1:65536\""},
      {"serve " + folder + " --listen 127.0.0.1:80a", "not \"127.0.0.1:80a\""},
      {"serve " + folder + " --from yesterday", "--from: a UTC time"},
      {"serve " + folder + " --to 2026-12-32", "--to: a UTC time"},
      {"serve " + folder + " --deadline \"next Sunday\"", "--deadline: a UTC time"},
      {"serve " + folder + " --request-seconds 0", "--request-seconds"},
      {"serve", "--data is required"},
      {"export " + folder, "--to is required"},
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
      {"serve --data " + aFile.string() + " --listen 127.0.0.1:0", "zeltra-robot: "},
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

}  // namespace
}  // namespace zeltra::robot
