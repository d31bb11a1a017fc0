#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "core/text/Ascii.h"

namespace zeltra {
namespace {

// A log's sent serials are found off when at least this many stations
// copied them off by the same amount, more than copied them as logged.
constexpr std::size_t kFewestCopiersAgreeing = 3;
// Serials compared as numbers up to this many figures.
constexpr std::size_t kLongestSerial = 9;

// Of an exchange whose content is no serial.
constexpr std::int64_t kNoSerial = -1;

// The serial an exchange sends: its first part, after any report (two
// serials, the own and the last received, send the own first).
std::int64_t SerialOf(const std::string& content) {
  const std::string_view serial = std::string_view(content).substr(0, content.find(' '));
  if (serial.empty() || serial.size() > kLongestSerial || !AllDigits(serial)) return kNoSerial;
  return std::stoll(std::string(serial));
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

// By exchange, its content read as a serial (kNoSerial: none), as a log
// without a report reads it and as one with the report first does: each
// exchange is read once, not once a line.
struct LogCheck::Serials {
  std::vector<std::int64_t> whole;
  std::vector<std::int64_t> afterReport;

  Serials(const std::vector<std::string>& contents,
          const std::vector<std::string>& contentsAfterReport) {
    whole.reserve(contents.size());
    for (const std::string& content : contents) whole.push_back(SerialOf(content));
    afterReport.reserve(contentsAfterReport.size());
    for (const std::string& content : contentsAfterReport) afterReport.push_back(SerialOf(content));
  }
  std::int64_t Of(std::uint32_t exchange, ReportPlace report) const {
    return report == ReportPlace::kFirst ? afterReport[exchange] : whole[exchange];
  }
};

std::optional<std::int64_t> LogCheck::SerialCopiedOffBy(std::uint32_t copier,
                                                        const Serials& serials) const {
  const std::uint32_t sender = findings_[copier].partner;
  if (sender == kNone || findings_[copier].fault != Fault::kNone ||
      findings_[copier].verdict == Verdict::kBustedCall ||
      findings_[sender].verdict == Verdict::kBustedCall)
    return std::nullopt;
  const Line& copied = lines_[copier];
  const Line& sent = lines_[sender];
  const std::int64_t copiedSerial = serials.Of(copied.received, logs_[copied.file].receivedReport);
  const std::int64_t sentSerial = serials.Of(sent.sent, logs_[sent.file].sentReport);
  if (copiedSerial == kNoSerial || sentSerial == kNoSerial) return std::nullopt;
  return sentSerial - copiedSerial;
}

// A sender whose serials, as its log has them, differ from what several
// copiers copied by one and the same amount (its log starts at 002 where
// it sent 001): the sender's log is wrong, not the copies. The copiers
// keep those QSOs; the sender's lines with them are marked, and lose
// them only where the rules charge the sender. Where as many copied them
// as logged, nothing is told.
void LogCheck::FindSentSerialErrors() {
  const Serials serials(exchangeContents_, exchangeContentsAfterReport_);
  // First the copies off, few: the senders that enough copiers agree
  // against are suspected.
  struct Copy {
    std::uint32_t copier;
    std::int64_t by;
  };
  std::vector<Copy> copies;
  std::vector<Copier> off;
  for (std::uint32_t copier = 0; copier < lines_.size(); ++copier)
    if (const std::optional<std::int64_t> by = SerialCopiedOffBy(copier, serials); by && *by != 0) {
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
    if (const std::optional<std::int64_t> by = SerialCopiedOffBy(copier, serials); by && *by == 0)
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
    // The amount most stations agree on is the log's.
    SentSerialsOff& found = logs_[log].sentSerials;
    if (agreeing > found.stations || (agreeing == found.stations && by < found.by))
      found = {.by = static_cast<std::int32_t>(by),
               .stations = agreeing,
               .charged = rules_.penalizeSentSerial};
  }
}

}  // namespace zeltra
