#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <tuple>

#include "core/crosscheck/Exchange.h"
#include "core/crosscheck/LogLines.h"
#include "core/crosscheck/StationCall.h"
#include "core/parallel/ForEachStretch.h"

namespace zeltra {

std::uint32_t LogCheck::NumberLog(std::string_view ownCall, std::int64_t written) {
  const std::uint32_t call = calls_.IdOf(StationCall(ownCall));
  const auto index = static_cast<std::uint32_t>(logs_.size());
  if (logOfCall_.size() <= call) logOfCall_.resize(call + 1, kNone);
  if (logOfCall_[call] == kNone) logOfCall_[call] = index;
  logs_.push_back({.call = call,
                   .ownCall = calls_.IdOf(ownCall),
                   .firstLine = static_cast<std::uint32_t>(lines_.size()),
                   .lineCount = 0,
                   .station = index,
                   .written = written});
  return index;
}

std::size_t LogCheck::AddLog(const LogLines& log, std::int64_t written) {
  const std::uint32_t index = NumberLog(log.ownCall_, written);
  // Each of the log's texts numbered here once.
  const std::vector<std::uint32_t> logged = calls_.IdsOf(log.calls_);
  std::vector<std::uint32_t> stations;
  stations.reserve(logged.size());
  for (const std::string_view call : log.calls_.texts())
    stations.push_back(calls_.IdOf(StationCall(call)));
  const std::vector<std::uint32_t> slots = slots_.IdsOf(log.slots_);
  const std::vector<std::uint32_t> exchanges = exchanges_.IdsOf(log.exchanges_);
  // Where the log puts a report, learnt from its own lines.
  ReportColumn sent;
  ReportColumn received;
  for (const LogLines::Line& line : log.lines_) {
    sent.Add(log.exchanges_.Text(line.sent));
    received.Add(log.exchanges_.Text(line.received));
  }
  logs_[index].sentReport = sent.Place();
  logs_[index].receivedReport = received.Place();
  for (const LogLines::Line& line : log.lines_)
    lines_.push_back({.log = index,
                      .file = index,
                      .position = line.position,
                      .call = stations[line.call],
                      .logged = logged[line.call],
                      .slot = slots[line.slot],
                      .minute = line.minute,
                      .sent = exchanges[line.sent],
                      .received = exchanges[line.received]});
  logs_[index].lineCount = static_cast<std::uint32_t>(log.lines_.size());
  for (const LogLines::Part& part : log.parts_)
    parts_.push_back({.log = index,
                      .file = index,
                      .call = stations[part.call],
                      .minute = part.minute,
                      .position = part.position,
                      .band = part.band,
                      .kind = part.kind});
  return index;
}

void LogCheck::Run(std::size_t threads) {
  JoinStationLogs();
  // The lines are all in: what their growing left spare is given back
  // before the findings and the index are made beside them.
  lines_.shrink_to_fit();
  parts_.shrink_to_fit();
  findings_.assign(lines_.size(), Finding{});
  std::sort(parts_.begin(), parts_.end(), [](const Part& a, const Part& b) {
    return std::tie(a.log, a.call, a.minute) < std::tie(b.log, b.call, b.minute);
  });
  exchangeContents_.clear();
  exchangeContentsAfterReport_.clear();
  for (const std::string_view exchange : exchanges_.texts()) {
    exchangeContents_.push_back(ExchangeContent(exchange, ReportPlace::kNone));
    exchangeContentsAfterReport_.push_back(ExchangeContent(exchange, ReportPlace::kFirst));
  }
  logOfCall_.resize(calls_.size(), kNone);
  IndexLines(threads);
  JudgeClocks(threads);
  MatchExactly(threads);
  MatchBustedCalls(threads);
  MatchReverseBusts();
  MatchBandErrors();
  MatchClockJumps();
  FindSentSerialErrors();
  MarkDupes();
  Judge(threads);
}

CheckedQso LogCheck::Qso(std::size_t log, std::size_t index) const {
  const std::uint32_t at = logs_[log].firstLine + static_cast<std::uint32_t>(index);
  const Line& line = lines_[at];
  const Finding& finding = findings_[at];
  const std::string_view slot = slots_.Text(line.slot);
  const std::size_t split = slot.find('\n');
  CheckedQso qso{.position = line.position,
                 .call = calls_.Text(line.logged),
                 .band = slot.substr(0, split),
                 .mode = slot.substr(split + 1),
                 .minute = line.minute,
                 .sent = exchanges_.Text(line.sent),
                 .received = exchanges_.Text(line.received),
                 .verdict = finding.verdict,
                 .detail = {},
                 .partnerLog = std::nullopt,
                 .partnerPosition = 0,
                 .nearest = std::nullopt,
                 .unreadableAnswer = std::nullopt,
                 .answerLeftOut = false,
                 .loggedAs = {},
                 .fault = finding.fault,
                 .ownFault = finding.ownFault,
                 .faultBy = finding.faultBy,
                 .otherLog = std::nullopt};
  // A designator of this station's call that the other log has otherwise.
  if (finding.verdict == Verdict::kOk && finding.partner != kNone &&
      lines_[finding.partner].call == logs_[line.log].call &&
      lines_[finding.partner].logged != logs_[line.file].ownCall)
    qso.loggedAs = calls_.Text(lines_[finding.partner].logged);
  if (finding.detail != kNone)
    qso.detail = finding.verdict == Verdict::kBustedExchange ? exchanges_.Text(finding.detail)
                                                             : calls_.Text(finding.detail);
  if (finding.partner != kNone) {
    qso.partnerLog = lines_[finding.partner].file;
    qso.partnerPosition = lines_[finding.partner].position;
  }
  if (finding.part != kNone) {
    qso.unreadableAnswer = parts_[finding.part].position;
    qso.answerLeftOut = parts_[finding.part].kind == PartKind::kLeftOut;
    qso.otherLog = parts_[finding.part].file;
  }
  if (finding.nearest != kNone) {
    const Line& nearest = lines_[finding.nearest];
    qso.otherLog = nearest.file;
    const std::string_view nearestSlot = slots_.Text(nearest.slot);
    qso.nearest = CheckedQso::Nearest{.position = nearest.position,
                                      .band = nearestSlot.substr(0, nearestSlot.find('\n')),
                                      .minute = nearest.minute};
  }
  return qso;
}

std::int64_t LogCheck::Corrected(std::uint32_t line) const {
  return lines_[line].minute - logs_[lines_[line].log].clockOffset;
}

bool LogCheck::WithinWindow(std::uint32_t a, std::uint32_t b) const {
  return Magnitude(Corrected(a) - Corrected(b)) <= rules_.windowMinutes;
}

// The lines sorted by their keys, kept beside them: each half sorted on a
// thread of its own, then the two merged.
void LogCheck::IndexLines(std::size_t threads) {
  struct Entry {
    Key key;
    std::uint32_t line;
    bool operator<(const Entry& other) const {
      return std::tie(key, line) < std::tie(other.key, other.line);
    }
  };
  std::vector<Entry> entries(lines_.size());
  for (std::uint32_t i = 0; i < entries.size(); ++i)
    entries[i] = {{lines_[i].call, lines_[i].log, lines_[i].slot}, i};
  // Two stretches at the most, split at the middle; one when too few.
  const auto middle = entries.begin() + static_cast<std::ptrdiff_t>(entries.size() / 2);
  ForEachStretch(
      entries.size(), std::min<std::size_t>(threads, 2), [](std::size_t at) { return at; },
      [&](std::size_t, std::size_t begin, std::size_t end) {
        std::sort(entries.begin() + static_cast<std::ptrdiff_t>(begin),
                  entries.begin() + static_cast<std::ptrdiff_t>(end));
      });
  std::inplace_merge(entries.begin(), middle, entries.end());
  byCall_.resize(entries.size());
  keys_.resize(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    byCall_[i] = entries[i].line;
    keys_[i] = entries[i].key;
  }
  // Where each call's lines start, so that a search for a log's lines of a
  // call looks through that call's few hundred, not all the keys.
  callStarts_.assign(calls_.size() + 1, 0);
  for (const Key& key : keys_) ++callStarts_[key.call + 1];
  for (std::size_t call = 1; call < callStarts_.size(); ++call)
    callStarts_[call] += callStarts_[call - 1];
}

std::size_t LogCheck::GroupStartFrom(std::size_t at) const {
  while (at > 0 && at < keys_.size() && keys_[at] == keys_[at - 1]) ++at;
  return at;
}

LogCheck::Range LogCheck::GroupAt(std::size_t begin) const {
  std::size_t end = begin + 1;
  while (end < keys_.size() && keys_[end] == keys_[begin]) ++end;
  return {begin, end};
}

LogCheck::Range LogCheck::LinesOf(std::uint32_t call, std::uint32_t log, std::uint32_t slot) const {
  return KeysFrom({call, log, slot}, {call, log, slot + 1});
}

LogCheck::Range LogCheck::KeysFrom(Key first, Key past) const {
  // Both keys are of one call: the search looks only through its lines.
  const Range lines = LinesOf(first.call);
  const auto from = keys_.begin() + static_cast<std::ptrdiff_t>(lines.begin);
  const auto to = keys_.begin() + static_cast<std::ptrdiff_t>(lines.end);
  const auto begin = std::lower_bound(from, to, first);
  const auto end = std::lower_bound(begin, to, past);
  return {static_cast<std::size_t>(begin - keys_.begin()),
          static_cast<std::size_t>(end - keys_.begin())};
}

LogCheck::Range LogCheck::LinesOf(std::uint32_t call, std::uint32_t log) const {
  return KeysFrom({call, log, 0}, {call, log + 1, 0});
}

const std::string& LogCheck::Content(std::uint32_t exchange, ReportPlace report) const {
  return report == ReportPlace::kFirst ? exchangeContentsAfterReport_[exchange]
                                       : exchangeContents_[exchange];
}

// The sender's log tells whether what it sent has a report; the copier's
// whether what it copies has one. Where the two logs differ (a log of
// serials with no report, copied by one that puts a report first), the
// copy is also read as the sender's log reads its own exchange, so that a
// copy of "143 257" exactly as sent is no bust, and "153 257" still is.
bool LogCheck::CopiedAsSent(std::uint32_t copier, std::uint32_t sender) const {
  const Line& copied = lines_[copier];
  const Line& sent = lines_[sender];
  const ReportPlace copiedPlace = logs_[copied.file].receivedReport;
  const ReportPlace sentPlace = logs_[sent.file].sentReport;
  const std::string& sentContent = Content(sent.sent, sentPlace);
  return Content(copied.received, copiedPlace) == sentContent ||
         (copiedPlace != sentPlace && Content(copied.received, sentPlace) == sentContent);
}

int LogCheck::Disagreements(std::uint32_t a, std::uint32_t b) const {
  return (CopiedAsSent(a, b) ? 0 : 1) + (CopiedAsSent(b, a) ? 0 : 1);
}

bool LogCheck::LosesForOwnFault(const Finding& finding) const {
  return finding.ownFault && (finding.fault != Fault::kSentSerial || rules_.penalizeSentSerial);
}

std::optional<SentSerialsOff> LogCheck::SentSerials(std::size_t log) const {
  const SentSerialsOff& off = logs_[logs_[log].station].sentSerials;
  if (off.stations == 0) return std::nullopt;
  return off;
}

std::string_view LogCheck::BandOf(std::uint32_t slot) const {
  const std::string_view text = slots_.Text(slot);
  return text.substr(0, text.find('\n'));
}

std::string_view LogCheck::ModeOf(std::uint32_t slot) const {
  const std::string_view text = slots_.Text(slot);
  return text.substr(text.find('\n') + 1);
}

void LogCheck::MarkFault(std::uint32_t own, std::uint32_t other, Fault fault, std::int32_t by) {
  findings_[own] = {.partner = other, .fault = fault, .ownFault = true, .faultBy = by};
  findings_[other] = {.partner = own, .fault = fault, .ownFault = false, .faultBy = -by};
}

FreeLines LogCheck::FreeLinesIn(std::vector<std::uint32_t> order) const {
  std::vector<std::int64_t> minutes;
  minutes.reserve(order.size());
  for (const std::uint32_t line : order) minutes.push_back(lines_[line].minute);
  return {std::move(order), std::move(minutes), lines_.size()};
}

FreeLines LogCheck::FreeLinesByCall() const {
  std::vector<std::uint32_t> order(byCall_);
  for (std::size_t begin = 0; begin < order.size();) {
    const Range group = GroupAt(begin);
    std::stable_sort(
        order.begin() + static_cast<std::ptrdiff_t>(group.begin),
        order.begin() + static_cast<std::ptrdiff_t>(group.end),
        [&](std::uint32_t a, std::uint32_t b) { return lines_[a].minute < lines_[b].minute; });
    begin = group.end;
  }
  FreeLines free = FreeLinesIn(std::move(order));
  for (std::uint32_t i = 0; i < lines_.size(); ++i)
    if (findings_[i].partner != kNone) free.Take(i);
  return free;
}

LogCheck::Range LogCheck::LinesOf(std::uint32_t call) const {
  if (call + std::size_t{1} >= callStarts_.size()) return {keys_.size(), keys_.size()};
  return {callStarts_[call], callStarts_[call + 1]};
}

// Lines of one call are in log order: another log's, if any, is first or last.
bool LogCheck::OthersHold(std::uint32_t call, std::uint32_t log) const {
  const Range range = LinesOf(call);
  return range.begin != range.end &&
         (lines_[byCall_[range.begin]].log != log || lines_[byCall_[range.end - 1]].log != log);
}

}  // namespace zeltra
