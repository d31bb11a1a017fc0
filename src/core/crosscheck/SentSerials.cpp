#include "core/crosscheck/LogCheck.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "core/text/Ascii.h"

namespace zeltra {
namespace {

// A log's sent serials are found off when at least this many stations
// copied them off by the same amount, more than copied them as logged.
constexpr std::size_t kFewestCopiersAgreeing = 3;
// Serials compared as numbers up to this many figures.
constexpr std::size_t kLongestSerial = 9;

std::optional<std::int64_t> SerialOf(const std::string& content) {
  if (content.empty() || content.size() > kLongestSerial || !AllDigits(content))
    return std::nullopt;
  return std::stoll(content);
}

}  // namespace

// A sender whose serials, as its log has them, differ from what several
// copiers copied by one and the same amount (its log starts at 002 where
// it sent 001): the sender's log is wrong, not the copies. The copiers
// keep those QSOs; the sender's lines with them are busted exchanges.
void LogCheck::FindSentSerialErrors() {
  struct Copy {
    std::uint32_t copier;
    std::uint32_t sender;
    std::int64_t off;  // as the sender logged it, less as copied
  };
  std::vector<Copy> copies;
  // By sender's log and amount, the copiers' logs.
  std::map<std::pair<std::uint32_t, std::int64_t>, std::set<std::uint32_t>> copiers;
  for (std::uint32_t copier = 0; copier < lines_.size(); ++copier) {
    const std::uint32_t sender = findings_[copier].partner;
    if (sender == kNone || findings_[copier].fault != Fault::kNone ||
        findings_[copier].verdict == Verdict::kBustedCall ||
        findings_[sender].verdict == Verdict::kBustedCall)
      continue;
    const Line& copied = lines_[copier];
    const Line& sent = lines_[sender];
    const std::optional<std::int64_t> copiedSerial =
        SerialOf(Content(copied.received, logs_[copied.log].receivedReport));
    const std::optional<std::int64_t> sentSerial =
        SerialOf(Content(sent.sent, logs_[sent.log].sentReport));
    if (!copiedSerial || !sentSerial) continue;
    const std::int64_t off = *sentSerial - *copiedSerial;
    copiers[{sent.log, off}].insert(copied.log);
    if (off != 0) copies.push_back({copier, sender, off});
  }
  const auto count = [&](std::uint32_t log, std::int64_t off) {
    const auto found = copiers.find({log, off});
    return found == copiers.end() ? std::size_t{0} : found->second.size();
  };
  for (const Copy& copy : copies) {
    const std::uint32_t log = lines_[copy.sender].log;
    const std::size_t agreeing = count(log, copy.off);
    if (agreeing < kFewestCopiersAgreeing || agreeing <= count(log, 0)) continue;
    MarkFault(copy.sender, copy.copier, Fault::kSentSerial, static_cast<std::int32_t>(copy.off));
  }
}

}  // namespace zeltra
