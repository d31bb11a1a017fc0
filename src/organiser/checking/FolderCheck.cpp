#include "organiser/checking/FolderCheck.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "core/crosscheck/LineFitness.h"
#include "core/crosscheck/LogCheck.h"
#include "core/crosscheck/LogLines.h"
#include "core/crosscheck/StationLogs.h"
#include "core/crosscheck/WhatStays.h"
#include "core/parallel/RunInOrder.h"
#include "core/scoring/ContestRules.h"
#include "core/text/Ascii.h"
#include "core/text/UtcMinute.h"
#include "organiser/checking/CheckedLog.h"
#include "organiser/checking/OwnVoivodeship.h"
#include "organiser/files/FileNames.h"
#include "organiser/reading/LogFolder.h"
#include "organiser/reading/OwnStationChoice.h"
#include "organiser/scoring/ContactRows.h"
#include "organiser/scoring/LogScorer.h"

namespace zeltra::organiser {
namespace {

namespace fs = std::filesystem;

// A log read and made ready for the check, on whichever thread read it.
struct LogForCheck {
  ScoredFile scored;
  std::string notChecked;  // why a scored log cannot take part; empty when it can
  std::optional<LogLines> lines;
  std::vector<LineNotChecked> unfit;  // scored lines the check cannot judge
  OwnStation own;
  std::optional<char> voivodeship;  // a Polish station's
};

// Why a scored line cannot be judged, said after where it is; adif: the
// log is ADIF, whose fields are named.
std::string UnfitText(Unfit unfit, const QsoDetails& details, bool adif) {
  switch (unfit) {
    case Unfit::kNoTime:
      return " has no date and time";
    case Unfit::kBadTime:
      return ": " + details.when.substr(0, 8) + " " + details.when.substr(8) +
             " is no date and time";
    case Unfit::kNoSent:
      return std::string(" has no sent exchange") + (adif ? " (STX_STRING or STX)" : "");
    case Unfit::kNoReceived:
      return std::string(" has no received exchange") +
             (adif ? " (SRX_STRING, RST_RCVD, STATE or SRX)" : "");
    case Unfit::kNone:
      break;
  }
  return {};
}

// The log's lines for the check, each time read once; or why it has none.
// A line without its time or an exchange is not judged, but still tells
// whom the log worked where it says when; a log where that is so of more
// than half its lines is not checked at all: its logger wrote no
// exchanges or no times.
std::optional<LogLines> LinesForCheck(const LogResult& result, LogContents& contents,
                                      std::vector<LineNotChecked>& unfit, std::string& notChecked) {
  if (result.callSign.empty()) {
    notChecked = "the log names no own call";
    return std::nullopt;
  }
  LogLines lines(result.callSign);
  const std::size_t total = contents.contacts.size();
  std::vector<bool> judged(total);
  for (std::size_t i = 0; i < total; ++i) {
    const QsoDetails& details = contents.details[i];
    const std::optional<std::int64_t> minute = UtcMinuteOf(details.when);
    const Contact contact = contents.contacts.At(i);
    const std::size_t position = contents.contacts.PositionAt(i);
    const Unfit why =
        UnfitBecause(details.when, minute.has_value(), details.sent, details.received);
    if (why == Unfit::kNone) {
      lines.Add({.position = position,
                 .call = contact.callSign,
                 .band = contact.band,
                 .mode = contact.mode,
                 .minute = *minute,
                 .sent = details.sent,
                 .received = details.received});
      judged[i] = true;
      continue;
    }
    if (minute) lines.AddPart(position, contact.callSign, contact.band, *minute);
    unfit.push_back({.position = position,
                     .call = contact.callSign,
                     .band = contact.band,
                     .time = minute ? TimeText(*minute) : std::string(),
                     .verdict = kUnreadable,
                     .detail = result.positionWord + " " + std::to_string(position) +
                               UnfitText(why, details, result.positionWord == "record")});
  }
  if (!TakesPart(total, unfit.size())) {
    notChecked = unfit.front().detail;
    unfit.clear();
    return std::nullopt;
  }
  // The check's QSOs are the contacts judged, in their order.
  if (!unfit.empty()) {
    ContactList fit;
    for (std::size_t i = 0; i < total; ++i)
      if (judged[i]) fit.Add(contents.contacts.PositionAt(i), contents.contacts.At(i));
    contents.contacts = std::move(fit);
  }
  // Lines that could not be read whole still say, some of them, whom the
  // log worked on what band and when: evidence against a NIL.
  for (const LogProblem& skipped : contents.skipped)
    if (skipped.part)
      if (const auto minute = UtcMinuteOf(skipped.part->when))
        lines.AddPart(skipped.position, skipped.part->call, skipped.part->band, *minute);
  // So do lines the contest does not count: a QSO logged a minute after
  // the end on one side happened all the same.
  for (const LeftOutContact& left : contents.leftOut)
    if (const auto minute = UtcMinuteOf(left.when))
      lines.AddPart(left.position, left.contact.callSign, left.contact.band, *minute,
                    PartKind::kLeftOut);
  return lines;
}

// The lines that take no part: those the check cannot judge (unfit), those
// that could not be read (as many as the reading kept) and those left out,
// in the order of the file.
std::vector<LineNotChecked> LinesNotChecked(const LogContents& contents,
                                            std::vector<LineNotChecked> lines) {
  for (const LogProblem& skipped : contents.skipped) {
    if (skipped.position == 0) continue;
    LineNotChecked line{.position = skipped.position,
                        .call = {},
                        .band = {},
                        .time = {},
                        .verdict = kUnreadable,
                        .detail = skipped.message};
    if (skipped.part) {
      line.call = skipped.part->call;
      line.band = skipped.part->band;
      if (const auto minute = UtcMinuteOf(skipped.part->when)) line.time = TimeText(*minute);
    }
    lines.push_back(std::move(line));
  }
  for (const LeftOutContact& left : contents.leftOut) {
    const std::optional<std::int64_t> minute = UtcMinuteOf(left.when);
    lines.push_back({.position = left.position,
                     .call = left.contact.callSign,
                     .band = left.contact.band,
                     .time = minute ? TimeText(*minute) : std::string(),
                     .verdict = kLeftOut,
                     .detail = LeftOutText(left.reason)});
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const auto& a, const auto& b) { return a.position < b.position; });
  return lines;
}

LogForCheck ReadForCheck(const BatchSettings& settings, const CountryFile* countries,
                         const LogFile& file) {
  LogForCheck read{
      ScoreApart(settings, countries, file, true), {}, std::nullopt, {}, {}, std::nullopt};
  const std::optional<LogResult>& result = read.scored.result;
  if (!result || result->Failed()) return read;
  LogContents& contents = read.scored.contents;
  read.lines = LinesForCheck(*result, contents, read.unfit, read.notChecked);
  if (read.lines) {
    read.own = OwnStationFor(settings.station, &contents, countries);
    if (EqualsIgnoringAsciiCase(read.own.dxccPrefix, kPolandPrefix))
      read.voivodeship = OwnVoivodeshipOf(contents.details);
  }
  contents.details = {};
  return read;
}

// Every line of a log that takes no part because another log of its
// station does, each with its row among the verdicts.
std::vector<LineNotChecked> LinesSetAside(const ContactList& contacts,
                                          std::vector<LineNotChecked> lines,
                                          const std::string& why) {
  for (std::size_t i = 0; i < contacts.size(); ++i) {
    const Contact contact = contacts.At(i);
    lines.push_back({.position = contacts.PositionAt(i),
                     .call = contact.callSign,
                     .band = contact.band,
                     .time = {},
                     .verdict = kLeftOut,
                     .detail = why});
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const auto& a, const auto& b) { return a.position < b.position; });
  return lines;
}

// Reads every log and puts each that can take part into the check as it
// comes, keeping only its contacts.
void ReadIntoCheck(const CheckSettings& checkSettings, const BatchSettings& settings,
                   const CountryFile* countries, Diagnostics& diagnostics, LogCheck& check,
                   std::vector<NotScored>& notScored, std::vector<CheckedLog>& logs) {
  const std::vector<LogFile> files =
      LogFiles({checkSettings.folder}, notScored, checkSettings.outputs);
  logs.reserve(files.size());
  // The logs are read on every core; each is taken in its turn.
  RunInOrder<LogForCheck>(
      files.size(), settings.jobs,
      [&](std::size_t i) { return ReadForCheck(settings, countries, files[i]); },
      [&](std::size_t i, LogForCheck&& read) {
        diagnostics.Progress(i, files.size(), NameOf(PathOf(files[i].name).filename()));
        diagnostics.Absorb(read.scored.told, read.scored.counts);
        if (!read.scored.result) {
          notScored.push_back({files[i].name, "not a log"});
          return;
        }
        CheckedLog& entry = logs.emplace_back();
        entry.log = std::move(*read.scored.result);
        if (entry.log.Failed()) return;
        entry.notChecked = std::move(read.notChecked);
        if (!entry.notChecked.empty()) {
          diagnostics.Warning(entry.log.file + ": not checked: " + entry.notChecked,
                              "logs not checked");
          return;
        }
        entry.own = read.own;
        entry.voivodeship = read.voivodeship;
        entry.notCheckedLines = LinesNotChecked(read.scored.contents, std::move(read.unfit));
        entry.contacts = std::move(read.scored.contents.contacts);
        // Of two logs of one station that overlap, the one written last
        // (the robot's export writes each at its upload's time) is checked.
        std::error_code error;
        const fs::file_time_type written = fs::last_write_time(PathOf(files[i].name), error);
        entry.checkIndex = check.AddLog(*read.lines, written.time_since_epoch().count());
      });
}

// The logs the check set aside because another log of their station,
// overlapping them in time, was written later, each said; answers what
// was said of them.
std::vector<std::string> SetAside(const LogCheck& check, std::vector<CheckedLog>& logs,
                                  Diagnostics& diagnostics) {
  std::vector<const CheckedLog*> byIndex(check.LogCount());
  for (const CheckedLog& entry : logs)
    if (entry.checkIndex) byIndex[*entry.checkIndex] = &entry;
  std::vector<std::string> overlapping;
  for (CheckedLog& entry : logs) {
    if (!entry.checkIndex) continue;
    const std::optional<std::size_t> instead = check.CheckedInstead(*entry.checkIndex);
    if (!instead) continue;
    entry.checkIndex.reset();
    const CheckedLog& kept = *byIndex[*instead];
    entry.notChecked =
        "another log of " + kept.log.callSign +
        ", overlapping it in time, was sent later and is checked: " + FileNameOf(kept.log.file);
    diagnostics.Warning(entry.log.file + ": not checked: " + entry.notChecked, "logs not checked");
    overlapping.push_back(entry.log.file + " overlaps " + kept.log.file +
                          ", which was sent later and is checked");
    entry.notCheckedLines = LinesSetAside(
        entry.contacts, std::move(entry.notCheckedLines),
        "another log of " + kept.log.callSign + " is checked: " + FileNameOf(kept.log.file));
  }
  return overlapping;
}

// The contacts as the scorer is to count them: a station worked again
// after the rework time is a new QSO, which the scorer would take for a
// duplicate, so its call is marked apart ("SP1AAA#2") for the replay.
ContactList CountedApart(const ContactList& contacts, const std::vector<bool>& stays) {
  ContactList counted;
  std::map<std::string, std::size_t> worked;  // call, band and mode
  for (std::size_t i = 0; i < contacts.size(); ++i) {
    Contact contact = contacts.At(i);
    if (stays[i]) {
      const std::size_t times =
          ++worked[contact.callSign + '\n' + contact.band + '\n' + contact.mode];
      if (times > 1) contact.callSign += "#" + std::to_string(times);
    }
    counted.Add(contacts.PositionAt(i), contact);
  }
  return counted;
}

// The contacts as replayed: where stations may be worked again, those
// worked again marked apart.
LogScore ReplayWhatStays(const ContactList& contacts, const std::vector<bool>& stays,
                         const CheckSettings& settings, const OwnStation& own) {
  const auto kept = [&](std::uint32_t i) { return stays[i]; };
  if (settings.rules.reworkMinutes) {
    const ContactList counted = CountedApart(contacts, stays);
    return ReplayContacts(counted, counted.ByCallSign().Only(kept), own);
  }
  return ReplayContacts(contacts, contacts.ByCallSign().Only(kept), own);
}

// What the check left of a log: its lines counted by verdict, and the QSOs
// that stay scored by the plug-in's rules. Answers which stay.
std::vector<bool> ScoreWhatStays(CheckedLog& entry, const LogCheck& check,
                                 const CheckSettings& settings) {
  const ScoringRules& rules = settings.scores;
  const std::size_t index = *entry.checkIndex;
  std::vector<bool> stays(check.QsoCount(index));
  const std::optional<std::string_view> categoryBand = entry.log.declared.SingleBand();
  for (std::size_t i = 0; i < stays.size(); ++i) {
    const Verdict verdict = check.QsoVerdict(index, i);
    ++entry.counts[static_cast<std::size_t>(verdict)];
    stays[i] = Stays(verdict, rules);
    // A single-band entrant's QSOs on other bands count nothing; they stay
    // evidence for the other logs all the same.
    if (categoryBand && verdict != Verdict::kDupe && entry.contacts.At(i).band != *categoryBand) {
      stays[i] = false;
      ++entry.offCategoryBand;
    }
    if (const std::int64_t penalty = PenaltyTimes(verdict, rules); penalty > 0) {
      const Contact contact = entry.contacts.At(i);
      const std::int64_t points = penalty * PointsFor(contact.dxccPrefix, contact.continent,
                                                      entry.own.dxccPrefix, entry.own.continent);
      (IsBusted(verdict) ? entry.bustedPenaltyPoints : entry.nilPenaltyPoints) += points;
      entry.penaltyPoints += points;
    }
  }
  entry.checked = ReplayWhatStays(entry.contacts, stays, settings, entry.own);
  entry.clockOffset = check.ClockOffset(index);
  return stays;
}

// A station's logs checked as one are one entrant: the first in time takes
// the station's figures, its QSOs of every log scored together (a station
// worked in both counts once, as in one log), and names the others.
void JoinStations(const LogCheck& check, const CheckSettings& settings,
                  std::vector<CheckedLog>& logs, const std::vector<std::vector<bool>>& stays) {
  std::vector<std::size_t> byIndex(check.LogCount(), SIZE_MAX);
  for (std::size_t i = 0; i < logs.size(); ++i)
    if (logs[i].checkIndex) byIndex[*logs[i].checkIndex] = i;
  std::vector<std::size_t> firsts;
  for (CheckedLog& entry : logs) {
    if (!entry.checkIndex) continue;
    const std::size_t first = byIndex[check.FirstOfStation(*entry.checkIndex)];
    if (first == SIZE_MAX || &logs[first] == &entry) continue;
    entry.joinedTo = &logs[first];
    if (logs[first].joined.empty()) firsts.push_back(first);
    logs[first].joined.push_back(&entry);
  }
  for (const std::size_t first : firsts) {
    CheckedLog& station = logs[first];
    ContactList contacts;
    std::vector<bool> staying;
    const auto add = [&](const CheckedLog& log, const std::vector<bool>& logStays) {
      for (std::size_t i = 0; i < log.contacts.size(); ++i) {
        contacts.Add(log.contacts.PositionAt(i), log.contacts.At(i));
        staying.push_back(logStays[i]);
      }
    };
    add(station, stays[first]);
    for (const CheckedLog* other : station.joined) {
      add(*other, stays[static_cast<std::size_t>(other - logs.data())]);
      for (std::size_t verdict = 0; verdict < kVerdictNames.size(); ++verdict)
        station.counts[verdict] += other->counts[verdict];
      station.penaltyPoints += other->penaltyPoints;
      station.nilPenaltyPoints += other->nilPenaltyPoints;
      station.bustedPenaltyPoints += other->bustedPenaltyPoints;
      station.offCategoryBand += other->offCategoryBand;
      station.log.skipped += other->log.skipped;
      station.log.leftOut += other->log.leftOut;
    }
    station.checked = ReplayWhatStays(contacts, staying, settings, station.own);
    // Before the check, every QSO of the station's logs (of a single-band
    // entrant, those on its band).
    const std::optional<std::string_view> band = station.log.declared.SingleBand();
    station.log.score = ReplayContacts(contacts, contacts.ByCallSign().Only([&](std::uint32_t i) {
      return !band || contacts.At(i).band == *band;
    }),
                                       station.own);
  }
}

// Each call the organiser excluded keeps its logs out of the ranking; a
// call of no checked log is told, lest a typing error go unseen.
void Exclude(const std::map<std::string, std::string>& excluded, std::vector<CheckedLog>& logs,
             Diagnostics& diagnostics) {
  for (const auto& [call, reason] : excluded) {
    bool found = false;
    for (CheckedLog& log : logs)
      if (log.IsChecked() && EqualsIgnoringAsciiCase(log.log.callSign, call)) {
        log.excluded = reason;
        found = true;
      }
    if (!found) diagnostics.Error(call + " is to be excluded, but no log of that call was checked");
  }
}

}  // namespace

CheckOutcome CheckFolder(const CheckSettings& settings, const BatchSettings& batch,
                         const CountryFile* countries, LogCheck& check, Diagnostics& diagnostics) {
  CheckOutcome outcome;
  ReadIntoCheck(settings, batch, countries, diagnostics, check, outcome.notScored, outcome.logs);
  check.Run(batch.jobs);
  outcome.overlapping = SetAside(check, outcome.logs, diagnostics);
  std::vector<CheckedLog>& logs = outcome.logs;
  std::vector<std::vector<bool>> stays(logs.size());
  RunInOrder<std::vector<bool>>(
      logs.size(), batch.jobs,
      [&](std::size_t i) {
        return logs[i].checkIndex ? ScoreWhatStays(logs[i], check, settings) : std::vector<bool>();
      },
      [&](std::size_t i, std::vector<bool>&& staying) { stays[i] = std::move(staying); });
  JoinStations(check, settings, logs, stays);
  Exclude(settings.excluded, logs, diagnostics);
  return outcome;
}

}  // namespace zeltra::organiser
