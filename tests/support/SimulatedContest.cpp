#include "support/SimulatedContest.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <tuple>
#include <unordered_set>

#include "core/scoring/ContestRules.h"
#include "core/text/UtcMinute.h"

namespace zeltra::test {
namespace {

// Prefixes the tests' country file knows.
constexpr const char* kPrefixes[] = {"SP", "SQ", "SO", "DL", "DK", "OK", "OL", "UR", "UT", "UX"};
constexpr const char* kBands[] = {"1.8", "3.5", "7", "14", "21", "28"};
constexpr std::int64_t kContestMinutes = 24 * 60;
constexpr std::int64_t kShortestOffset = 7;
constexpr std::int64_t kLongestOffset = 15;
// The letter on each figure's key of a teleprinter: 1/Q 2/W ... 0/P.
constexpr std::string_view kLettersOfFigures = "PQWERTYUIO";

struct Station {
  std::string call;
  bool sendsLog;
  std::string letter;  // a Polish station's voivodeship; others send serial numbers
  std::int64_t clockOffset = 0;
};

// One side of a QSO before its exchange is known.
struct Side {
  std::size_t station = 0;
  std::size_t partner = 0;
  std::string band;
  std::int64_t minute = 0;  // true UTC
  std::size_t qso = 0;      // the QSO it belongs to; both sides share it
  std::string loggedCall;
  std::string verdict = "ok";
  std::string detail;
  bool copiesExchangeWrongly = false;
  std::string sent;
  std::string received;
};

Side MakeSide(std::size_t station, std::size_t partner, std::string band, std::int64_t minute,
              std::size_t qso, std::string loggedCall) {
  Side side;
  side.station = station;
  side.partner = partner;
  side.band = std::move(band);
  side.minute = minute;
  side.qso = qso;
  side.loggedCall = std::move(loggedCall);
  return side;
}

class Generator {
 public:
  explicit Generator(const ContestShape& shape) : shape_(shape), random_(shape.seed) {}

  std::vector<SimulatedLog> Run() {
    MakeStations();
    MakeQsos();
    InjectErrors();
    ExchangeAndSend();
    return Logs();
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
  // call's few hundred neighbours is looked up, not each call made.
  bool FarFromAll(const std::string& call, const std::string& origin = {}) const {
    if (taken_.count(call) || variants_.count(call)) return false;
    bool far = true;
    ForEachOneSlip(call, [&](const std::string& near) {
      if ((taken_.count(near) && near != origin) || (origin.empty() && variants_.count(near)))
        far = false;
    });
    return far;
  }

  // Every text one slip from call over the letters and digits calls use.
  template <typename Each>
  static void ForEachOneSlip(const std::string& call, Each each) {
    static const std::string kSigns = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string near;
    for (std::size_t i = 0; i <= call.size(); ++i) {
      for (const char sign : kSigns) {
        near = call;
        near.insert(i, 1, sign);
        each(near);
        if (i < call.size() && call[i] != sign) {
          near = call;
          near[i] = sign;
          each(near);
        }
      }
      if (i < call.size()) {
        near = call;
        near.erase(i, 1);
        each(near);
      }
      if (i + 1 < call.size()) {
        near = call;
        std::swap(near[i], near[i + 1]);
        each(near);
      }
    }
  }

  std::string RandomCall() {
    for (;;) {
      std::string call = kPrefixes[Below(std::size(kPrefixes))];
      call += static_cast<char>('0' + Below(10));
      for (int i = 0; i < 3; ++i) call += static_cast<char>('A' + Below(26));
      if (FarFromAll(call)) {
        taken_.insert(call);
        return call;
      }
    }
  }

  void MakeStations() {
    const std::size_t total = shape_.logs + shape_.silentStations;
    for (std::size_t i = 0; i < total; ++i) {
      Station station{RandomCall(), i < shape_.logs, "", 0};
      if (station.call[0] == 'S')
        station.letter = std::string(1, kVoivodeshipLetters[Below(kVoivodeshipLetters.size())]);
      stations_.push_back(station);
    }
    for (std::size_t i = 0; i < shape_.clocksOff && i < shape_.logs; ++i) {
      const auto offset = static_cast<std::int64_t>(
          kShortestOffset + Below(static_cast<std::size_t>(kLongestOffset - kShortestOffset + 1)));
      stations_[i * 7 % shape_.logs].clockOffset = Chance(0.5) ? offset : -offset;
    }
  }

  void MakeQsos() {
    const std::size_t total = stations_.size();
    const std::size_t qsos = shape_.logs * shape_.qsosPerLog / 2;
    std::set<std::tuple<std::size_t, std::size_t, std::string>> worked;
    for (std::size_t n = 0; n < qsos; ++n) {
      const std::size_t a = Below(shape_.logs);
      const std::size_t b = Below(total);
      const std::string band = kBands[Below(std::size(kBands))];
      if (a == b || !worked.insert({std::min(a, b), std::max(a, b), band}).second) continue;
      const std::int64_t minute = kStart + static_cast<std::int64_t>(Below(kContestMinutes));
      const std::size_t qso = n;
      sides_.push_back(MakeSide(a, b, band, minute, qso, stations_[b].call));
      if (stations_[b].sendsLog)
        sides_.push_back(MakeSide(b, a, band, minute + static_cast<std::int64_t>(Below(2)), qso,
                                  stations_[a].call));
    }
  }

  bool BothSendLogs(const Side& side) const {
    return stations_[side.station].sendsLog && stations_[side.partner].sendsLog;
  }

  std::string VariantOf(const std::string& call) {
    for (;;) {
      std::string variant = call;
      const std::size_t at = 3 + Below(3);
      variant[at] = static_cast<char>('A' + Below(26));
      if (variant != call && FarFromAll(variant, call)) {
        variants_.insert(variant);
        return variant;
      }
    }
  }

  void InjectErrors() {
    const double share = shape_.errorShare;
    std::vector<Side> added;
    std::set<std::size_t> spoiled;  // QSOs with an error in already
    for (std::size_t i = 0; i < sides_.size(); ++i) {
      Side& side = sides_[i];
      if (!BothSendLogs(side) || spoiled.count(side.qso)) continue;
      if (Chance(share)) {
        side.loggedCall = VariantOf(side.loggedCall);
        side.verdict = "busted-call";
        side.detail = stations_[side.partner].call;
      } else if (Chance(share)) {
        side.copiesExchangeWrongly = true;
        side.verdict = "busted-exchange";
      } else if (Chance(share)) {
        side.verdict = "dropped";  // the other side's line becomes a NIL
      } else if (Chance(share)) {
        Side dupe = side;
        dupe.minute += 30 + static_cast<std::int64_t>(Below(60));
        dupe.verdict = "dupe";
        dupe.qso = SIZE_MAX;
        added.push_back(dupe);
      } else if (Chance(share)) {
        // Logged first with the exchange copied wrongly, then again right
        // a few minutes later: the second line is the QSO, the first one
        // nothing confirms.
        Side first = side;
        first.minute -= 1 + static_cast<std::int64_t>(Below(3));
        first.copiesExchangeWrongly = true;
        first.verdict = "nil";
        first.qso = SIZE_MAX - 1;
        first.partner = side.partner;
        added.push_back(first);
      } else if (Chance(share)) {
        // The call copied wrongly in two places: no slip of one character,
        // yet the exchanges agree both ways.
        side.loggedCall = VariantOf(VariantOf(side.loggedCall));
        side.verdict = "busted-call";
        side.detail = stations_[side.partner].call;
      } else if (Chance(share)) {
        // RTTY lost its figures shift: the call's figure printed as the
        // letter on its key.
        std::string shifted = side.loggedCall;
        for (char& c : shifted)
          if (c >= '0' && c <= '9') c = kLettersOfFigures[static_cast<std::size_t>(c - '0')];
        if (!FarFromAll(shifted, side.loggedCall)) continue;
        variants_.insert(shifted);
        side.loggedCall = shifted;
        side.verdict = "busted-call";
        side.detail = stations_[side.partner].call;
      } else if (Chance(share)) {
        // The logger left out the exchange copied: the line cannot be
        // judged, yet still says whom the log worked, and when.
        side.verdict = "unreadable";
      } else {
        continue;
      }
      spoiled.insert(side.qso);
    }
    for (std::size_t log = 0; log < shape_.logs; ++log)
      for (std::size_t n = 0; n < shape_.qsosPerLog; ++n)
        if (Chance(share)) {
          Side unique = MakeSide(log, SIZE_MAX, kBands[Below(std::size(kBands))],
                                 kStart + static_cast<std::int64_t>(Below(kContestMinutes)),
                                 SIZE_MAX, RandomCall());
          unique.verdict = "unique";
          added.push_back(unique);
        }
    sides_.insert(sides_.end(), added.begin(), added.end());
    // A dropped side's partner finds nothing in its log.
    std::set<std::size_t> dropped;
    for (const Side& side : sides_)
      if (side.verdict == "dropped") dropped.insert(side.qso);
    std::set<std::size_t> unreadable;
    for (const Side& side : sides_)
      if (side.verdict == "unreadable") unreadable.insert(side.qso);
    for (Side& side : sides_) {
      if (side.verdict != "ok") continue;
      if (dropped.count(side.qso)) side.verdict = "nil";
      if (unreadable.count(side.qso)) {
        side.verdict = "unchecked";
        side.detail = kUnreadableAnswer;
      }
    }
    sides_.erase(std::remove_if(sides_.begin(), sides_.end(),
                                [](const Side& side) { return side.verdict == "dropped"; }),
                 sides_.end());
  }

  // Each log's lines in time order, numbered: serial numbers follow it.
  void ExchangeAndSend() {
    std::stable_sort(sides_.begin(), sides_.end(), [](const Side& a, const Side& b) {
      return std::tie(a.station, a.minute) < std::tie(b.station, b.minute);
    });
    std::map<std::size_t, int> serial;
    std::map<std::pair<std::size_t, std::size_t>, std::string> sentIn;  // (qso, station)
    for (Side& side : sides_) {
      const Station& station = stations_[side.station];
      char number[8];
      std::snprintf(number, sizeof number, "%03d", ++serial[side.station] % 1000);
      side.sent = "599 " + (station.letter.empty() ? std::string(number) : station.letter);
      sentIn[{side.qso, side.station}] = side.sent;
    }
    for (Side& side : sides_) {
      if (side.partner == SIZE_MAX) {
        side.received = "599 " + std::to_string(1 + Below(999));
        continue;
      }
      const Station& partner = stations_[side.partner];
      std::string sent;
      if (const auto known = sentIn.find({side.qso, side.partner}); known != sentIn.end())
        sent = known->second;
      else
        sent = "599 " + (partner.letter.empty() ? std::to_string(1 + Below(999)) : partner.letter);
      side.received = sent;
      if (side.verdict == "unreadable") side.received.clear();
      if (side.copiesExchangeWrongly) {
        side.received = sent.back() == 'Z' ? "599 B" : sent.substr(0, sent.size() - 1) + "Z";
        if (side.verdict == "busted-exchange") side.detail = sent;
      }
    }
  }

  std::vector<SimulatedLog> Logs() {
    std::vector<SimulatedLog> logs(shape_.logs);
    for (std::size_t i = 0; i < shape_.logs; ++i) {
      logs[i].call = stations_[i].call;
      logs[i].clockOffset = stations_[i].clockOffset;
    }
    // Who else holds each call a station worked, for lines with stations that send no log.
    std::map<std::string, std::set<std::size_t>> holders;
    for (const Side& side : sides_) holders[side.loggedCall].insert(side.station);
    for (const Side& side : sides_) {
      SimulatedQso qso{
          side.loggedCall, side.band,     side.minute + stations_[side.station].clockOffset,
          side.sent,       side.received, side.verdict,
          side.detail};
      if (side.partner != SIZE_MAX && !stations_[side.partner].sendsLog)
        qso.verdict = holders[side.loggedCall].size() > 1 ? "unchecked" : "unique";
      logs[side.station].qsos.push_back(std::move(qso));
    }
    return logs;
  }

  const std::int64_t kStart = *UtcMinuteOf("202612050000");

  ContestShape shape_;
  std::mt19937_64 random_;
  std::vector<Station> stations_;
  std::unordered_set<std::string> taken_;     // calls of stations and uniques
  std::unordered_set<std::string> variants_;  // calls busted
  std::vector<Side> sides_;
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

std::vector<SimulatedLog> SimulateContest(const ContestShape& shape) {
  return Generator(shape).Run();
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
