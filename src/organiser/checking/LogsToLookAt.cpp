#include "organiser/checking/LogsToLookAt.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>

namespace zeltra::organiser {
namespace {

constexpr std::size_t kPerMille = 1000;
constexpr std::int64_t kPerCent = 100;
// A share below the usual one divided by this is far below it.
constexpr std::size_t kFarBelow = 2;
// A call, band and minute in more logs than this is a crowd's, not a
// copy's sign (a busy station's run); it is not counted as shared.
constexpr std::size_t kCrowd = 8;
// A QSO's call, band and minute as a hash in the high bits of a number,
// its log's number in the low ones: the numbers sort into equal QSOs.
constexpr unsigned kLogBits = 20;
constexpr std::uint64_t kLogMask = (std::uint64_t{1} << kLogBits) - 1;

// What the check found of one log's QSOs.
struct Confirmation {
  std::size_t qsos = 0;       // lines that are no dupe
  std::size_t withLogs = 0;   // with stations that sent logs
  std::size_t confirmed = 0;  // of those, in the other station's log
};

bool InOthersLog(Verdict verdict) {
  return verdict == Verdict::kOk || verdict == Verdict::kBustedCall ||
         verdict == Verdict::kBustedExchange;
}

Confirmation ConfirmationOf(const LogCheck& check, std::size_t index) {
  Confirmation confirmation;
  for (std::size_t i = 0; i < check.QsoCount(index); ++i) {
    const Verdict verdict = check.QsoVerdict(index, i);
    if (verdict == Verdict::kDupe) continue;
    ++confirmation.qsos;
    if (InOthersLog(verdict) || verdict == Verdict::kNil) ++confirmation.withLogs;
    if (InOthersLog(verdict)) ++confirmation.confirmed;
  }
  return confirmation;
}

std::uint64_t Mixed(std::uint64_t value) {
  // splitmix64's finish: every input bit moves every output bit.
  value ^= value >> 30;
  value *= 0xBF58476D1CE4E5B9u;
  value ^= value >> 27;
  value *= 0x94D049BB133111EBu;
  return value ^ (value >> 31);
}

std::uint64_t QsoKey(const LogCheck& check, std::size_t log, std::size_t index) {
  const std::hash<std::string_view> hash;
  const std::uint64_t call = hash(check.QsoCall(log, index));
  const std::uint64_t band = hash(check.QsoBand(log, index));
  return Mixed(call ^ Mixed(band ^ Mixed(static_cast<std::uint64_t>(check.QsoMinute(log, index)))));
}

// For each log, the other log with which it shares the most QSOs (call,
// band and minute alike), and how many.
struct Sharing {
  std::size_t other = 0;
  std::size_t count = 0;
};
std::vector<Sharing> MostSharedWith(const LogCheck& check, std::size_t logCount) {
  std::vector<std::uint64_t> keys;
  for (std::size_t log = 0; log < logCount && log <= kLogMask; ++log)
    for (std::size_t i = 0; i < check.QsoCount(log); ++i)
      if (check.QsoVerdict(log, i) != Verdict::kDupe)
        keys.push_back((QsoKey(check, log, i) & ~kLogMask) | log);
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  std::unordered_map<std::uint64_t, std::size_t> pairs;
  for (std::size_t first = 0; first < keys.size();) {
    std::size_t end = first + 1;
    while (end < keys.size() && (keys[end] & ~kLogMask) == (keys[first] & ~kLogMask)) ++end;
    if (end - first > 1 && end - first <= kCrowd)
      for (std::size_t a = first; a < end; ++a)
        for (std::size_t b = a + 1; b < end; ++b)
          ++pairs[((keys[a] & kLogMask) << kLogBits) | (keys[b] & kLogMask)];
    first = end;
  }
  std::vector<Sharing> most(logCount);
  const auto note = [&](std::size_t log, std::size_t other, std::size_t count) {
    Sharing& best = most[log];
    if (count > best.count || (count == best.count && other < best.other)) best = {other, count};
  };
  for (const auto& [pair, count] : pairs) {
    const auto a = static_cast<std::size_t>(pair >> kLogBits);
    const auto b = static_cast<std::size_t>(pair & kLogMask);
    note(a, b, count);
    note(b, a, count);
  }
  return most;
}

bool IsCallCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/';
}

LogToLookAt Finding(const CheckedLog& log, Concern concern, std::uint64_t count = 0,
                    std::uint64_t of = 0) {
  LogToLookAt finding;
  finding.log = &log;
  finding.concern = concern;
  finding.count = count;
  finding.of = of;
  return finding;
}

void LookAtCall(const CheckedLog& log, std::vector<LogToLookAt>& found) {
  const std::string& call = log.log.callSign;
  if (!std::all_of(call.begin(), call.end(), IsCallCharacter))
    found.push_back(Finding(log, Concern::kCallNotACall));
  else if (call.size() > kLongestCall)
    found.push_back(Finding(log, Concern::kCallTooLong, call.size()));
}

// What its header declares against what it holds: values the contest
// does not know, a claim far from the score.
void LookAtDeclared(const CheckedLog& log, std::vector<LogToLookAt>& found) {
  for (const std::string& unknown : log.log.declared.unknown) {
    LogToLookAt finding = Finding(log, Concern::kUnknownCategory);
    finding.detail = unknown;
    found.push_back(std::move(finding));
  }
  // A station of several logs claims in each what that log scores; its
  // score is theirs together, which no one claim is compared with.
  if (log.log.claimedNumber && *log.log.claimedNumber >= 0 && log.joined.empty()) {
    const std::int64_t claimed = *log.log.claimedNumber;
    const std::int64_t score = log.log.score->Score();
    const std::int64_t off = claimed > score ? claimed - score : score - claimed;
    if (off * kPerCent > std::max(claimed, score) * kClaimFarOffPerCent)
      found.push_back(Finding(log, Concern::kClaimedFarOff, static_cast<std::uint64_t>(claimed),
                              static_cast<std::uint64_t>(score)));
  }
}

// The minutes in which a log of one transmitter has QSOs on two bands.
std::size_t MinutesOnTwoBands(const LogCheck& check, std::size_t index) {
  std::vector<std::pair<std::int64_t, std::string_view>> worked;
  for (std::size_t i = 0; i < check.QsoCount(index); ++i)
    worked.emplace_back(check.QsoMinute(index, i), check.QsoBand(index, i));
  std::sort(worked.begin(), worked.end());
  std::size_t minutes = 0;
  for (std::size_t first = 0; first < worked.size();) {
    std::size_t end = first + 1;
    bool twoBands = false;
    for (; end < worked.size() && worked[end].first == worked[first].first; ++end)
      twoBands = twoBands || worked[end].second != worked[first].second;
    if (twoBands) ++minutes;
    first = end;
  }
  return minutes;
}

void LookAtBands(const CheckedLog& log, const LogCheck& check, std::vector<LogToLookAt>& found) {
  if (log.offCategoryBand > 0) {
    LogToLookAt finding = Finding(log, Concern::kOffCategoryBand, log.offCategoryBand);
    finding.detail = log.log.declared.Value(CategoryKey::kBand);
    found.push_back(std::move(finding));
  }
  if (!log.log.declared.SingleTransmitter()) return;
  if (const std::size_t minutes = MinutesOnTwoBands(check, *log.checkIndex);
      minutes >= kFewestTwoBandMinutes)
    found.push_back(Finding(log, Concern::kBandsInOneMinute, minutes));
}

}  // namespace

std::vector<LogToLookAt> LogsToLookAt(const std::vector<CheckedLog>& logs, const LogCheck& check) {
  std::vector<const CheckedLog*> byIndex(check.LogCount(), nullptr);
  std::vector<Confirmation> confirmations(check.LogCount());
  std::vector<std::size_t> shares;
  for (const CheckedLog& log : logs) {
    if (!log.checkIndex) continue;
    byIndex[*log.checkIndex] = &log;
    Confirmation& confirmation = confirmations[*log.checkIndex];
    confirmation = ConfirmationOf(check, *log.checkIndex);
    if (confirmation.withLogs >= kFewestQsosJudged)
      shares.push_back(confirmation.confirmed * kPerMille / confirmation.withLogs);
  }
  std::size_t usual = 0;
  if (!shares.empty()) {
    std::nth_element(shares.begin(),
                     shares.begin() + static_cast<std::ptrdiff_t>(shares.size() / 2), shares.end());
    usual = shares[shares.size() / 2];
  }
  const std::vector<Sharing> sharing = MostSharedWith(check, check.LogCount());
  std::vector<LogToLookAt> found;
  for (const CheckedLog& log : logs) {
    if (log.log.Failed()) continue;
    LookAtCall(log, found);
    LookAtDeclared(log, found);
    if (!log.checkIndex) continue;
    LookAtBands(log, check, found);
    if (const std::optional<SentSerialsOff> off = check.SentSerials(*log.checkIndex)) {
      LogToLookAt finding = Finding(log, Concern::kSentSerialsOff, off->stations);
      finding.sentSerials = off;
      found.push_back(std::move(finding));
    }
    const Confirmation& confirmation = confirmations[*log.checkIndex];
    LogToLookAt entry = Finding(log, Concern::kNoStationWithLog, 0, confirmation.qsos);
    entry.usualPerMille = usual;
    if (confirmation.withLogs == 0 && confirmation.qsos >= kFewestQsosJudged) {
      found.push_back(entry);
    } else if (confirmation.withLogs >= kFewestQsosJudged &&
               confirmation.confirmed * kPerMille / confirmation.withLogs * kFarBelow < usual) {
      entry.concern = Concern::kFewConfirmed;
      entry.count = confirmation.confirmed;
      entry.of = confirmation.withLogs;
      found.push_back(entry);
    }
    const Sharing& shared = sharing[*log.checkIndex];
    if (shared.count >= kFewestQsosJudged && shared.count * 2 >= confirmation.qsos &&
        byIndex[shared.other] != nullptr) {
      LogToLookAt finding =
          Finding(log, Concern::kSharesWithOther, shared.count, confirmation.qsos);
      finding.other = byIndex[shared.other];
      found.push_back(std::move(finding));
    }
  }
  return found;
}

}  // namespace zeltra::organiser
