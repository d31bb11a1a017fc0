#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace zeltra::robot {

// What a command said on its output, and its exit status (-1: it did not
// exit, or could not be run).
struct CommandRun {
  int status = -1;
  std::string said;
};

// Runs a shell command line (its redirections the caller's) to its end.
inline CommandRun RunCommand(const std::string& command) {
  constexpr std::size_t kChunk = 512;
  CommandRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, kChunk> chunk{};
  std::size_t got = 0;
  while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) run.said.append(chunk.data(), got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace zeltra::robot
