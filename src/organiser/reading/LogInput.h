#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/logfile/LogKind.h"
#include "core/text/Utf16Text.h"

namespace zeltra::organiser {

// A log file that cannot be opened or read, with the reason.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A log whose text is larger than the reader was told to take.
class InputTooLarge : public InputError {
 public:
  using InputError::InputError;
};

// The name that stands for standard input.
inline constexpr std::string_view kStandardInput = "-";

// A log opened for reading: a regular file or standard input, compressed
// with gzip or not (told by its bytes, not its name), as a stream of its
// text, with its kind known from its first bytes. UTF-16 text (known by its
// byte-order mark) is read as UTF-8. A file that decompresses
// to far more than a log could hold is refused as it is read, and so is
// one whose text, unpacked, is larger than the bound given (0: none).
class LogInput {
 public:
  // Throws InputError: a missing file, one that is no regular file (a
  // folder, a device, a FIFO), one that cannot be read.
  explicit LogInput(const std::string& name, std::uint64_t largestText = 0);
  ~LogInput();
  LogInput(const LogInput&) = delete;
  LogInput& operator=(const LogInput&) = delete;

  const KnownLog& known() const { return known_; }
  // The log's text from where the log starts (after a web form's text
  // before a Cabrillo log).
  std::istream& stream() { return stream_; }
  // Throws InputError when reading failed, or the file decompressed past
  // its bound (InputTooLarge: past the bound given): what was read is not
  // the whole log.
  void CheckRead() const;

  // For a log read as it is from a regular file (not standard input, not
  // compressed, not UTF-16, within the bound given): the bytes of its text,
  // as stream() counts them. None otherwise, and on Windows.
  std::optional<std::uint64_t> TextSize() const;
  // Where TextSize() answers, a second stream of the text from offset on,
  // read apart from stream() (which it does not move), for a large log
  // read in two parts at once; it must not outlive this input. A read
  // that fails makes it bad. None where TextSize() does not answer.
  std::unique_ptr<std::istream> TextFrom(std::uint64_t offset) const;

 private:
  class Buffer;
  std::unique_ptr<Buffer> buffer_;
  std::unique_ptr<Utf16Text> utf16_;  // for a UTF-16 file: its text as UTF-8
  std::istream stream_;
  KnownLog known_;
  int descriptor_ = -1;  // the file's, while buffer_ holds it open; -1 for standard input
};

}  // namespace zeltra::organiser
