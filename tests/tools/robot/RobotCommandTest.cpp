// zeltra-robot's command line: what it refuses before it starts, and with
// which words.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "support/SqliteLog.h"

namespace zeltra::robot {
namespace {

struct Ran {
  int status = -1;
  std::string said;
};

// The program run with its output and errors read together.
Ran RunRobot(const std::string& arguments) {
  const std::string command = std::string(ZELTRA_ROBOT) + " " + arguments + " 2>&1";
  Ran run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 512> chunk{};
  std::size_t got = 0;
  while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) run.said.append(chunk.data(), got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
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
    const Ran run = RunRobot(c.arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.said.find(c.said), std::string::npos) << run.said;
  }
  // A port of five digits and the top one are ports.
  const Ran listening = RunRobot("serve " + folder + " --listen 127.0.0.1:65535 --help");
  EXPECT_EQ(listening.status, 0) << listening.said;
}

}  // namespace
}  // namespace zeltra::robot
