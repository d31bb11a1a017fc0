#include "support/SimulatedContest.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "core/crosscheck/StationCall.h"
#include "core/scoring/ContestRules.h"
#include "core/text/UtcMinute.h"

namespace zeltra::test {
namespace {

// Prefixes the tests' country file knows.
constexpr const char* kPrefixes[] = {"SP", "SQ", "SO", "DL", "DK", "OK", "OL", "UR", "UT", "UX"};
constexpr std::string_view kBands[] = {"1.8", "3.5", "7", "14", "21", "28"};
// Letters after the digit of a station's call; a unique's call has one
// more, so that tens of thousands of them stay one slip from no station.
constexpr int kStationLetters = 3;
constexpr int kUniqueLetters = 4;
// A busted call is one of a call's few neighbours that is near no other
// call; in a crowded contest a call may have none left, and the error is
// not made.
constexpr int kVariantTries = 64;
// A station keeps to one band this long, then may move; a QSO's partner is
// found among the stations on its band then, in this many tries at most.
constexpr std::int64_t kMinutesOnBand = 30;
constexpr int kPartnerTries = 200;
constexpr std::int64_t kContestMinutes = 24 * 60;
// QSOs are made this far inside the period, so that no clock set off
// takes one out of it.
constexpr std::int64_t kMargin = 30;
// The small hours, 03:00 to 05:00, are quiet.
constexpr std::int64_t kQuietFrom = 3 * 60;
constexpr std::int64_t kQuietTo = 5 * 60;
constexpr std::int64_t kMinutesInHour = 60;
// The clock off by 12 hours: slow, for the last QSOs, all after 13:00,
// with at least this many stations that send logs.
constexpr std::int64_t kJumpMinutes = -12 * kMinutesInHour;
constexpr std::int64_t kJumpFrom = 13 * kMinutesInHour;
constexpr std::size_t kFewestJumped = 3;
// Reports as loggers write them.
constexpr const char* kReportStyles[] = {"599", "59", "5NN"};
// How portable and mobile stations sign.
constexpr const char* kDesignators[] = {"/P", "/M", "/QRP", "/3"};
// Of the QSOs with a station that sends a log, the share worked again
// where the rules allow it.
constexpr double kReworkedShare = 0.08;
// A dupe lies this far from its QSO and from the next QSO allowed.
constexpr std::int64_t kDupeApart = 6;
// A call copied as another entrant's names one worked at least this long
// before or after, well outside the window and any clock's error.
constexpr std::int64_t kMiscopyApart = 30;
constexpr std::int64_t kShortestOffset = 7;
constexpr std::int64_t kLongestOffset = 15;
// The letter on each figure's key of a teleprinter: 1/Q 2/W ... 0/P.
constexpr std::string_view kLettersOfFigures = "PQWERTYUIO";

struct Station {
  std::string call;  // the station, without designator
  bool sendsLog = false;
  std::string letter;  // a Polish station's voivodeship; others send serial numbers
  std::int64_t clockOffset = 0;
  std::string report = "599";   // how its logger writes reports
  std::string signs;            // as it signs and its log's header says: call and designator
  bool runs = false;            // a run station
  bool serialsOff = false;      // its log has each sent serial one above what it sent
  std::int64_t movedAt = -1;    // sends two logs: the second from here (true UTC)
  bool varyingReports = false;  // its logger writes reports of two figures that vary
};

// One side of a QSO before its exchange is known. A contest of millions
// of lines holds millions of these: the texts that are always one of a
// few are views of constants.
struct Side {
  std::size_t station = 0;
  std::size_t partner = 0;
  std::string_view band;
  std::int64_t minute = 0;  // true UTC
  std::size_t qso = 0;      // the QSO it belongs to; both sides share it
  std::string loggedCall;
  std::string_view verdict = "ok";
  std::string detail;
  bool copiesExchangeWrongly = false;
  int serial = 0;        // its number in its station's log
  int lastReceived = 0;  // two serials: the serial its station copied last
  std::string sent;
  std::string received;
  std::string_view loggedBand;  // where it differs from band: logged on another band
  std::int64_t clockJump = 0;   // minutes its log's clock was off for this line
  std::string_view fault;
  bool ownFault = false;
};

Side MakeSide(std::size_t station, std::size_t partner, std::string_view band, std::int64_t minute,
              std::size_t qso, std::string loggedCall) {
  Side side;
  side.station = station;
  side.partner = partner;
  side.band = band;
  side.minute = minute;
  side.qso = qso;
  side.loggedCall = std::move(loggedCall);
  return side;
}

class Generator {
 public:
  explicit Generator(const ContestShape& shape) : shape_(shape), random_(shape.seed) {}

  void Run(const std::function<void(SimulatedLog&&)>& each) {
    MakeStations();
    MakeQsos();
    WorkAgain();
    ChooseSerialsOff();
    InjectErrors();
    CopyAsEntrants();
    InjectBandError();
    InjectClockJump();
    ChooseTwoLogs();
    ExchangeAndSend();
    Send(each);
  }

 private:
  std::size_t Below(std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
  }
  bool Chance(double share) {
    return std::uniform_real_distribution<double>(0, 1)(random_) < share;
  }

  // Not one slip from any call made so far: a station's or a unique's
  // call. A variant of a call may be one slip from that call and from its
  // other variants, as two stations may bust one call alike. Each of the
  // call's few hundred neighbours is looked up, not each call made, and
  // the first one near enough ends the search.
  bool FarFromAll(const std::string& call, const std::string& origin = {}) const {
    if (taken_.count(call) || variants_.count(call)) return false;
    return ForEachOneSlip(call, [&](const std::string& near) {
      return !ShapedAsMade(near) ||
             !((taken_.count(near) && near != origin) || (origin.empty() && variants_.count(near)));
    });
  }

  // Whether a text has the shape of a call this contest makes: two
  // letters, a digit and three or four letters, or six letters (a call
  // whose figure lost its shift). Most of a call's neighbours have not, and
  // need not be looked up.
  static bool ShapedAsMade(const std::string& text) {
    const auto isLetter = [](char c) { return c >= 'A' && c <= 'Z'; };
    const auto lettersFrom = [&](std::size_t from) {
      return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), isLetter);
    };
    const std::size_t station = 3 + kStationLetters;
    const std::size_t unique = 3 + kUniqueLetters;
    if (text.size() != station && text.size() != unique) return false;
    if (text[2] < '0' || text[2] > '9') return text.size() == station && lettersFrom(0);
    return isLetter(text[0]) && isLetter(text[1]) && lettersFrom(3);
  }

  // Every text one slip from call over the letters and digits calls use,
  // while each returns true; whether all did.
  template <typename Each>
  static bool ForEachOneSlip(const std::string& call, Each each) {
    static const std::string kSigns = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string near;
    for (std::size_t i = 0; i <= call.size(); ++i) {
      for (const char sign : kSigns) {
        near = call;
        near.insert(i, 1, sign);
        if (!each(near)) return false;
        if (i < call.size() && call[i] != sign) {
          near = call;
          near[i] = sign;
          if (!each(near)) return false;
        }
      }
      if (i < call.size()) {
        near = call;
        near.erase(i, 1);
        if (!each(near)) return false;
      }
      if (i + 1 < call.size()) {
        near = call;
        std::swap(near[i], near[i + 1]);
        if (!each(near)) return false;
      }
    }
    return true;
  }

  std::string RandomCall(int letters) {
    for (;;) {
      std::string call = kPrefixes[Below(std::size(kPrefixes))];
      call += static_cast<char>('0' + Below(10));
      for (int i = 0; i < letters; ++i) call += static_cast<char>('A' + Below(26));
      if (FarFromAll(call)) {
        taken_.insert(call);
        return call;
      }
    }
  }

  // A station's call with a designator, as a portable or mobile station
  // signs and as its partners log it, half of them.
  std::string Designated(const std::string& call) {
    if (Chance(0.25)) return "DL/" + call;
    return call + kDesignators[Below(std::size(kDesignators))];
  }

  void MakeStations() {
    const std::size_t total = shape_.logs + shape_.silentStations;
    for (std::size_t i = 0; i < total; ++i) {
      Station station;
      station.call = RandomCall(kStationLetters);
      station.sendsLog = i < shape_.logs;
      if (station.call[0] == 'S')
        station.letter = std::string(1, kVoivodeshipLetters[Below(kVoivodeshipLetters.size())]);
      station.report = kReportStyles[Below(std::size(kReportStyles))];
      // One station that sends a log signs portable in every contest.
      station.signs = i == 1 || Chance(0.1) ? Designated(station.call) : station.call;
      station.runs = i % 3 == 0;
      station.varyingReports = shape_.varyingReports && i % 4 == 2;
      stations_.push_back(station);
    }
    for (std::size_t i = 0; i < shape_.clocksOff && i < shape_.logs; ++i) {
      const auto offset = static_cast<std::int64_t>(
          kShortestOffset + Below(static_cast<std::size_t>(kLongestOffset - kShortestOffset + 1)));
      stations_[i * 7 % shape_.logs].clockOffset = Chance(0.5) ? offset : -offset;
    }
  }

  // A QSO of a with b on a band at a minute (true UTC), if they have not
  // worked there: both sides, the one of a station without a log left out.
  void Work(std::size_t a, std::size_t b, std::string_view band, std::int64_t minute,
            std::int64_t partnerLate) {
    if (a == b || !worked_.insert(WorkedKey(a, b, band)).second) return;
    const std::size_t qso = nextQso_++;
    sides_.push_back(MakeSide(a, b, band, minute, qso, LoggedCall(b)));
    if (stations_[b].sendsLog)
      sides_.push_back(MakeSide(b, a, band, minute + partnerLate, qso, LoggedCall(a)));
  }

  // Two stations and a band as one number, whichever station is named first.
  std::uint64_t WorkedKey(std::size_t a, std::size_t b, std::string_view band) const {
    const auto bandIndex = static_cast<std::uint64_t>(
        std::find(std::begin(kBands), std::end(kBands), band) - std::begin(kBands));
    const std::uint64_t stations = stations_.size();
    return (std::min(a, b) * stations + std::max(a, b)) * std::size(kBands) + bandIndex;
  }

  // A station's call as a partner logs it: a portable station's with its
  // designator or without, as the partner heard it.
  std::string LoggedCall(std::size_t station) {
    const Station& worked = stations_[station];
    return worked.signs != worked.call && Chance(0.5) ? worked.signs : worked.call;
  }

  // The band a station is on at a minute (true UTC): one at a time, as an
  // operator alone is, for a while, then perhaps another.
  std::string_view BandAt(std::size_t station, std::int64_t minute) const {
    std::uint64_t mixed =
        shape_.seed + station * 0x9E3779B97F4A7C15ULL +
        static_cast<std::uint64_t>(minute / kMinutesOnBand) * 0xD6E8FEB86659FD93ULL;
    mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9ULL;
    mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBULL;
    return kBands[(mixed ^ (mixed >> 31)) % std::size(kBands)];
  }

  // A station other than this one on the band at the minute; this one when
  // none is found, and Work makes no QSO.
  std::size_t PartnerOn(std::string_view band, std::int64_t minute, std::size_t station) {
    for (int tries = 0; tries < kPartnerTries; ++tries) {
      const std::size_t partner = Below(stations_.size());
      if (partner != station && BandAt(partner, minute) == band) return partner;
    }
    return station;
  }

  std::int64_t AwakeMinute() {
    for (;;) {
      const auto minute = static_cast<std::int64_t>(
          kMargin + Below(static_cast<std::size_t>(kContestMinutes - 2 * kMargin)));
      if (minute < kQuietFrom || minute >= kQuietTo) return kStart + minute;
    }
  }

  // Run stations call CQ for a while and are answered two to four times
  // a minute; the others search and pounce, any time but the small hours;
  // each works the stations on its band then.
  void MakeQsos() {
    const std::size_t qsos = shape_.logs * shape_.qsosPerLog / 2;
    const std::size_t perRun = std::max<std::size_t>(shape_.qsosPerLog / 4, 8);
    worked_.reserve(qsos + qsos / 4);
    for (std::size_t a = 0; a < shape_.logs; ++a) {
      if (!stations_[a].runs) continue;
      std::int64_t minute = AwakeMinute();
      for (std::size_t made = 0; made < perRun; ++minute) {
        const std::string_view band = BandAt(a, minute);
        const std::size_t burst = 2 + Below(3);
        for (std::size_t n = 0; n < burst && made < perRun; ++n, ++made)
          Work(a, PartnerOn(band, minute, a), band, minute, 0);
      }
    }
    while (nextQso_ < qsos) {
      const std::size_t before = nextQso_;
      const std::size_t a = Below(shape_.logs);
      const std::int64_t minute = AwakeMinute();
      const std::string_view band = BandAt(a, minute);
      const std::size_t b = PartnerOn(band, minute, a);
      // A partner whose clock ticked over logs the QSO a minute later, when
      // it is still on the band then.
      const auto late = static_cast<std::int64_t>(Below(2));
      Work(a, b, band, minute, BandAt(b, minute + late) == band ? late : 0);
      if (nextQso_ == before) ++tries_;
      if (tries_ > qsos) break;
    }
    // A QSO straddling the period's end: logged at 23:59 by one side, at
    // 00:00 by the other, whose line the contest does not count.
    for (std::size_t a = 0; a + 1 < shape_.logs; a += 2) {
      if (stations_[a].clockOffset != 0 || stations_[a + 1].clockOffset != 0) continue;
      const std::size_t qso = nextQso_;
      Work(a, a + 1, "28", kStart + kContestMinutes - 1, 1);
      if (nextQso_ == qso) continue;
      edgeQso_ = qso;
      edgeStations_ = {a, a + 1};
      break;
    }
  }

  bool BothSendLogs(const Side& side) const {
    return stations_[side.station].sendsLog && stations_[side.partner].sendsLog;
  }

  std::optional<std::string> VariantOf(const std::string& call) {
    for (int tries = 0; tries < kVariantTries; ++tries) {
      std::string variant = call;
      const std::size_t at = 3 + Below(3);
      variant[at] = static_cast<char>('A' + Below(26));
      if (variant != call && FarFromAll(variant, call)) {
        variants_.insert(variant);
        return variant;
      }
    }
    return std::nullopt;
  }

  // Whether a station's QSOs are kept free of other errors: the one whose
  // sent serials are off, and those of the QSO at the period's end.
  bool KeptClean(std::size_t station) const {
    return stations_[station].serialsOff || edgeStations_.count(station) > 0;
  }

  void InjectErrors() {
    const double share = shape_.errorShare;
    std::vector<Side> added;
    spoiled_.assign(nextQso_, false);
    for (std::size_t i = 0; i < sides_.size(); ++i) {
      Side& side = sides_[i];
      if (!BothSendLogs(side) || spoiled_[side.qso] || KeptClean(side.station) ||
          KeptClean(side.partner))
        continue;
      if (Chance(share)) {
        auto variant = VariantOf(stations_[side.partner].call);
        if (!variant) continue;
        side.loggedCall = std::move(*variant);
        side.verdict = "busted-call";
        side.detail = stations_[side.partner].signs;
      } else if (Chance(share)) {
        side.copiesExchangeWrongly = true;
        side.verdict = "busted-exchange";
      } else if (Chance(share)) {
        side.verdict = "dropped";  // the other side's line becomes a NIL
      } else if (Chance(share)) {
        Side dupe = side;
        // Where the rules allow a station again after a while, a dupe is
        // one worked again sooner, and well apart from its QSO.
        dupe.minute += shape_.reworkMinutes
                           ? kDupeApart + static_cast<std::int64_t>(Below(static_cast<std::size_t>(
                                              shape_.reworkMinutes - 2 * kDupeApart)))
                           : 30 + static_cast<std::int64_t>(Below(60));
        if (dupe.minute >= kStart + kContestMinutes - kMargin ||
            BandAt(side.station, dupe.minute) != side.band)
          continue;
        dupe.verdict = "dupe";
        dupe.qso = SIZE_MAX;
        added.push_back(dupe);
      } else if (Chance(share)) {
        // Logged first with the exchange copied wrongly, then again right
        // a few minutes later: the second line is the QSO, the first one
        // nothing confirms.
        Side first = side;
        first.minute -= 1 + static_cast<std::int64_t>(Below(3));
        if (BandAt(side.station, first.minute) != side.band) continue;
        first.copiesExchangeWrongly = true;
        first.verdict = "nil";
        first.qso = SIZE_MAX - 1;
        first.partner = side.partner;
        added.push_back(first);
      } else if (Chance(share)) {
        // The call copied wrongly in two places: no slip of one character,
        // yet the exchanges agree both ways.
        const auto once = VariantOf(stations_[side.partner].call);
        auto twice = once ? VariantOf(*once) : std::nullopt;
        if (!twice) continue;
        side.loggedCall = std::move(*twice);
        side.verdict = "busted-call";
        side.detail = stations_[side.partner].signs;
      } else if (Chance(share)) {
        // RTTY lost its figures shift: the call's figure printed as the
        // letter on its key.
        const std::string& call = stations_[side.partner].call;
        std::string shifted = call;
        for (char& c : shifted)
          if (c >= '0' && c <= '9') c = kLettersOfFigures[static_cast<std::size_t>(c - '0')];
        if (!FarFromAll(shifted, call)) continue;
        variants_.insert(shifted);
        side.loggedCall = shifted;
        side.verdict = "busted-call";
        side.detail = stations_[side.partner].signs;
      } else if (Chance(share)) {
        // The logger left out the exchange copied: the line cannot be
        // judged, yet still says whom the log worked, and when.
        side.verdict = "unreadable";
      } else {
        continue;
      }
      spoiled_[side.qso] = true;
    }
    for (std::size_t log = 0; log < shape_.logs; ++log)
      for (std::size_t n = 0; n < shape_.qsosPerLog; ++n)
        if (Chance(share)) {
          const std::int64_t minute = AwakeMinute();
          Side unique = MakeSide(log, SIZE_MAX, BandAt(log, minute), minute, SIZE_MAX,
                                 RandomCall(kUniqueLetters));
          unique.verdict = "unique";
          added.push_back(unique);
        }
    sides_.insert(sides_.end(), added.begin(), added.end());
    // A dropped side's partner finds nothing in its log.
    std::vector<bool> dropped(nextQso_), unreadable(nextQso_);
    for (const Side& side : sides_) {
      if (side.verdict == "dropped") dropped[side.qso] = true;
      if (side.verdict == "unreadable") unreadable[side.qso] = true;
    }
    for (Side& side : sides_) {
      if (side.verdict != "ok" || side.qso >= nextQso_) continue;
      if (dropped[side.qso]) side.verdict = "nil";
      if (unreadable[side.qso]) {
        side.verdict = "unchecked";
        side.detail = kUnreadableAnswer;
      }
    }
    sides_.erase(std::remove_if(sides_.begin(), sides_.end(),
                                [](const Side& side) { return side.verdict == "dropped"; }),
                 sides_.end());
  }

  // Where the rules allow it, some pairs of stations that worked on a band
  // work there again, at least the rework time later, while both are
  // still there.
  void WorkAgain() {
    if (!shape_.reworkMinutes) return;
    const std::size_t sides = sides_.size();
    for (std::size_t i = 0; i < sides; ++i) {
      const Side side = sides_[i];
      if (side.partner == SIZE_MAX || !stations_[side.partner].sendsLog ||
          side.station > side.partner || side.qso == edgeQso_ || !Chance(kReworkedShare))
        continue;
      const std::int64_t minute =
          side.minute + shape_.reworkMinutes + static_cast<std::int64_t>(Below(kMinutesOnBand));
      if (minute >= kStart + kContestMinutes - kMargin ||
          BandAt(side.station, minute) != side.band || BandAt(side.partner, minute) != side.band)
        continue;
      const std::size_t qso = nextQso_++;
      sides_.push_back(
          MakeSide(side.station, side.partner, side.band, minute, qso, LoggedCall(side.partner)));
      sides_.push_back(
          MakeSide(side.partner, side.station, side.band, minute, qso, LoggedCall(side.station)));
    }
  }

  // A side of a clean QSO copies the other station's call as the call of
  // another station that sent a log and that it worked on that band well
  // before or after: its line names a station whose log confirms it at
  // another time. The other side keeps the QSO; this line is the busted one.
  void CopyAsEntrants() {
    if (shape_.entrantMiscopies <= 0) return;
    const auto by = SidesByStation();
    for (std::size_t i = 0; i < sides_.size(); ++i) {
      Side& side = sides_[i];
      if (!Clean(side) || !Chance(shape_.entrantMiscopies)) continue;
      for (const std::size_t other : by[side.station]) {
        const Side& named = sides_[other];
        const std::int64_t apart =
            named.minute > side.minute ? named.minute - side.minute : side.minute - named.minute;
        if (named.partner == SIZE_MAX || named.partner == side.partner ||
            !stations_[named.partner].sendsLog || named.band != side.band ||
            apart < kMiscopyApart || named.verdict != "ok")
          continue;
        side.loggedCall = stations_[named.partner].call;
        side.verdict = "busted-call";
        side.detail = stations_[side.partner].signs;
        spoiled_[side.qso] = true;
        break;
      }
    }
  }

  // A station sending serials whose log has each one above what it sent;
  // its QSOs are kept free of other errors.
  void ChooseSerialsOff() {
    for (std::size_t i = 0; i < shape_.logs; ++i)
      if (stations_[i].letter.empty() && stations_[i].clockOffset == 0 &&
          edgeStations_.count(i) == 0) {
        stations_[i].serialsOff = true;
        return;
      }
  }

  // Whether a side is free of every error, with a partner that sends a log.
  bool Clean(const Side& side) const {
    return side.verdict == "ok" && side.qso < nextQso_ && side.partner != SIZE_MAX &&
           BothSendLogs(side) && !spoiled_[side.qso] && side.qso != edgeQso_ &&
           !KeptClean(side.station) && !KeptClean(side.partner);
  }

  // Each station's sides by time, as its log has them.
  std::vector<std::vector<std::size_t>> SidesByStation() const {
    std::vector<std::vector<std::size_t>> by(shape_.logs);
    for (std::size_t i = 0; i < sides_.size(); ++i) by[sides_[i].station].push_back(i);
    for (auto& sides : by)
      std::stable_sort(sides.begin(), sides.end(), [&](std::size_t a, std::size_t b) {
        return sides_[a].minute < sides_[b].minute;
      });
    return by;
  }

  // The side of the other station in the same QSO.
  std::size_t OtherSide(std::size_t side) const {
    for (std::size_t i = 0; i < sides_.size(); ++i)
      if (i != side && sides_[i].qso == sides_[side].qso) return i;
    return SIZE_MAX;
  }

  void MarkSides(std::size_t own, std::size_t other, std::string_view fault) {
    sides_[own].fault = fault;
    sides_[own].ownFault = true;
    sides_[own].verdict = fault == "serial" ? "busted-exchange" : "nil";
    sides_[other].fault = fault;
    sides_[other].ownFault = false;
    spoiled_[sides_[own].qso] = true;
  }

  // A run station logs one QSO of its run on another band: its lines
  // before and after it are on the run's band, and so is the partner's
  // line.
  void InjectBandError() {
    // Each station's lines the check judges: a line that cannot be read is
    // none of a line's neighbours.
    auto by = SidesByStation();
    for (auto& sides : by)
      sides.erase(
          std::remove_if(sides.begin(), sides.end(),
                         [&](std::size_t side) { return sides_[side].verdict == "unreadable"; }),
          sides.end());
    for (std::size_t station = 0; station < by.size(); ++station) {
      const std::vector<std::size_t>& sides = by[station];
      if (!stations_[station].runs || KeptClean(station)) continue;
      for (std::size_t k = 1; k + 1 < sides.size(); ++k) {
        const Side& side = sides_[sides[k]];
        if (!Clean(side) || sides_[sides[k - 1]].band != side.band ||
            sides_[sides[k + 1]].band != side.band)
          continue;
        const std::string_view wrong = side.band == "28" ? "21" : "28";
        if (worked_.count(WorkedKey(side.station, side.partner, wrong))) continue;
        const std::size_t other = OtherSide(sides[k]);
        // The partner's own lines around its line must not be on the
        // wrong band, or its line would look the odd one.
        const std::vector<std::size_t>& theirs = by[side.partner];
        const auto at = std::find(theirs.begin(), theirs.end(), other);
        const auto onWrong = [&](auto it) { return sides_[*it].band == wrong; };
        if (at != theirs.begin() && at + 1 != theirs.end() && onWrong(at - 1) && onWrong(at + 1))
          continue;
        sides_[sides[k]].loggedBand = wrong;
        MarkSides(sides[k], other, "band");
        return;
      }
    }
  }

  // A station's clock 12 hours slow for its last QSOs, all after 13:00 and
  // each free of other errors, with at least three stations that send logs.
  void InjectClockJump() {
    const auto by = SidesByStation();
    for (std::size_t station = 0; station < by.size(); ++station) {
      const std::vector<std::size_t>& sides = by[station];
      if (KeptClean(station) || stations_[station].clockOffset != 0) continue;
      std::size_t from = sides.size();
      std::set<std::size_t> withLogs;  // the stations with logs among them
      while (from > 0 && withLogs.size() < kFewestJumped) {
        const Side& side = sides_[sides[from - 1]];
        const bool aside = side.partner == SIZE_MAX
                               ? side.verdict == "unique"
                               : !stations_[side.partner].sendsLog && side.verdict == "ok";
        if (side.minute < kStart + kJumpFrom || !(Clean(side) || aside)) break;
        if (Clean(side)) withLogs.insert(side.partner);
        --from;
      }
      if (withLogs.size() < kFewestJumped) continue;
      for (std::size_t k = from; k < sides.size(); ++k) {
        const std::size_t side = sides[k];
        sides_[side].clockJump = kJumpMinutes;
        if (Clean(sides_[side])) MarkSides(side, OtherSide(side), "clock");
      }
      return;
    }
  }

  // A station that moved and sent two logs, one of its QSOs before and
  // one of those after.
  void ChooseTwoLogs() {
    const auto by = SidesByStation();
    for (std::size_t station = 0; station < by.size(); ++station) {
      const std::vector<std::size_t>& sides = by[station];
      if (KeptClean(station) || sides.size() < 4) continue;
      bool jumped = false;
      for (const std::size_t side : sides) jumped = jumped || sides_[side].clockJump != 0;
      if (jumped) continue;
      const std::size_t middle = sides.size() / 2;
      if (sides_[sides[middle - 1]].minute == sides_[sides[middle]].minute) continue;
      stations_[station].movedAt = sides_[sides[middle]].minute;
      return;
    }
  }

  static std::string SerialText(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%03d", value % 1000);
    return text;
  }

  // What a side's station sent in it: its letter, or its serial number;
  // with two serials, its own and the last one it received.
  std::string SentContent(const Side& side) const {
    const Station& station = stations_[side.station];
    if (shape_.twoSerials) return SerialText(side.serial) + " " + SerialText(side.lastReceived);
    return station.letter.empty() ? SerialText(side.serial) : station.letter;
  }

  // A report as the station's logger writes it: the same each time, or two
  // figures that vary.
  std::string ReportOf(const Station& station) {
    if (!station.varyingReports) return station.report;
    return "5" + std::to_string(1 + Below(9));
  }

  // Each log's lines in time order, numbered: serial numbers follow it.
  // Each logger writes reports its own way, what it sent and what it
  // copied alike.
  void ExchangeAndSend() {
    std::stable_sort(sides_.begin(), sides_.end(), [](const Side& a, const Side& b) {
      return std::tie(a.station, a.minute) < std::tie(b.station, b.minute);
    });
    qsoSides_.assign(nextQso_, {SIZE_MAX, SIZE_MAX});
    std::vector<int> serial(shape_.logs, 0);
    for (std::size_t i = 0; i < sides_.size(); ++i) {
      Side& side = sides_[i];
      side.serial = ++serial[side.station];
      if (side.qso < nextQso_) {
        auto& both = qsoSides_[side.qso];
        (both[0] == SIZE_MAX ? both[0] : both[1]) = i;
      }
    }
    // With two serials, each side sends the serial it copied last: the
    // other side's in the station's QSO before.
    if (shape_.twoSerials)
      for (std::size_t i = 1; i < sides_.size(); ++i)
        if (sides_[i].station == sides_[i - 1].station) {
          const Side* before = PartnerSide(sides_[i - 1]);
          sides_[i].lastReceived = before ? before->serial : 0;
        }
    for (Side& side : sides_) {
      const Station& station = stations_[side.station];
      const bool serials = station.letter.empty() || shape_.twoSerials;
      std::string logged = SentContent(side);
      // The logger's serial one above what went on the air.
      if (serials && station.serialsOff) logged.replace(0, 3, SerialText(side.serial + 1));
      side.sent = ReportOf(station) + " " + logged;
    }
    for (Side& side : sides_) {
      const std::string report = ReportOf(stations_[side.station]);
      if (side.partner == SIZE_MAX) {
        side.received = report + " " + std::to_string(1 + Below(999));
        continue;
      }
      const Station& partner = stations_[side.partner];
      const Side* other = PartnerSide(side);
      std::string sent;
      if (other)
        sent = SentContent(*other);
      else if (shape_.twoSerials)
        sent = std::to_string(1 + Below(999)) + " " + std::to_string(1 + Below(999));
      else
        sent = partner.letter.empty() ? std::to_string(1 + Below(999)) : partner.letter;
      side.received = report + " " + sent;
      if (side.verdict == "unreadable") side.received.clear();
      if (side.copiesExchangeWrongly) {
        side.received =
            report + " " + (sent.back() == 'Z' ? "B" : sent.substr(0, sent.size() - 1) + "Z");
        if (side.verdict == "busted-exchange")
          side.detail = other ? other->sent : partner.report + " " + sent;
      }
    }
  }

  // The side of the other station in a QSO, after ExchangeAndSend.
  const Side* PartnerSide(const Side& side) const {
    if (side.partner == SIZE_MAX || side.qso >= nextQso_) return nullptr;
    for (const std::size_t i : qsoSides_[side.qso])
      if (i != SIZE_MAX && sides_[i].station == side.partner) return &sides_[i];
    return nullptr;
  }

  // The stations whose logs hold a call: the first, and whether another does.
  struct Holders {
    std::size_t first = 0;
    bool more = false;
  };
  using HoldersOfCall = std::unordered_map<std::string, Holders>;

  SimulatedQso TrueLine(const Side& side, const HoldersOfCall& holders) const {
    const Station& station = stations_[side.station];
    SimulatedQso qso{.call = side.loggedCall,
                     .band = std::string(side.loggedBand.empty() ? side.band : side.loggedBand),
                     .minute = side.minute + station.clockOffset + side.clockJump,
                     .sent = side.sent,
                     .received = side.received,
                     .verdict = std::string(side.verdict),
                     .detail = side.detail,
                     .loggedAs = {},
                     .fault = std::string(side.fault),
                     .ownFault = side.ownFault};
    const Side* partner = PartnerSide(side);
    if (side.partner != SIZE_MAX && !stations_[side.partner].sendsLog) {
      const auto held = holders.find(std::string(StationCall(side.loggedCall)));
      qso.verdict = held != holders.end() && held->second.more ? "unchecked" : "unique";
    }
    if (side.qso == edgeQso_ && side.qso < nextQso_) {
      const bool late = side.minute >= kStart + kContestMinutes;
      qso.verdict = late ? "left-out" : "unchecked";
      qso.detail = late ? "" : kLeftOutAnswer;
    }
    // The station whose log has its sent serials one above: its logger's
    // error, found; the QSOs were made right on the air, and both sides
    // keep them unless the rules charge the sender.
    if (partner && station.serialsOff) {
      if (shape_.penalizeSentSerial) {
        qso.verdict = "busted-exchange";
        qso.detail = partner->received;
      }
      qso.fault = "serial";
      qso.ownFault = true;
    } else if (partner && stations_[side.partner].serialsOff) {
      qso.fault = "serial";
      qso.ownFault = false;
    }
    if (qso.verdict == "ok" && partner && partner->verdict != "busted-call" &&
        partner->loggedCall != station.signs)
      qso.loggedAs = partner->loggedCall;
    return qso;
  }

  // Each log as soon as its lines are written out, in the stations' order,
  // the second log of the station that moved last.
  void Send(const std::function<void(SimulatedLog&&)>& each) const {
    // Who else holds each station a station worked, for lines with
    // stations that send no log.
    HoldersOfCall holders;
    for (const Side& side : sides_) {
      const auto [held, added] = holders.try_emplace(std::string(StationCall(side.loggedCall)),
                                                     Holders{side.station, false});
      if (!added && held->second.first != side.station) held->second.more = true;
    }
    std::optional<SimulatedLog> second;
    std::size_t at = 0;
    for (std::size_t i = 0; i < shape_.logs; ++i) {
      const Station& station = stations_[i];
      SimulatedLog log{.call = station.signs,
                       .name = station.call,
                       .clockOffset = station.clockOffset,
                       .qsos = {}};
      for (; at < sides_.size() && sides_[at].station == i; ++at) {
        const Side& side = sides_[at];
        SimulatedQso qso = TrueLine(side, holders);
        // A station that moved sends its QSOs from then on in a log of their own.
        if (station.movedAt >= 0 && side.minute >= station.movedAt) {
          if (!second)
            second = SimulatedLog{.call = station.signs,
                                  .name = station.call + "-2",
                                  .clockOffset = station.clockOffset,
                                  .qsos = {}};
          second->qsos.push_back(std::move(qso));
        } else {
          log.qsos.push_back(std::move(qso));
        }
      }
      each(std::move(log));
    }
    if (second) each(std::move(*second));
  }

  const std::int64_t kStart = *UtcMinuteOf(kContestStart);

  ContestShape shape_;
  std::mt19937_64 random_;
  std::vector<Station> stations_;
  std::unordered_set<std::string> taken_;     // calls of stations and uniques
  std::unordered_set<std::string> variants_;  // calls busted
  std::vector<Side> sides_;
  std::unordered_set<std::uint64_t> worked_;  // WorkedKey
  std::size_t nextQso_ = 0;
  std::size_t tries_ = 0;
  std::vector<bool> spoiled_;  // by QSO: an error in already
  std::size_t edgeQso_ = SIZE_MAX;
  std::set<std::size_t> edgeStations_;
  std::vector<std::array<std::size_t, 2>> qsoSides_;  // each QSO's sides, SIZE_MAX for none
};

std::string Kilohertz(const std::string& band) {
  static const std::map<std::string, std::string> kFrequency = {{"1.8", "1840"}, {"3.5", "3580"},
                                                                {"7", "7040"},   {"14", "14080"},
                                                                {"21", "21080"}, {"28", "28080"}};
  return kFrequency.at(band);
}

std::string AdifBand(const std::string& band) {
  static const std::map<std::string, std::string> kName = {
      {"1.8", "160m"}, {"3.5", "80m"}, {"7", "40m"}, {"14", "20m"}, {"21", "15m"}, {"28", "10m"}};
  return kName.at(band);
}

std::string Field(const std::string& name, const std::string& value) {
  return "<" + name + ":" + std::to_string(value.size()) + ">" + value;
}

}  // namespace

void SimulateContest(const ContestShape& shape, const std::function<void(SimulatedLog&&)>& each) {
  Generator(shape).Run(each);
}

std::vector<SimulatedLog> SimulateContest(const ContestShape& shape) {
  std::vector<SimulatedLog> logs;
  SimulateContest(shape, [&](SimulatedLog&& log) { logs.push_back(std::move(log)); });
  return logs;
}

std::string CabrilloText(const SimulatedLog& log) {
  // Loggers lay their columns out each its own way: one pads with blanks,
  // one with tabs, one puts a no-break space after "QSO:", one writes a
  // transmitter id of 2 at the end of every line. The log's call picks.
  const std::size_t style = std::hash<std::string>{}(log.call) % 5;
  const std::string gap = style == 1 ? "   " : style == 2 ? "\t" : " ";
  const std::string afterTag = style == 3 ? "\xC2\xA0" : " ";
  const std::string end = style == 4 ? " 2" : "";
  std::string text = "START-OF-LOG: 3.0\nCALLSIGN: " + log.call +
                     "\nCONTEST: ZELTRA-RTTY\nCATEGORY-OPERATOR: SINGLE-OP\n";
  for (const SimulatedQso& qso : log.qsos) {
    const std::string when = UtcMinuteText(qso.minute);
    text += "QSO:" + afterTag + Kilohertz(qso.band) + gap + "RY" + gap + when.substr(0, 4) + "-" +
            when.substr(4, 2) + "-" + when.substr(6, 2) + gap + when.substr(8, 4) + gap + log.call +
            gap + qso.sent + gap + qso.call + (qso.received.empty() ? "" : gap + qso.received) +
            end + "\n";
  }
  return text + "END-OF-LOG:\n";
}

std::string AdifText(const SimulatedLog& log) {
  std::string text = "Made up for a test <ADIF_VER:5>3.1.4 <EOH>\n";
  for (const SimulatedQso& qso : log.qsos) {
    const std::string when = UtcMinuteText(qso.minute);
    text += Field("STATION_CALLSIGN", log.call) + Field("CALL", qso.call) +
            Field("BAND", AdifBand(qso.band)) + Field("MODE", "RTTY") +
            Field("QSO_DATE", when.substr(0, 8)) + Field("TIME_ON", when.substr(8, 4)) +
            Field("STX_STRING", qso.sent) +
            (qso.received.empty() ? "" : Field("SRX_STRING", qso.received)) + "<EOR>\n";
  }
  return text;
}

}  // namespace zeltra::test
