#include "core/crosscheck/LogCheck.h"

#include <algorithm>
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

std::int64_t Magnitude(std::int64_t value) {
  return value < 0 ? -value : value;
}

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
  for (const LogLines::Line& line : log.lines_)
    lines_.push_back({.log = index,
                      .position = line.position,
                      .call = calls[line.call],
                      .slot = slots[line.slot],
                      .minute = line.minute,
                      .sent = exchanges[line.sent],
                      .received = exchanges[line.received]});
  logs_[index].lineCount = static_cast<std::uint32_t>(log.lines_.size());
  return index;
}

void LogCheck::Run(std::size_t threads) {
  findings_.assign(lines_.size(), Finding{});
  exchangeContents_.clear();
  for (const std::string_view exchange : exchanges_.texts())
    exchangeContents_.push_back(ExchangeContent(exchange));
  logOfCall_.resize(calls_.size(), kNone);
  IndexLines(threads);
  MarkDupes();
  JudgeClocks(threads);
  MatchExactly(threads);
  MatchBustedCalls(threads);
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
                 .partnerPosition = 0};
  if (finding.detail != kNone)
    qso.detail = finding.verdict == Verdict::kBustedExchange ? exchanges_.Text(finding.detail)
                                                             : calls_.Text(finding.detail);
  if (finding.partner != kNone) {
    qso.partnerLog = lines_[finding.partner].log;
    qso.partnerPosition = lines_[finding.partner].position;
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

// The scorer counts a call once per band and mode: the first line counts,
// the ones after it are duplicates.
void LogCheck::MarkDupes() {
  for (std::size_t i = 1; i < byCall_.size(); ++i) {
    if (keys_[i] == keys_[i - 1]) findings_[byCall_[i]].dupe = true;
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
  const std::vector<std::int64_t> offsets = ClockOffsets(logs_.size(), pairs);
  for (std::size_t log = 0; log < logs_.size(); ++log) logs_[log].clockOffset = offsets[log];
}

void LogCheck::MatchExactly(std::size_t threads) {
  ForEachAnsweredGroup(threads,
                       [&](std::size_t, Range mine, Range theirs) { MatchGroup(mine, theirs); });
}

// Both sides' lines in time order: each line takes the earliest line of
// the other side still free within the window. Linear in the lines, however
// many a hostile log repeats.
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
  std::size_t next = 0;
  for (const std::uint32_t line : ours) {
    while (next < others.size() && Corrected(others[next]) < Corrected(line) - rules_.windowMinutes)
      ++next;
    if (next == others.size()) break;
    if (!WithinWindow(line, others[next])) continue;
    findings_[line].partner = others[next];
    findings_[others[next]].partner = line;
    ++next;
  }
}

// A line no log answers may be a call copied with one slip: the station
// one slip away, and only one, holds a free line with this log then and
// there. That station keeps its QSO; this line is the busted one.
void LogCheck::MatchBustedCalls(std::size_t threads) {
  std::vector<std::string_view> logCalls;
  for (const Log& log : logs_) logCalls.push_back(calls_.Text(log.call));
  const NearCallIndex nearLogs(logCalls);
  const auto unmatched = [&](std::uint32_t i) {
    return findings_[i].partner == kNone && lines_[i].call != logs_[lines_[i].log].call;
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
    std::uint32_t station = kNone;
    std::uint32_t chosen = kNone;
    bool ambiguous = false;
    for (const std::uint32_t log : nearLogsOf[line.call]) {
      if (log == line.log) continue;
      const std::uint32_t nearest = byTime.NearestFree(LinesOf(ownCall, log, line.slot),
                                                       Corrected(i) + logs_[log].clockOffset);
      if (nearest == kNone) continue;
      ambiguous = station != kNone;
      station = log;
      chosen = nearest;
    }
    if (station == kNone || ambiguous) continue;
    findings_[i].verdict = Verdict::kBustedCall;
    findings_[i].detail = logs_[station].call;
    findings_[i].partner = chosen;
    findings_[chosen].partner = i;
    byTime.Take(i);
    byTime.Take(chosen);
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
    const std::uint32_t sent = lines_[finding.partner].sent;
    if (exchangeContents_[line.received] != exchangeContents_[sent]) {
      finding.verdict = Verdict::kBustedExchange;
      finding.detail = sent;
    }
  } else if (logOfCall_[line.call] != kNone) {
    finding.verdict = Verdict::kNil;
  } else if (OthersHold(line.call, line.log)) {
    finding.verdict = Verdict::kUnchecked;
  } else {
    finding.verdict = Verdict::kUnique;
    finding.detail = LikelyCall(i, *workedCalls);
  }
}

}  // namespace zeltra
