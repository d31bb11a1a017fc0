#pragma once

#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace zeltra::robot {

// zeltra-robot (or another program) run as its own program with
// arguments, its standard output and errors into a file; killed (SIGTERM)
// when this goes, unless it ended.
class RobotProcess {
 public:
  RobotProcess(const std::vector<std::string>& arguments, const std::filesystem::path& said,
               const char* program = ZELTRA_ROBOT)
      : said_(said) {
    child_ = fork();
    if (child_ == 0) {
      std::vector<char*> argv;
      argv.push_back(const_cast<char*>(program));
      for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      if (freopen(said.c_str(), "w", stdout) == nullptr || dup2(fileno(stdout), 2) < 0) _exit(126);
      execv(program, argv.data());
      _exit(127);
    }
  }
  ~RobotProcess() {
    if (status_ == kRunning) Stop(SIGTERM);
  }
  RobotProcess(const RobotProcess&) = delete;
  RobotProcess& operator=(const RobotProcess&) = delete;

  // Waits until it answers on port, or has ended; true: it answers.
  bool Answers(int port, const std::string& host = "127.0.0.1") {
    httplib::Client client(host, port);
    constexpr int kTries = 200;
    for (int tries = 0; tries < kTries; ++tries) {
      if (client.Get("/")) return true;
      if (Ended()) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  // Its exit status, once it ended (waited for); -1 it was killed.
  int Wait() {
    if (status_ == kRunning) {
      int status = 0;
      waitpid(child_, &status, 0);
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return status_;
  }
  int Stop(int signal) {
    if (status_ == kRunning) kill(child_, signal);
    return Wait();
  }
  pid_t pid() const { return child_; }
  std::string said() const {
    std::ifstream in(said_);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  static constexpr int kRunning = -2;
  bool Ended() {
    int status = 0;
    if (waitpid(child_, &status, WNOHANG) != child_) return false;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
  }

  std::filesystem::path said_;
  pid_t child_ = -1;
  int status_ = kRunning;
};

}  // namespace zeltra::robot
