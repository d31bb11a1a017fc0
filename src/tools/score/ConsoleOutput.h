#pragma once

#include <memory>
#include <streambuf>

namespace zeltra::score {

// While it lives, what the program writes to std::cout and std::cerr (UTF-8)
// reaches a Windows console as Unicode through the console's own wide
// output, so that a name with a Polish letter reads as it is whatever the
// console's code page; a stream sent to a file or a pipe keeps its UTF-8
// bytes. Elsewhere, and for a stream that is no console, it changes nothing.
class ConsoleOutput {
 public:
  ConsoleOutput();
  ~ConsoleOutput();
  ConsoleOutput(const ConsoleOutput&) = delete;
  ConsoleOutput& operator=(const ConsoleOutput&) = delete;

 private:
  std::unique_ptr<std::streambuf> out_;
  std::unique_ptr<std::streambuf> errors_;
  std::streambuf* formerOut_ = nullptr;
  std::streambuf* formerErrors_ = nullptr;
};

}  // namespace zeltra::score
