#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/crosscheck/ClockOffsets.h"
#include "core/crosscheck/Exchange.h"
#include "core/crosscheck/FreeLines.h"
#include "core/crosscheck/LogLines.h"
#include "core/crosscheck/TakenSkipper.h"
#include "core/crosscheck/Verdict.h"
#include "core/text/TextIds.h"

namespace zeltra {

class NearCallIndex;

// The rules of the check that an organiser may change.
struct CheckRules {
  // Two lines are one QSO when their times, each log's clock offset taken
  // out, are at most this many minutes apart.
  std::int64_t windowMinutes = 5;
  // A station may be worked again on a band and mode this many minutes
  // after the QSO that counted there; none: never (a dupe).
  std::optional<std::int64_t> reworkMinutes;
  // A log whose sent serials are found off from what its partners copied
  // (its logger's error, not the air's) loses those QSOs as busted
  // exchanges; by default they stay, and the finding is told.
  bool penalizeSentSerial = false;
};

// A log's sent serials as its logger wrote them, found off from what the
// stations it worked copied by one and the same amount.
struct SentSerialsOff {
  std::int32_t by = 0;       // as logged less as copied
  std::size_t stations = 0;  // the stations that copied them so
  bool charged = false;      // the log's lines with them lost those QSOs
};

// One QSO line of a log as the check takes it.
struct QsoToCheck {
  std::size_t position = 0;  // its line or record number
  std::string_view call;     // the call worked, upper case
  std::string_view band;
  std::string_view mode;
  std::int64_t minute = 0;  // UTC, minutes since 1970
  std::string_view sent;
  std::string_view received;
};

// A QSO line with what the check found.
struct CheckedQso {
  std::size_t position = 0;
  std::string_view call;
  std::string_view band;
  std::string_view mode;
  std::int64_t minute = 0;
  std::string_view sent;
  std::string_view received;
  Verdict verdict = Verdict::kOk;
  // busted-call: the call of the station worked; busted-exchange: what it
  // sent; unique: a call one slip away that other logs hold then and there.
  std::string_view detail;
  // The log whose line answers this one, and that line's number there.
  std::optional<std::size_t> partnerLog;
  std::size_t partnerPosition = 0;
  // nil: the other log's line with this station nearest in time that
  // answers no other line, if it has one (on another band, say, or far off
  // in time).
  struct Nearest {
    std::size_t position;
    std::string_view band;
    std::int64_t minute;  // as that log has it
  };
  std::optional<Nearest> nearest;
  // unchecked: the other log's line with this station then, which could
  // not be read whole or that the contest does not count (answerLeftOut),
  // by its number there.
  std::optional<std::size_t> unreadableAnswer;
  bool answerLeftOut = false;
  // ok: the call the other log gives this log's station, where it is not
  // the call this log signs (SP1AAA/P for SP1AAA, say).
  std::string_view loggedAs;
  // An error of one side found (the partner's line is the other side):
  // this line's own (ownFault: it loses the QSO) or the other side's (it
  // keeps it). faultBy: the hours of a clock, the serial's difference
  // (as logged less as copied).
  Fault fault = Fault::kNone;
  bool ownFault = false;
  std::int32_t faultBy = 0;
  // The log that holds the nearest line or the unreadable answer.
  std::optional<std::size_t> otherLog;
};

// Every log of a contest checked against every other: which QSO lines the
// other station's log confirms, which it does not, and why. Logs and their
// lines are added first; Run decides; then each line's verdict is read.
// Lines are found through an index by call, log, band and mode, never by
// comparing logs pair by pair.
class LogCheck {
 public:
  explicit LogCheck(CheckRules rules = {}) : rules_(rules) {}

  // A log taking part with its QSO lines, made ready apart (on another
  // thread, say); answers its number. written: when it was written (sent),
  // in any unit that orders. Lines are matched by station, the designators
  // of calls set aside (StationCall). A station may send more than one
  // log: Run checks them as one where no two overlap in time, each keeping
  // its number, and else checks only the one written last and sets the
  // others aside (ChooseStationLogs).
  std::size_t AddLog(const LogLines& log, std::int64_t written = 0);

  // threads: how many the work may be shared among; the verdicts are the
  // same whatever the number.
  void Run(std::size_t threads = 1);

  // Every log added, those set aside too.
  std::size_t LogCount() const { return logs_.size(); }
  // How many stations have a log checked.
  std::size_t StationCount() const { return stationCount_; }
  // Of a log set aside, the log of its station checked instead.
  std::optional<std::size_t> CheckedInstead(std::size_t log) const;
  // Of a log checked, the first in time of its station's logs checked as
  // one: itself when it is alone or the first.
  std::size_t FirstOfStation(std::size_t log) const { return logs_[log].station; }
  std::string_view OwnCall(std::size_t log) const { return calls_.Text(logs_[log].ownCall); }
  std::size_t QsoCount(std::size_t log) const { return logs_[log].lineCount; }
  CheckedQso Qso(std::size_t log, std::size_t index) const;
  // Runs see(qso) for each of a log's QSO lines in order: the walk of a
  // whole log, which asks for the lines that answer its lines a few ahead
  // of their turn rather than waiting on each, scattered as they are.
  template <typename See>
  void ForEachQso(std::size_t log, See see) const;
  // How many logs hold each call as logged, by the call's number
  // (CallNumber): counted over every line at once, for the calls a report
  // names.
  std::vector<std::uint32_t> LogsHoldingEachCall() const;
  std::optional<std::uint32_t> CallNumber(std::string_view call) const { return calls_.Find(call); }
  // Of a QSO line, its verdict, call, band or minute alone: for a walk
  // over many lines that needs only those.
  Verdict QsoVerdict(std::size_t log, std::size_t index) const {
    return findings_[logs_[log].firstLine + index].verdict;
  }
  std::string_view QsoCall(std::size_t log, std::size_t index) const {
    return calls_.Text(lines_[logs_[log].firstLine + index].logged);
  }
  std::string_view QsoBand(std::size_t log, std::size_t index) const {
    return BandOf(lines_[logs_[log].firstLine + index].slot);
  }
  std::int64_t QsoMinute(std::size_t log, std::size_t index) const {
    return lines_[logs_[log].firstLine + index].minute;
  }
  // Minutes the log's clock ran ahead of the others' (behind: negative):
  // the clock of its station's logs checked as one.
  std::int64_t ClockOffset(std::size_t log) const { return logs_[logs_[log].station].clockOffset; }
  // The offset and the pairs it rests on.
  const ClockJudgement& Clock(std::size_t log) const { return logs_[logs_[log].station].clock; }
  // Of a log whose sent serials are found off, by how much and on whose
  // copies; none for the others.
  std::optional<SentSerialsOff> SentSerials(std::size_t log) const;

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  // A line is weighed against at most this many lines of the other side,
  // the nearest in time, so that a hostile log that repeats a call costs
  // time in proportion to its lines.
  static constexpr std::size_t kPairsWeighed = 8;
  // A reverse bust weighs at most this many free lines of the other log
  // around the time: in a busy run, its QSOs with stations that sent no
  // log lie about it.
  static constexpr std::size_t kCopiesWeighed = 64;

  static std::int64_t Magnitude(std::int64_t value) { return value < 0 ? -value : value; }
  // A walk over a log's lines asks for the line answering this many lines
  // ahead.
  static constexpr std::size_t kLinesFetchedAhead = 8;

  struct Log {
    std::uint32_t call;     // the station, its designators set aside
    std::uint32_t ownCall;  // as its header gives it
    std::uint32_t firstLine = 0;
    std::uint32_t lineCount = 0;
    // The log whose lines these are checked with: itself, or the first in
    // time of its station's logs checked as one; for a log set aside, the
    // one checked instead.
    std::uint32_t station = 0;
    std::uint32_t nextJoined = kNone;  // the station's next log checked with it
    bool setAside = false;
    std::int64_t written = 0;
    std::int64_t clockOffset = 0;
    ClockJudgement clock{};
    ReportPlace sentReport = ReportPlace::kNone;
    ReportPlace receivedReport = ReportPlace::kNone;
    SentSerialsOff sentSerials{};  // stations 0: not found off
  };
  struct Line {
    std::uint32_t log;   // of its station (Log::station)
    std::uint32_t file;  // the log added that holds it
    std::uint32_t position;
    std::uint32_t call;    // the station worked
    std::uint32_t logged;  // its call as logged
    std::uint32_t slot;    // band and mode
    std::int64_t minute;
    std::uint32_t sent;
    std::uint32_t received;
  };
  struct Finding {
    Verdict verdict = Verdict::kOk;
    bool dupe = false;
    std::uint32_t detail = kNone;  // a call or an exchange, by the verdict
    std::uint32_t partner = kNone;
    std::uint32_t nearest = kNone;  // nil: the other log's nearest line with this station
    std::uint32_t part = kNone;     // a line of the other log read in part that answers it
    Fault fault = Fault::kNone;     // an error of one side of the pair
    bool ownFault = false;          // the error is this line's side's
    std::int32_t faultBy = 0;       // hours of a clock, the amount of a serial
  };
  // A line read in part, or left out (LogLines::AddPart): evidence, never
  // judged.
  struct Part {
    std::uint32_t log;  // of its station
    std::uint32_t file;
    std::uint32_t call;
    std::int64_t minute;
    std::uint32_t position;
    std::string band;
    PartKind kind;
  };
  // What byCall_ is sorted by, kept beside it so that a search reads one
  // array in order instead of jumping about the lines.
  struct Key {
    std::uint32_t call;
    std::uint32_t log;
    std::uint32_t slot;
    friend bool operator<(const Key& a, const Key& b) {
      return std::tie(a.call, a.log, a.slot) < std::tie(b.call, b.log, b.slot);
    }
    friend bool operator==(const Key&, const Key&) = default;
  };
  // Lines of one call in one log on one slot: [begin, end) of byCall_.
  struct Range {
    std::size_t begin;
    std::size_t end;
  };

  std::uint32_t NumberLog(std::string_view ownCall, std::int64_t written);
  // Which logs of a station with more than one are checked, as one, and
  // which are set aside; the lines of those set aside taken out.
  void JoinStationLogs();
  std::pair<std::int64_t, std::int64_t> MinuteRange(std::uint32_t log) const;
  // The free lines of order (by place, in groups each in time order).
  FreeLines FreeLinesIn(std::vector<std::uint32_t> order) const;
  // The lines by place in groups of byCall_, each group in time order,
  // those paired taken.
  FreeLines FreeLinesByCall() const;
  // Runs each(part, mine, theirs) on threads for every group of lines of a
  // log with a call that has a log of its own, later than this one, and
  // theirs: that log's lines with this one's call there. A group and the
  // group answering it touch no line another pair touches.
  template <typename Each>
  void ForEachAnsweredGroup(std::size_t threads, Each each) const;
  std::int64_t Corrected(std::uint32_t line) const;
  bool WithinWindow(std::uint32_t a, std::uint32_t b) const;
  Range LinesOf(std::uint32_t call, std::uint32_t log, std::uint32_t slot) const;
  // Lines of one call in one log, on every slot.
  Range LinesOf(std::uint32_t call, std::uint32_t log) const;
  // The lines whose keys are at least first and less than past.
  Range KeysFrom(Key first, Key past) const;
  // The group of lines with the same key as byCall_[begin], from there on.
  Range GroupAt(std::size_t begin) const;
  void IndexLines(std::size_t threads);
  // Where a stretch of byCall_ may start at or after at: a group's start.
  std::size_t GroupStartFrom(std::size_t at) const;
  void MarkDupes();
  void JudgeClocks(std::size_t threads);
  void MatchExactly(std::size_t threads);
  void MatchGroup(Range mine, Range theirs);
  // An exchange's content, its report taken out where its log puts one.
  const std::string& Content(std::uint32_t exchange, ReportPlace report) const;
  // Whether the copier's line holds the exchange the sender's line sent.
  bool CopiedAsSent(std::uint32_t copier, std::uint32_t sender) const;
  // How many of two lines' exchanges were not copied as sent: 0, 1 or 2.
  int Disagreements(std::uint32_t a, std::uint32_t b) const;
  void MatchBustedCalls(std::size_t threads);
  // Of the logs one slip from a line's call (nearLogs) with a free line
  // then, the line of the one whose line agrees best, then the nearest in
  // time; kNone when there is none, or two are alike.
  std::uint32_t OneSlipAway(std::uint32_t line, const std::vector<std::uint32_t>& nearLogs,
                            FreeLines& byTime) const;
  void MatchReverseBusts();
  // The lines of byLogTime (every line by log, slot and time) that may be
  // a copy of another station's call: none paired, or shown by other logs
  // or an answer to be a QSO of its own.
  FreeLines PossibleCopies(const std::vector<std::uint32_t>& byLogTime) const;
  // Pairs with an error of one side (Fault): that side is found on the
  // evidence, and the pair is marked; lines whose side cannot be told are
  // left as they are.
  void MatchBandErrors();
  void MatchClockJumps();
  void FindSentSerialErrors();
  // A copier's line against its partner's: the sent serial as logged less
  // as copied; none where either is no serial, or the pair is no plain
  // QSO of the two.
  // serials: each exchange's serial, read once (SentSerials.cpp).
  struct Serials;
  std::optional<std::int64_t> SerialCopiedOffBy(std::uint32_t copier, const Serials& serials) const;
  void MarkFault(std::uint32_t own, std::uint32_t other, Fault fault, std::int32_t by);
  // Whether a line's band is another than that of the log's lines just
  // before and after it, which share one band: band, as a slot's band.
  bool BreaksItsRun(std::uint32_t line, std::string_view band,
                    const std::vector<std::uint32_t>& byLogTime,
                    const std::vector<std::uint32_t>& placeInLogTime) const;
  std::string_view BandOf(std::uint32_t slot) const;
  std::string_view ModeOf(std::uint32_t slot) const;
  // Whether the line's own side loses the QSO for an error found of it.
  bool LosesForOwnFault(const Finding& finding) const;
  void Judge(std::size_t threads);
  void JudgeLine(std::uint32_t line, const std::optional<NearCallIndex>& workedCalls);
  Range LinesOf(std::uint32_t call) const;
  // A line of the other log read in part that answers this one: the call,
  // the band and the time within the window; kNone when there is none.
  std::uint32_t PartAnswering(std::uint32_t line, std::uint32_t other) const;
  std::uint32_t LikelyCall(std::uint32_t line, const NearCallIndex& workedCalls) const;
  bool OthersHold(std::uint32_t call, std::uint32_t log) const;

  CheckRules rules_;
  TextIds calls_;
  TextIds slots_;
  TextIds exchanges_;
  std::vector<std::string> exchangeContents_;             // by exchange: every part
  std::vector<std::string> exchangeContentsAfterReport_;  // the first part taken out
  std::vector<Log> logs_;
  std::vector<Line> lines_;
  std::vector<Part> parts_;  // sorted by log, call and time once Run starts
  std::vector<Finding> findings_;
  std::vector<std::uint32_t> logOfCall_;  // by call: the log of that call, or kNone
  std::vector<std::uint32_t> byCall_;     // lines by call, log, slot and place in the log
  std::vector<Key> keys_;                 // the key of each line of byCall_
  std::vector<std::size_t> callStarts_;   // by call: where its lines start in byCall_; one more
  std::size_t stationCount_ = 0;
};

template <typename See>
void LogCheck::ForEachQso(std::size_t log, See see) const {
  const std::size_t first = logs_[log].firstLine;
  const std::size_t count = logs_[log].lineCount;
  for (std::size_t i = 0; i < count; ++i) {
    if (i + kLinesFetchedAhead < count) {
      const std::uint32_t partner = findings_[first + i + kLinesFetchedAhead].partner;
      if (partner != kNone) {
        // A line may lie across two cache lines: both are asked for.
        const char* at = reinterpret_cast<const char*>(&lines_[partner]);
        __builtin_prefetch(at);
        __builtin_prefetch(at + sizeof(Line) - 1);
      }
    }
    see(Qso(log, i));
  }
}

}  // namespace zeltra
