#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <limits>
#include <optional>
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

// Which copier's log copied which sender's log off by how much, each once
// when sorted.
struct Copier {
  std::uint32_t sender;
  std::int64_t off;
  std::uint32_t copier;
  auto operator<=>(const Copier&) const = default;
};

// Above every copier's log, to bound a search for all of them.
constexpr std::uint32_t kAnyCopier = std::numeric_limits<std::uint32_t>::max();

void SortOnce(std::vector<Copier>& copiers) {
  std::sort(copiers.begin(), copiers.end());
  copiers.erase(std::unique(copiers.begin(), copiers.end()), copiers.end());
}

// How many copiers' logs copied the sender's log off by off.
std::size_t CopiersOf(const std::vector<Copier>& copiers, std::uint32_t sender, std::int64_t off) {
  const auto begin = std::lower_bound(copiers.begin(), copiers.end(), Copier{sender, off, 0});
  const auto end = std::upper_bound(begin, copiers.end(), Copier{sender, off, kAnyCopier});
  return static_cast<std::size_t>(end - begin);
}

}  // namespace

std::optional<std::int64_t> LogCheck::SerialCopiedOffBy(std::uint32_t copier) const {
  const std::uint32_t sender = findings_[copier].partner;
  if (sender == kNone || findings_[copier].fault != Fault::kNone ||
      findings_[copier].verdict == Verdict::kBustedCall ||
      findings_[sender].verdict == Verdict::kBustedCall)
    return std::nullopt;
  const Line& copied = lines_[copier];
  const Line& sent = lines_[sender];
  const std::optional<std::int64_t> copiedSerial =
      SerialOf(Content(copied.received, logs_[copied.file].receivedReport));
  const std::optional<std::int64_t> sentSerial =
      SerialOf(Content(sent.sent, logs_[sent.file].sentReport));
  if (!copiedSerial || !sentSerial) return std::nullopt;
  return *sentSerial - *copiedSerial;
}

// A sender whose serials, as its log has them, differ from what several
// copiers copied by one and the same amount (its log starts at 002 where
// it sent 001): the sender's log is wrong, not the copies. The copiers
// keep those QSOs; the sender's lines with them are busted exchanges.
void LogCheck::FindSentSerialErrors() {
  // First the copies off, few: the senders that enough copiers agree
  // against are suspected.
  struct Copy {
    std::uint32_t copier;
    std::int64_t by;
  };
  std::vector<Copy> copies;
  std::vector<Copier> off;
  for (std::uint32_t copier = 0; copier < lines_.size(); ++copier)
    if (const std::optional<std::int64_t> by = SerialCopiedOffBy(copier); by && *by != 0) {
      copies.push_back({copier, *by});
      off.push_back({lines_[findings_[copier].partner].log, *by, lines_[copier].log});
    }
  SortOnce(off);
  std::vector<bool> suspected(logs_.size());
  for (const Copier& copy : off)
    if (CopiersOf(off, copy.sender, copy.off) >= kFewestCopiersAgreeing)
      suspected[copy.sender] = true;
  // Then, of the suspected alone, the copiers that copied them as logged.
  std::vector<Copier> asLogged;
  for (std::uint32_t copier = 0; copier < lines_.size(); ++copier) {
    const std::uint32_t sender = findings_[copier].partner;
    if (sender == kNone || !suspected[lines_[sender].log]) continue;
    if (const std::optional<std::int64_t> by = SerialCopiedOffBy(copier); by && *by == 0)
      asLogged.push_back({lines_[sender].log, 0, lines_[copier].log});
  }
  SortOnce(asLogged);
  // The amounts are those found before any pair was marked.
  for (const auto& [copier, by] : copies) {
    const std::uint32_t sender = findings_[copier].partner;
    const std::uint32_t log = lines_[sender].log;
    const std::size_t agreeing = CopiersOf(off, log, by);
    if (agreeing < kFewestCopiersAgreeing || agreeing <= CopiersOf(asLogged, log, 0)) continue;
    MarkFault(sender, copier, Fault::kSentSerial, static_cast<std::int32_t>(by));
  }
}

}  // namespace zeltra
