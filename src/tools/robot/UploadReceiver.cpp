#include "tools/robot/UploadReceiver.h"

#include <string_view>

#include "tools/robot/store/StoreFailure.h"

namespace zeltra::robot {
namespace {

constexpr std::size_t kReaderBuffer = 16 * 1024;
constexpr std::size_t kLongestKey = 200;

}  // namespace

UploadReceiver::UploadReceiver(MHD_Connection* connection, const std::filesystem::path& incoming,
                               const BodyLimits& limits,
                               std::chrono::steady_clock::time_point arrived)
    : piece_(incoming),
      limits_(limits),
      arrived_(arrived),
      reader_(MHD_create_post_processor(connection, kReaderBuffer, &UploadReceiver::Field, this)) {}

UploadReceiver::~UploadReceiver() {
  if (reader_ != nullptr) MHD_destroy_post_processor(reader_);
}

bool UploadReceiver::Take(const char* data, std::size_t size,
                          std::chrono::steady_clock::time_point now) {
  bodyBytes_ += size;
  if (bodyBytes_ > limits_.logBytes + limits_.formBytes) {
    stop_ = Stop::kTooMuch;
    return false;
  }
  const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(now - arrived_);
  if (elapsed > limits_.longest ||
      (elapsed > limits_.rateWindow &&
       bodyBytes_ < limits_.bytesPerSecond * static_cast<std::uint64_t>(elapsed.count()))) {
    stop_ = Stop::kTooSlow;
    return false;
  }
  // Once the piece cannot be written or the form read, the rest of the
  // body is read and dropped, so that the client can be answered.
  if (stop_ == Stop::kBroken || stop_ == Stop::kBadForm) return true;
  if (MHD_post_process(reader_, data, size) != MHD_YES && stop_ == Stop::kNone)
    stop_ = Stop::kBadForm;
  return true;
}

MHD_Result UploadReceiver::Field(void* self, MHD_ValueKind, const char* name, const char*,
                                 const char*, const char*, const char* data, std::uint64_t offset,
                                 std::size_t size) {
  auto& receiver = *static_cast<UploadReceiver*>(self);
  return receiver.TakeField(name == nullptr ? "" : name, data, offset, size) ? MHD_YES : MHD_NO;
}

bool UploadReceiver::TakeField(const std::string& name, const char* data, std::uint64_t offset,
                               std::size_t size) {
  if (name != lastField_ || offset == 0) {
    if (lastField_ == "log" && logBytes_ > 0) logDone_ = true;
    lastField_ = name;
  }
  if (name == "key") {
    if (!key_) key_.emplace();
    const std::size_t room = kLongestKey - std::min(kLongestKey, key_->size());
    key_->append(data, std::min(room, size));
    return true;
  }
  if (name != "log" || logDone_) return true;
  logSeen_ = true;
  logBytes_ += static_cast<std::int64_t>(size);
  if (static_cast<std::size_t>(logBytes_) > limits_.logBytes) {
    stop_ = Stop::kTooLarge;
    return true;
  }
  try {
    piece_.Append(std::string_view(data, size));
  } catch (const StoreFailure&) {
    stop_ = Stop::kBroken;
    return false;
  }
  return true;
}

}  // namespace zeltra::robot
