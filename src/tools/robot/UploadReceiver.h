#pragma once

#include <microhttpd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "tools/robot/store/IncomingFile.h"

namespace zeltra::robot {

// What an upload's body must keep to: the log's size, the form around it,
// and a rate below which a body that is still arriving is given up.
struct BodyLimits {
  std::size_t logBytes = 0;
  std::size_t formBytes = 64 * 1024;    // the form's own parts
  std::size_t bytesPerSecond = 1024;    // averaged over
  std::chrono::seconds rateWindow{30};  // the first window is free
  // However it keeps the rate, a body must all arrive within this.
  std::chrono::seconds longest{330};
};

// An upload's form (multipart/form-data) read as it arrives, through
// libmicrohttpd's streaming reader: the field "log" straight into a piece
// in incoming/, hashed on the way; the field "key" (its first 200 bytes);
// nothing else kept. Memory stays the same whatever the body's size.
class UploadReceiver {
 public:
  enum class Stop {
    kNone,
    kTooLarge,  // the log past logBytes: its bytes are no longer kept
    kTooSlow,   // below the rate once the first window is past
    kTooMuch,   // the body past the log and its form: the connection is closed
    kBroken,    // the piece could not be written: the rest is dropped
    kBadForm,   // the form could not be read (a part's headers too long): the rest is dropped
  };

  // Throws StoreFailure when the piece in incoming cannot be made; not
  // Readable() when the request is not a form the reader can read.
  UploadReceiver(MHD_Connection* connection, const std::filesystem::path& incoming,
                 const BodyLimits& limits, std::chrono::steady_clock::time_point arrived);
  ~UploadReceiver();
  UploadReceiver(const UploadReceiver&) = delete;
  UploadReceiver& operator=(const UploadReceiver&) = delete;

  bool Readable() const { return reader_ != nullptr; }
  // The body's next bytes; false: stop reading and close (stop() says why).
  bool Take(const char* data, std::size_t size, std::chrono::steady_clock::time_point now);

  Stop stop() const { return stop_; }
  bool hasLog() const { return logSeen_; }
  std::int64_t logBytes() const { return logBytes_; }
  const std::optional<std::string>& key() const { return key_; }
  IncomingFile& piece() { return piece_; }

 private:
  static MHD_Result Field(void* self, MHD_ValueKind kind, const char* name, const char* file,
                          const char* type, const char* encoding, const char* data,
                          std::uint64_t offset, std::size_t size);
  bool TakeField(const std::string& name, const char* data, std::uint64_t offset, std::size_t size);

  IncomingFile piece_;
  BodyLimits limits_;
  std::chrono::steady_clock::time_point arrived_;
  MHD_PostProcessor* reader_ = nullptr;
  std::uint64_t bodyBytes_ = 0;
  std::int64_t logBytes_ = 0;
  bool logSeen_ = false;
  bool logDone_ = false;  // a second field "log" is not the log
  std::string lastField_;
  std::optional<std::string> key_;
  Stop stop_ = Stop::kNone;
};

}  // namespace zeltra::robot
