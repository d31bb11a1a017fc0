#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <tuple>

#include "core/crosscheck/ClockOffsets.h"
#include "core/crosscheck/Exchange.h"
#include "core/crosscheck/LogLines.h"
#include "core/crosscheck/NearCalls.h"
#include "core/parallel/ForEachStretch.h"

namespace zeltra {
namespace {

// A clock is judged from differences up to this: a log kept in local time
// instead of UTC is off by an hour or two.
constexpr std::int64_t kLargestClockOffsetMinutes = 180;
// A line is weighed against at most this many lines of the other side, the
// nearest in time.
constexpr std::size_t kPairsWeighed = 8;

std::int64_t Magnitude(std::int64_t value) {
  return value < 0 ? -value : value;
}

// How well two lines answer each other: how many of the two exchanges
// were not copied as sent (0, 1 or 2), and how far apart in time they are.
// More agreement wins; then the nearer in time; then the earlier lines.
struct PairEvidence {
  int disagreements;
  std::int64_t apart;
  std::uint32_t mine;
  std::uint32_t theirs;
  bool operator<(const PairEvidence& other) const {
    return std::tie(disagreements, apart, mine, theirs) <
           std::tie(other.disagreements, other.apart, other.mine, other.theirs);
  }
};

}  // namespace

std::uint32_t LogCheck::NumberLog(std::string_view ownCall) {
  const std::uint32_t call = calls_.IdOf(ownCall);
  if (logOfCall_.size() <= call) logOfCall_.resize(call + 1, kNone);
  if (logOfCall_[call] != kNone)
    throw std::invalid_argument("a second log of " + std::string(ownCall));
  logOfCall_[call] = static_cast<std::uint32_t>(logs_.size());
  logs_.push_back({.call = call,
                   .firstLine = static_cast<std::uint32_t>(lines_.size()),
                   .lineCount = 0,
                   .clockOffset = 0});
  return static_cast<std::uint32_t>(logs_.size() - 1);
}

std::size_t LogCheck::AddLog(const LogLines& log) {
  const std::uint32_t index = NumberLog(log.ownCall_);
  // Each of the log's texts numbered here once.
  const auto renumber = [](const TextIds& local, TextIds& global) {
    std::vector<std::uint32_t> ids;
    ids.reserve(local.size());
    for (const std::string_view text : local.texts()) ids.push_back(global.IdOf(text));
    return ids;
  };
  const std::vector<std::uint32_t> calls = renumber(log.calls_, calls_);
  const std::vector<std::uint32_t> slots = renumber(log.slots_, slots_);
  const std::vector<std::uint32_t> exchanges = renumber(log.exchanges_, exchanges_);
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
                      .position = line.position,
                      .call = calls[line.call],
                      .slot = slots[line.slot],
                      .minute = line.minute,
                      .sent = exchanges[line.sent],
                      .received = exchanges[line.received]});
  logs_[index].lineCount = static_cast<std::uint32_t>(log.lines_.size());
  for (const LogLines::Part& part : log.parts_)
    parts_.push_back({.log = index,
                      .call = calls[part.call],
                      .minute = part.minute,
                      .position = part.position,
                      .band = part.band});
  return index;
}

void LogCheck::Run(std::size_t threads) {
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
                 .call = calls_.Text(line.call),
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
                 .otherLog = std::nullopt};
  if (finding.detail != kNone)
    qso.detail = finding.verdict == Verdict::kBustedExchange ? exchanges_.Text(finding.detail)
                                                             : calls_.Text(finding.detail);
  if (finding.partner != kNone) {
    qso.partnerLog = lines_[finding.partner].log;
    qso.partnerPosition = lines_[finding.partner].position;
  }
  if (finding.part != kNone) {
    qso.unreadableAnswer = parts_[finding.part].position;
    qso.otherLog = parts_[finding.part].log;
  }
  if (finding.nearest != kNone) {
    const Line& nearest = lines_[finding.nearest];
    qso.otherLog = nearest.log;
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
  const auto [begin, end] = std::equal_range(keys_.begin(), keys_.end(), Key{call, log, slot});
  return {static_cast<std::size_t>(begin - keys_.begin()),
          static_cast<std::size_t>(end - keys_.begin())};
}

// The scorer counts a call once per band and mode. Which of a log's lines
// with a call on a slot is the QSO is decided after matching, on the
// evidence: the first the other side confirms (the first line, when none
// is confirmed). Lines after it are duplicates; a line before it that
// nothing confirms (a first copy logged wrong, logged again right minutes
// later) is judged on its own.
void LogCheck::MarkDupes() {
  for (std::size_t begin = 0; begin < byCall_.size();) {
    const Range group = GroupAt(begin);
    begin = group.end;
    if (group.end - group.begin == 1) continue;
    std::vector<std::uint32_t> lines(byCall_.begin() + static_cast<std::ptrdiff_t>(group.begin),
                                     byCall_.begin() + static_cast<std::ptrdiff_t>(group.end));
    std::stable_sort(lines.begin(), lines.end(), [&](std::uint32_t a, std::uint32_t b) {
      return lines_[a].minute < lines_[b].minute;
    });
    const auto confirmed = std::find_if(lines.begin(), lines.end(), [&](std::uint32_t line) {
      return findings_[line].partner != kNone && findings_[line].verdict != Verdict::kBustedCall;
    });
    const auto qso = confirmed == lines.end() ? lines.begin() : confirmed;
    for (auto later = qso + 1; later != lines.end(); ++later) findings_[*later].dupe = true;
  }
}

template <typename Each>
void LogCheck::ForEachAnsweredGroup(std::size_t threads, Each each) const {
  ForEachStretch(
      byCall_.size(), threads, [&](std::size_t at) { return GroupStartFrom(at); },
      [&](std::size_t part, std::size_t from, std::size_t to) {
        for (std::size_t begin = from; begin < to;) {
          const Line& line = lines_[byCall_[begin]];
          const Range mine = GroupAt(begin);
          begin = mine.end;
          const std::uint32_t other = logOfCall_[line.call];
          if (other == kNone || other <= line.log) continue;
          each(part, mine, LinesOf(logs_[line.log].call, other, line.slot));
        }
      });
}

// Pairs that can only be each other: one line of A with X on a slot, and
// one line of X with A there.
void LogCheck::JudgeClocks(std::size_t threads) {
  std::vector<std::vector<ClockPair>> found(std::max<std::size_t>(threads, 1));
  ForEachAnsweredGroup(threads, [&](std::size_t part, Range mine, Range theirs) {
    if (mine.end - mine.begin != 1 || theirs.end - theirs.begin != 1) return;
    const Line& line = lines_[byCall_[mine.begin]];
    const Line& answer = lines_[byCall_[theirs.begin]];
    const std::int64_t difference = line.minute - answer.minute;
    if (Magnitude(difference) <= kLargestClockOffsetMinutes)
      found[part].push_back({line.log, answer.log, difference});
  });
  std::vector<ClockPair> pairs;
  for (const std::vector<ClockPair>& part : found)
    pairs.insert(pairs.end(), part.begin(), part.end());
  const std::vector<ClockJudgement> judged = ClockOffsets(logs_.size(), pairs);
  for (std::size_t log = 0; log < logs_.size(); ++log) {
    logs_[log].clockOffset = judged[log].offset;
    logs_[log].clock = judged[log];
  }
}

void LogCheck::MatchExactly(std::size_t threads) {
  ForEachAnsweredGroup(threads,
                       [&](std::size_t, Range mine, Range theirs) { MatchGroup(mine, theirs); });
}

// The lines of a log with a call on a slot, and the lines of that call's
// log with this one, are paired on all the evidence: each line of either
// side at most once, the pairs whose exchanges agree both ways first, then
// the nearest in time. A line weighs only the few lines of the other side
// nearest it in time, so that a hostile log that repeats a call costs
// time in proportion to its lines.
void LogCheck::MatchGroup(Range mine, Range theirs) {
  const auto inTimeOrder = [&](Range range) {
    std::vector<std::uint32_t> lines;
    for (std::size_t i = range.begin; i < range.end; ++i)
      if (findings_[byCall_[i]].partner == kNone) lines.push_back(byCall_[i]);
    std::stable_sort(lines.begin(), lines.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return Corrected(a) < Corrected(b); });
    return lines;
  };
  const std::vector<std::uint32_t> ours = inTimeOrder(mine);
  const std::vector<std::uint32_t> others = inTimeOrder(theirs);
  if (ours.empty() || others.empty()) return;
  std::vector<PairEvidence> pairs;
  for (const std::uint32_t line : ours) {
    const std::int64_t minute = Corrected(line);
    // Outwards from the line's time, the nearer side first.
    auto right = std::lower_bound(
        others.begin(), others.end(), minute,
        [&](std::uint32_t other, std::int64_t at) { return Corrected(other) < at; });
    auto left = right;
    for (std::size_t weighed = 0; weighed < kPairsWeighed; ++weighed) {
      const bool hasLeft =
          left != others.begin() && minute - Corrected(*(left - 1)) <= rules_.windowMinutes;
      const bool hasRight =
          right != others.end() && Corrected(*right) - minute <= rules_.windowMinutes;
      if (!hasLeft && !hasRight) break;
      const bool takeLeft =
          hasLeft && (!hasRight || minute - Corrected(*(left - 1)) <= Corrected(*right) - minute);
      const std::uint32_t other = takeLeft ? *--left : *right++;
      pairs.push_back({.disagreements = Disagreements(line, other),
                       .apart = Magnitude(minute - Corrected(other)),
                       .mine = line,
                       .theirs = other});
    }
  }
  std::sort(pairs.begin(), pairs.end());
  for (const PairEvidence& pair : pairs) {
    if (findings_[pair.mine].partner != kNone || findings_[pair.theirs].partner != kNone) continue;
    findings_[pair.mine].partner = pair.theirs;
    findings_[pair.theirs].partner = pair.mine;
  }
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
  const ReportPlace copiedPlace = logs_[copied.log].receivedReport;
  const ReportPlace sentPlace = logs_[sent.log].sentReport;
  const std::string& sentContent = Content(sent.sent, sentPlace);
  return Content(copied.received, copiedPlace) == sentContent ||
         (copiedPlace != sentPlace && Content(copied.received, sentPlace) == sentContent);
}

int LogCheck::Disagreements(std::uint32_t a, std::uint32_t b) const {
  return (CopiedAsSent(a, b) ? 0 : 1) + (CopiedAsSent(b, a) ? 0 : 1);
}

// A line whose call the other log confirms on that slot at another line
// is a repeat, not a call copied wrongly.
std::vector<bool> LogCheck::Repeats() const {
  std::vector<bool> repeat(lines_.size());
  for (std::size_t begin = 0; begin < byCall_.size();) {
    const Range group = GroupAt(begin);
    begin = group.end;
    bool answered = false;
    for (std::size_t k = group.begin; k < group.end; ++k)
      answered = answered || findings_[byCall_[k]].partner != kNone;
    for (std::size_t k = group.begin; k < group.end && answered; ++k) repeat[byCall_[k]] = true;
  }
  return repeat;
}

// A line no log answers may be a call copied with one slip: the station
// one slip away, and only one, holds a free line with this log then and
// there. That station keeps its QSO; this line is the busted one.
void LogCheck::MatchBustedCalls(std::size_t threads) {
  std::vector<std::string_view> logCalls;
  for (const Log& log : logs_) logCalls.push_back(calls_.Text(log.call));
  const NearCallIndex nearLogs(logCalls);
  const std::vector<bool> repeat = Repeats();
  const auto unmatched = [&](std::uint32_t i) {
    return findings_[i].partner == kNone && !repeat[i] &&
           lines_[i].call != logs_[lines_[i].log].call;
  };
  // The logs one slip away from each call that a line still unmatched
  // names, looked up on every thread; the lines then take them in order.
  std::vector<std::uint32_t> wanted;
  std::vector<bool> isWanted(calls_.size());
  for (std::uint32_t i = 0; i < lines_.size(); ++i)
    if (unmatched(i) && !isWanted[lines_[i].call]) {
      isWanted[lines_[i].call] = true;
      wanted.push_back(lines_[i].call);
    }
  std::vector<std::vector<std::uint32_t>> nearLogsOf(calls_.size());
  ForEachStretch(
      wanted.size(), threads, [](std::size_t at) { return at; },
      [&](std::size_t, std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k)
          nearLogsOf[wanted[k]] = nearLogs.Near(calls_.Text(wanted[k]));
      });
  LinesByTime byTime(*this);
  for (std::uint32_t i = 0; i < lines_.size(); ++i) {
    if (!unmatched(i)) continue;
    const Line& line = lines_[i];
    const std::uint32_t ownCall = logs_[line.log].call;
    // Of the stations one slip away with a free line then, the one whose
    // line agrees best, then the nearest in time; two alike tell nothing.
    std::uint32_t station = kNone;
    std::uint32_t chosen = kNone;
    std::pair<int, std::int64_t> best;
    bool tied = false;
    for (const std::uint32_t log : nearLogsOf[line.call]) {
      if (log == line.log) continue;
      const std::uint32_t nearest = byTime.NearestFree(LinesOf(ownCall, log, line.slot),
                                                       Corrected(i) + logs_[log].clockOffset);
      if (nearest == kNone) continue;
      const std::pair evidence(Disagreements(i, nearest),
                               Magnitude(Corrected(i) - Corrected(nearest)));
      if (station != kNone && evidence == best) {
        tied = true;
        continue;
      }
      if (station != kNone && best < evidence) continue;
      tied = false;
      best = evidence;
      station = log;
      chosen = nearest;
    }
    if (station == kNone || tied) continue;
    findings_[i].verdict = Verdict::kBustedCall;
    findings_[i].detail = logs_[station].call;
    findings_[i].partner = chosen;
    findings_[chosen].partner = i;
    byTime.Take(i);
    byTime.Take(chosen);
  }
}

// A line of A with X that X's log does not answer, where X's log holds,
// on that slot then, a line with another call whose exchanges agree with
// A's line both ways: X copied A's call wrongly, however far from it. A
// keeps the QSO, and X's line is the busted one. Lines already paired, a
// station's own confirmation among them, are never taken.
void LogCheck::MatchReverseBusts() {
  const std::vector<bool> repeat = Repeats();
  // Every line by log, slot and time: a log's lines on a slot near a time
  // are found by a search.
  std::vector<std::uint32_t> byLogTime(lines_.size());
  for (std::uint32_t i = 0; i < byLogTime.size(); ++i) byLogTime[i] = i;
  const auto place = [&](std::uint32_t line) {
    return std::tuple(lines_[line].log, lines_[line].slot, lines_[line].minute);
  };
  std::sort(byLogTime.begin(), byLogTime.end(),
            [&](std::uint32_t a, std::uint32_t b) { return place(a) < place(b); });
  // Each unanswered line's likeliest copy in the other log; a copy two
  // lines claim as nearly is given to neither.
  struct Claim {
    std::int64_t apart;
    std::uint32_t line;
    bool tied;
  };
  std::map<std::uint32_t, Claim> claims;  // by the copy
  for (std::uint32_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    const std::uint32_t other = logOfCall_[line.call];
    if (findings_[i].partner != kNone || repeat[i] || other == kNone || other == line.log) continue;
    // The line's time in the other log's clock, and the window around it.
    const std::int64_t minute = Corrected(i) + logs_[other].clockOffset;
    const auto from =
        std::lower_bound(byLogTime.begin(), byLogTime.end(),
                         std::tuple(other, line.slot, minute - rules_.windowMinutes),
                         [&](std::uint32_t a, const auto& at) { return place(a) < at; });
    std::uint32_t chosen = kNone;
    std::size_t weighed = 0;
    for (auto at = from; at != byLogTime.end() && weighed < kPairsWeighed; ++at, ++weighed) {
      const std::uint32_t candidate = *at;
      const Line& copy = lines_[candidate];
      if (copy.log != other || copy.slot != line.slot ||
          copy.minute > minute + rules_.windowMinutes)
        break;
      if (findings_[candidate].partner != kNone || repeat[candidate] ||
          copy.call == logs_[line.log].call || copy.call == logs_[other].call ||
          Disagreements(i, candidate) != 0)
        continue;
      // A call that other logs hold, and that sent no log, was on the air:
      // that line is its QSO, not a copy of this one.
      if (logOfCall_[copy.call] == kNone && OthersHold(copy.call, copy.log)) continue;
      if (chosen == kNone || Magnitude(Corrected(candidate) - Corrected(i)) <
                                 Magnitude(Corrected(chosen) - Corrected(i)))
        chosen = candidate;
    }
    if (chosen == kNone) continue;
    const std::int64_t apart = Magnitude(Corrected(chosen) - Corrected(i));
    const auto [claim, isNew] = claims.try_emplace(chosen, Claim{apart, i, false});
    if (isNew || apart > claim->second.apart) continue;
    claim->second = {apart, i, apart == claim->second.apart};
  }
  for (const auto& [copy, claim] : claims) {
    if (claim.tied) continue;
    findings_[copy].verdict = Verdict::kBustedCall;
    findings_[copy].detail = logs_[lines_[claim.line].log].call;
    findings_[copy].partner = claim.line;
    findings_[claim.line].partner = copy;
  }
}

LogCheck::LinesByTime::LinesByTime(const LogCheck& check)
    : check_(check), lines_(check.byCall_), placeOf_(check.lines_.size()), free_(lines_.size()) {
  for (std::size_t begin = 0; begin < lines_.size();) {
    const Range group = check.GroupAt(begin);
    std::stable_sort(lines_.begin() + static_cast<std::ptrdiff_t>(group.begin),
                     lines_.begin() + static_cast<std::ptrdiff_t>(group.end),
                     [&](std::uint32_t a, std::uint32_t b) {
                       return check.lines_[a].minute < check.lines_[b].minute;
                     });
    begin = group.end;
  }
  minutes_.reserve(lines_.size());
  for (std::size_t place = 0; place < lines_.size(); ++place) {
    const std::uint32_t line = lines_[place];
    minutes_.push_back(check.lines_[line].minute);
    placeOf_[line] = static_cast<std::uint32_t>(place);
    if (check.findings_[line].partner != kNone) free_.Take(place);
  }
}

void LogCheck::LinesByTime::Take(std::uint32_t line) {
  free_.Take(placeOf_[line]);
}

std::uint32_t LogCheck::LinesByTime::NearestFree(Range group, std::int64_t minute) {
  const auto begin = minutes_.begin() + static_cast<std::ptrdiff_t>(group.begin);
  const auto end = minutes_.begin() + static_cast<std::ptrdiff_t>(group.end);
  const std::int64_t window = check_.rules_.windowMinutes;
  const std::size_t from =
      static_cast<std::size_t>(std::lower_bound(begin, end, minute) - minutes_.begin());
  std::size_t after = free_.FreeFrom(from);
  if (after >= group.end || minutes_[after] > minute + window) after = TakenSkipper::kNoPlace;
  std::size_t before = from > group.begin ? free_.FreeUpTo(from - 1) : TakenSkipper::kNoPlace;
  if (before < group.begin || before == TakenSkipper::kNoPlace ||
      minutes_[before] < minute - window)
    before = TakenSkipper::kNoPlace;
  else  // the first free line at that minute: the one earliest in its log
    before = free_.FreeFrom(static_cast<std::size_t>(
        std::lower_bound(begin, end, minutes_[before]) - minutes_.begin()));
  if (after == TakenSkipper::kNoPlace && before == TakenSkipper::kNoPlace) return kNone;
  if (after == TakenSkipper::kNoPlace) return lines_[before];
  if (before == TakenSkipper::kNoPlace) return lines_[after];
  // The nearer in time; of two as near, the one earlier in its log.
  const std::int64_t afterBy = minutes_[after] - minute;
  const std::int64_t beforeBy = minute - minutes_[before];
  if (afterBy != beforeBy) return afterBy < beforeBy ? lines_[after] : lines_[before];
  return std::min(lines_[after], lines_[before]);
}

LogCheck::Range LogCheck::LinesOf(std::uint32_t call) const {
  const auto begin = std::lower_bound(keys_.begin(), keys_.end(), Key{call, 0, 0});
  const auto end = std::lower_bound(begin, keys_.end(), Key{call + 1, 0, 0});
  return {static_cast<std::size_t>(begin - keys_.begin()),
          static_cast<std::size_t>(end - keys_.begin())};
}

// Lines of one call are in log order: another log's, if any, is first or last.
bool LogCheck::OthersHold(std::uint32_t call, std::uint32_t log) const {
  const Range range = LinesOf(call);
  return range.begin != range.end &&
         (lines_[byCall_[range.begin]].log != log || lines_[byCall_[range.end - 1]].log != log);
}

// A call one slip from a unique's that was on the air on the same band and
// mode within the window: worked there in another log, or the own call of
// a log with a line there. The call likely meant.
std::uint32_t LogCheck::PartAnswering(std::uint32_t i, std::uint32_t other) const {
  const Line& line = lines_[i];
  const std::uint32_t ownCall = logs_[line.log].call;
  const std::int64_t minute = Corrected(i) + logs_[other].clockOffset;
  const auto from = std::lower_bound(parts_.begin(), parts_.end(),
                                     std::tuple(other, ownCall, minute - rules_.windowMinutes),
                                     [](const Part& part, const auto& at) {
                                       return std::tie(part.log, part.call, part.minute) < at;
                                     });
  const std::string_view slot = slots_.Text(line.slot);
  const std::string_view band = slot.substr(0, slot.find('\n'));
  for (auto at = from; at != parts_.end() && at->log == other && at->call == ownCall &&
                       at->minute <= minute + rules_.windowMinutes;
       ++at)
    if (at->band == band) return static_cast<std::uint32_t>(at - parts_.begin());
  return kNone;
}

std::uint32_t LogCheck::LikelyCall(std::uint32_t line, const NearCallIndex& workedCalls) const {
  const Line& unique = lines_[line];
  const auto onTheAir = [&](std::uint32_t other) {
    return lines_[other].log != unique.log && lines_[other].slot == unique.slot &&
           WithinWindow(line, other);
  };
  for (const std::uint32_t call : workedCalls.Near(calls_.Text(unique.call))) {
    const Range range = LinesOf(call);
    for (std::size_t k = range.begin; k < range.end; ++k)
      if (onTheAir(byCall_[k])) return call;
    if (const std::uint32_t log = logOfCall_[call]; log != kNone) {
      const std::uint32_t first = logs_[log].firstLine;
      for (std::uint32_t other = first; other < first + logs_[log].lineCount; ++other)
        if (onTheAir(other)) return call;
    }
  }
  return kNone;
}

void LogCheck::Judge(std::size_t threads) {
  const bool anyUnanswered = std::any_of(findings_.begin(), findings_.end(), [](const Finding& f) {
    return f.partner == kNone && !f.dupe;
  });
  std::optional<NearCallIndex> workedCalls;
  if (anyUnanswered) workedCalls.emplace(calls_.texts());
  ForEachStretch(
      lines_.size(), threads, [](std::size_t at) { return at; },
      [&](std::size_t, std::size_t from, std::size_t to) {
        for (auto i = static_cast<std::uint32_t>(from); i < to; ++i) JudgeLine(i, workedCalls);
      });
}

// Each line's verdict from what the matching found; it writes its own
// finding only.
void LogCheck::JudgeLine(std::uint32_t i, const std::optional<NearCallIndex>& workedCalls) {
  Finding& finding = findings_[i];
  const Line& line = lines_[i];
  if (finding.dupe) {
    finding.verdict = Verdict::kDupe;
    finding.detail = kNone;
  } else if (finding.verdict == Verdict::kBustedCall) {
    return;
  } else if (finding.partner != kNone) {
    if (!CopiedAsSent(i, finding.partner)) {
      finding.verdict = Verdict::kBustedExchange;
      finding.detail = lines_[finding.partner].sent;
    }
  } else if (const std::uint32_t other = logOfCall_[line.call];
             other != kNone && (finding.part = PartAnswering(i, other)) != kNone) {
    // The other log holds it, in a line that could not be read whole.
    finding.verdict = Verdict::kUnchecked;
  } else if (other != kNone) {
    finding.verdict = Verdict::kNil;
    // The other log's line with this station nearest in time, on any slot,
    // of those that answer no other line.
    const std::uint32_t ownCall = logs_[line.log].call;
    const auto begin = std::lower_bound(keys_.begin(), keys_.end(), Key{ownCall, other, 0});
    const auto end = std::lower_bound(begin, keys_.end(), Key{ownCall, other + 1, 0});
    for (auto at = begin; at != end; ++at) {
      const std::uint32_t candidate = byCall_[static_cast<std::size_t>(at - keys_.begin())];
      if (findings_[candidate].partner != kNone) continue;
      if (finding.nearest == kNone || Magnitude(Corrected(candidate) - Corrected(i)) <
                                          Magnitude(Corrected(finding.nearest) - Corrected(i)))
        finding.nearest = candidate;
    }
  } else if (OthersHold(line.call, line.log)) {
    finding.verdict = Verdict::kUnchecked;
  } else {
    finding.verdict = Verdict::kUnique;
    finding.detail = LikelyCall(i, *workedCalls);
  }
}

}  // namespace zeltra
