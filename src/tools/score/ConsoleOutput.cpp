#include "tools/score/ConsoleOutput.h"

#include <iostream>

#ifdef _WIN32
#include <windows.h>

#include <string>

#include "core/text/Utf8.h"
#include "organiser/files/FileNames.h"
#endif

namespace zeltra::score {

#ifdef _WIN32
namespace {

// Gathers UTF-8 and writes it to a console as UTF-16, holding back a
// character whose bytes are not all there yet.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}
  ~ConsoleBuffer() override { Flush(); }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_ += traits_type::to_char_type(c);
    if (pending_.size() >= kFlushAt) Flush();
    return c;
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    if (pending_.size() >= kFlushAt) Flush();
    return count;
  }
  int sync() override { return Flush() ? 0 : -1; }

 private:
  static constexpr std::size_t kFlushAt = 4096;

  bool Flush() {
    const std::size_t whole = WholeUtf8Length(pending_);
    const std::wstring wide = organiser::Utf16Of(std::string_view(pending_).substr(0, whole));
    pending_.erase(0, whole);
    for (std::size_t written = 0; written < wide.size();) {
      DWORD now = 0;
      if (!WriteConsoleW(console_, wide.data() + written, static_cast<DWORD>(wide.size() - written),
                         &now, nullptr) ||
          now == 0)
        return false;
      written += now;
    }
    return true;
  }

  HANDLE console_;
  std::string pending_;
};

// The stream's console, if it is one.
HANDLE ConsoleOf(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
    return nullptr;
  return handle;
}

}  // namespace

ConsoleOutput::ConsoleOutput() {
  if (HANDLE console = ConsoleOf(STD_OUTPUT_HANDLE)) {
    std::cout.flush();
    out_ = std::make_unique<ConsoleBuffer>(console);
    formerOut_ = std::cout.rdbuf(out_.get());
  }
  if (HANDLE console = ConsoleOf(STD_ERROR_HANDLE)) {
    std::cerr.flush();
    errors_ = std::make_unique<ConsoleBuffer>(console);
    formerErrors_ = std::cerr.rdbuf(errors_.get());
  }
}

#else

ConsoleOutput::ConsoleOutput() = default;

#endif

ConsoleOutput::~ConsoleOutput() {
  if (formerOut_ != nullptr) {
    std::cout.flush();
    std::cout.rdbuf(formerOut_);
  }
  if (formerErrors_ != nullptr) {
    std::cerr.flush();
    std::cerr.rdbuf(formerErrors_);
  }
}

}  // namespace zeltra::score
