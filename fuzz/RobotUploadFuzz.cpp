// libFuzzer: a file an entrant uploads to the robot, read as the robot
// reads it (gzip, UTF-16, ADIF, ADX, Cabrillo), and the receipt or the
// refusal made of it, in HTML and in JSON; the JSON must read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz/FuzzCountries.h"
#include "tools/robot/RobotPages.h"
#include "tools/robot/UploadCheck.h"
#include "tools/robot/store/IncomingFile.h"

namespace {

// The scratch folder the robot reads uploads through, in the working one.
const std::filesystem::path& Scratch() {
  static const std::filesystem::path folder = [] {
    const std::filesystem::path made = std::filesystem::absolute("robot-upload-fuzz.scratch");
    std::filesystem::create_directories(made);
    return made;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zeltra::robot::IncomingFile piece(Scratch());
  piece.Append(bytes);
  const auto checked = zeltra::robot::CheckUpload(piece.path(), piece.Sha256(), {}, {"ZELTRA-RTTY"},
                                                  &zeltra::fuzz::Countries());
  std::string json;
  if (const auto* refused = std::get_if<zeltra::robot::Refused>(&checked)) {
    if (refused->errors.empty() || refused->status < 400 || refused->status > 499) std::abort();
    zeltra::robot::RefusalPage(refused->status, refused->errors);
    json = zeltra::robot::RefusalJson(refused->errors);
  } else {
    const auto& log = std::get<zeltra::robot::Acceptable>(checked);
    if (log.facts.call.empty() || log.facts.qsos == 0) std::abort();
    const zeltra::robot::KeptLog kept{.id = 1, .facts = log.facts, .received = "2026-12-06 12:00"};
    const zeltra::robot::Receipt receipt{.log = kept, .key = "0123456789abcdef0123456789abcdef"};
    zeltra::robot::ReceiptPage(receipt, log.warnings);
    std::ostringstream page;
    zeltra::robot::WriteReceivedPage(page, {kept});
    std::ostringstream list;
    zeltra::robot::WriteReceivedJson(list, {kept});
    if (!nlohmann::json::accept(list.str())) std::abort();
    json = zeltra::robot::ReceiptJson(receipt, log.warnings);
  }
  if (!nlohmann::json::accept(json)) std::abort();
  return 0;
}
