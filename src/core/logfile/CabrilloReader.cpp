#include "core/logfile/CabrilloReader.h"

#include <algorithm>
#include <array>
#include <map>

#include "core/logfile/BandPlan.h"
#include "core/text/Ascii.h"
#include "core/text/LineReader.h"
#include "core/text/UtcMinute.h"

namespace zeltra {
namespace {

// Frequency, mode, date, time, own call, one sent field, call, one received field.
constexpr std::size_t kFewestFields = 8;
constexpr std::size_t kBeforeOwnCall = 4;

constexpr std::array<std::string_view, 9> kCategoryOrder = {
    "CATEGORY-OPERATOR",    "CATEGORY-ASSISTED", "CATEGORY-BAND",
    "CATEGORY-MODE",        "CATEGORY-POWER",    "CATEGORY-STATION",
    "CATEGORY-TRANSMITTER", "CATEGORY-TIME",     "CATEGORY-OVERLAY"};

// The no-break space a word processor puts in, as UTF-8.
constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

// How many bytes of a blank start at text[at]: a blank, a tab or a
// no-break space separate words; 0 for none.
std::size_t BlankAt(std::string_view text, std::size_t at) {
  if (text[at] == ' ' || text[at] == '\t') return 1;
  if (text.substr(at, kNoBreakSpace.size()) == kNoBreakSpace) return kNoBreakSpace.size();
  return 0;
}

// The line's words, split at blanks, tabs and no-break spaces, in one pass.
std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  words.reserve(12);
  std::size_t i = 0;
  while (i < text.size()) {
    for (std::size_t blank; i < text.size() && (blank = BlankAt(text, i)) > 0;) i += blank;
    const std::size_t start = i;
    while (i < text.size() && BlankAt(text, i) == 0) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

bool IsDate(std::string_view text) {
  return text.size() == 10 && AllDigits(text.substr(0, 4)) && text[4] == '-' &&
         AllDigits(text.substr(5, 2)) && text[7] == '-' && AllDigits(text.substr(8, 2));
}

// A report with its nines sent cut, as "N": "5NN", "59N".
constexpr std::size_t kReportLength = 3;
bool IsCutReport(std::string_view text) {
  const auto nine = [](char c) { return c == '9' || c == 'N' || c == 'n'; };
  return text.size() == kReportLength && text[0] >= '1' && text[0] <= '5' && nine(text[1]) &&
         nine(text[2]);
}

// A call sign has letters and digits, at least one of each, and perhaps
// "/": a report ("599", "5NN"), a serial ("001") or a state ("CA") is none.
bool LooksLikeCall(std::string_view text) {
  if (IsCutReport(text)) return false;
  bool letter = false;
  bool digit = false;
  for (const char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
      letter = true;
    else if (c >= '0' && c <= '9')
      digit = true;
    else if (c != '/')
      return false;
  }
  return letter && digit;
}

// The call worked as the log has it: RTTY prints a call's figures as
// letters after a lost shift (SPOAHW for SP9AHW), and an operator may log
// a prefix alone (SP9); the check judges such a call, so it is read. A
// number (a report, a serial) or a short word (a state, "CA") is none.
constexpr std::size_t kShortestCallOfLetters = 4;
bool LooksLikeWorkedCall(std::string_view text) {
  if (LooksLikeCall(text)) return true;
  return text.size() >= kShortestCallOfLetters && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '/';
         });
}

bool IsTransmitterId(std::string_view text) {
  return text == "0" || text == "1";
}

// A transmitter id the log writes other than 0 or 1: a single figure.
bool IsOddTransmitterId(std::string_view text) {
  return text.size() == 1 && text[0] >= '2' && text[0] <= '9';
}

std::string Joined(const std::vector<std::string_view>& words, std::size_t from,
                   std::size_t count) {
  std::string joined;
  for (std::size_t i = from; i < from + count; ++i) {
    if (!joined.empty()) joined += ' ';
    joined += words[i];
  }
  return joined;
}

// The width of the exchange a line's field count suggests: own call, n
// sent fields, call, n received fields, perhaps a transmitter id.
std::size_t SuggestedWidth(std::size_t fieldsAfterTime) {
  return (fieldsAfterTime - 2) / 2;
}

struct QsoLine {
  std::size_t number;
  std::string text;
  std::size_t fields;  // its words
  bool endsInOddId;    // its last word is a transmitter id other than 0 or 1
};

}  // namespace

std::optional<std::string> CabrilloLog::Tag(std::string_view tag) const {
  for (const auto& [name, value] : header)
    if (name == tag) return value;
  return std::nullopt;
}

std::string CabrilloLog::Categories() const {
  std::vector<std::string_view> ordered;
  if (const auto it = std::find_if(header.begin(), header.end(),
                                   [](const auto& entry) { return entry.first == "CATEGORY"; });
      it != header.end() && !it->second.empty())
    ordered.push_back(it->second);
  for (const std::string_view tag : kCategoryOrder)
    for (const auto& [name, value] : header)
      if (name == tag && !value.empty()) {
        ordered.push_back(value);
        break;
      }
  // Other CATEGORY-* keys are no category of the contest: a log of many
  // such lines would make every row of the results as wide as all of them.
  std::string categories;
  for (const std::string_view value : ordered) {
    if (!categories.empty()) categories += ' ';
    categories += value;
  }
  return categories;
}

namespace {

// The problems of one pass over the lines, found in line order: the first
// kKeptLineProblems kept, all counted.
struct ProblemList {
  std::vector<LineProblem> kept;
  std::size_t count = 0;
  void Add(LineProblem problem) {
    if (count++ < kKeptLineProblems) kept.push_back(std::move(problem));
  }
};

std::string TooFewFields(std::size_t fields) {
  return "QSO line has " + std::to_string(fields) + " fields, fewer than " +
         std::to_string(kFewestFields);
}

// The QSO lines as the file has them, and how many there were (those
// too short to read are told at once, not kept).
struct QsoLines {
  std::vector<QsoLine> readable;
  std::size_t count = 0;
};

// The header's tags and the QSO lines; a line too long, or a QSO line of
// too few fields, is told and skipped.
QsoLines ReadLines(std::istream& in, std::size_t firstLine, CabrilloLog& log,
                   ProblemList& problems) {
  QsoLines qsoLines;
  LineReader lines(in, kLongestCabrilloLine, firstLine);
  std::string line;
  for (LineReader::Result result; (result = lines.Next(line)) != LineReader::Result::kEnd;) {
    const std::size_t number = lines.number();
    if (result == LineReader::Result::kTooLong) {
      problems.Add({number, "line longer than " + std::to_string(kLongestCabrilloLine) + " bytes"});
      continue;
    }
    std::string_view text = TrimControlAndBlank(line);
    if (number == firstLine && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string tag = AsciiUpper(TrimControlAndBlank(text.substr(0, colon)));
    const std::string_view rest = text.substr(colon + 1);
    if (tag == "END-OF-LOG") break;
    if (tag == "X-QSO" || tag == "START-OF-LOG") continue;
    if (tag == "QSO") {
      const std::vector<std::string_view> words = Words(rest);
      ++qsoLines.count;
      if (words.size() < kFewestFields)
        problems.Add({number, TooFewFields(words.size())});
      else
        qsoLines.readable.push_back(
            {number, std::string(rest), words.size(), IsOddTransmitterId(words.back())});
    } else {
      log.header.emplace_back(tag, std::string(TrimControlAndBlank(rest)));
    }
  }
  return qsoLines;
}

// The columns the log's QSO lines have, learnt from all of them.
struct Columns {
  std::size_t exchangeFields = 0;  // the one most lines suggest
  // Most lines end in one odd transmitter id (2, say): that column is read
  // as an id, not taken for an exchange.
  bool oddIdsEverywhere = false;
};

Columns LearnColumns(const QsoLines& qsoLines) {
  Columns columns;
  std::map<std::size_t, std::size_t> widths;
  for (const QsoLine& qso : qsoLines.readable)
    ++widths[SuggestedWidth(qso.fields - kBeforeOwnCall)];
  for (const auto& [width, lineCount] : widths)
    if (columns.exchangeFields == 0 || lineCount > widths[columns.exchangeFields])
      columns.exchangeFields = width;
  std::size_t oddIds = 0;
  for (const QsoLine& qso : qsoLines.readable)
    if (qso.fields == kBeforeOwnCall + 2 * columns.exchangeFields + 3 && qso.endsInOddId) ++oddIds;
  columns.oddIdsEverywhere = oddIds * 2 > qsoLines.count;
  return columns;
}

// A QSO line's words and what its first fields say once they are sound:
// its band and its time, "YYYYMMDDHHMM".
struct LineStart {
  std::size_t number = 0;
  std::vector<std::string_view> words;
  std::string_view band;
  std::string when;
};

// The line's frequency, date and time checked; none, told, when one of
// them is not sound.
std::optional<LineStart> ReadLineStart(const QsoLine& qso, ProblemList& problems) {
  LineStart start{.number = qso.number, .words = Words(qso.text), .band = {}, .when = {}};
  const std::vector<std::string_view>& words = start.words;
  const auto problem = [&](std::string message) {
    problems.Add({qso.number, std::move(message)});
    return std::nullopt;
  };
  const auto band = BandOfCabrilloFrequency(words[0]);
  if (!band) return problem("frequency \"" + std::string(words[0]) + "\" is not one");
  if (!IsDate(words[2]))
    return problem("date \"" + std::string(words[2]) + "\" is not one (YYYY-MM-DD)");
  if (words[3].size() != 4 || !AllDigits(words[3]))
    return problem("time \"" + std::string(words[3]) + "\" is not one (HHMM)");
  start.band = *band;
  start.when = std::string(words[2].substr(0, 4)) + std::string(words[2].substr(5, 2)) +
               std::string(words[2].substr(8, 2)) + std::string(words[3]);
  return start;
}

// A problem of a line whose frequency, date and time are sound: it still
// says when and on what band, and the call worked where one of its fields
// after the own call is one.
void TellPartly(const LineStart& start, std::string message, ProblemList& problems) {
  PartOfLine part{.band = std::string(start.band), .when = start.when, .call = {}};
  for (std::size_t i = kBeforeOwnCall + 1; i < start.words.size() && part.call.empty(); ++i)
    if (LooksLikeCall(start.words[i])) part.call = AsciiUpper(start.words[i]);
  if (!part.call.empty() && UtcMinuteOf(part.when))
    problems.Add({start.number, std::move(message), std::move(part)});
  else
    problems.Add({start.number, std::move(message)});
}

// Where the call worked is in a line of the log's width; none, told, when
// the line cannot be read as the log's other lines are.
std::optional<std::size_t> CallColumn(const LineStart& start, const Columns& columns,
                                      ProblemList& problems) {
  const std::vector<std::string_view>& words = start.words;
  const std::size_t width = columns.exchangeFields;
  const std::size_t after = words.size() - kBeforeOwnCall;
  const bool plain = after == 2 * width + 2;
  const bool idColumn = after == 2 * width + 3;
  const bool withTransmitter =
      idColumn && (IsTransmitterId(words.back()) ||
                   (columns.oddIdsEverywhere && IsOddTransmitterId(words.back())));
  if (idColumn && !withTransmitter && IsOddTransmitterId(words.back())) {
    TellPartly(start,
               "transmitter id \"" + std::string(words.back()) +
                   "\" is not 0 or 1, and the log's other lines have no such column",
               problems);
    return std::nullopt;
  }
  const std::size_t callAt = kBeforeOwnCall + 1 + width;
  if ((!plain && !withTransmitter) || !LooksLikeCall(words[kBeforeOwnCall]) ||
      !LooksLikeWorkedCall(words[callAt])) {
    TellPartly(start,
               "QSO line cannot be read as the log's other lines are (own call, " +
                   std::to_string(width) + " sent field" + (width == 1 ? "" : "s") + ", call, " +
                   std::to_string(width) + " received field" + (width == 1 ? "" : "s") + ")",
               problems);
    return std::nullopt;
  }
  return callAt;
}

// One QSO line read in the log's columns; none, told, when it cannot be.
std::optional<CabrilloQso> ReadQsoLine(const QsoLine& qso, const Columns& columns,
                                       ProblemList& problems) {
  std::optional<LineStart> start = ReadLineStart(qso, problems);
  if (!start) return std::nullopt;
  const std::optional<std::size_t> callAt = CallColumn(*start, columns, problems);
  if (!callAt) return std::nullopt;
  const std::vector<std::string_view>& words = start->words;
  if (!UtcMinuteOf(start->when)) {
    problems.Add({qso.number, "\"" + std::string(words[2]) + " " + std::string(words[3]) +
                                  "\" is no date and time"});
    return std::nullopt;
  }
  const std::size_t width = columns.exchangeFields;
  CabrilloQso read;
  read.line = qso.number;
  read.band = start->band;
  read.mode = AsciiUpper(words[1]) == "RY" ? "RTTY" : AsciiUpper(words[1]);
  read.when = std::move(start->when);
  read.myCall = AsciiUpper(words[kBeforeOwnCall]);
  read.sent = Joined(words, kBeforeOwnCall + 1, width);
  read.call = std::string(words[*callAt]);
  read.received = Joined(words, kBeforeOwnCall + 2 + width, width);
  return read;
}

// A warning when QSO lines give an own call other than the header's
// CALLSIGN: at the first such line, with how many there are.
void WarnOfOtherOwnCalls(CabrilloLog& log) {
  const std::string ownCall = AsciiUpper(log.Tag("CALLSIGN").value_or(""));
  if (ownCall.empty()) return;
  const CabrilloQso* first = nullptr;
  std::size_t others = 0;
  for (const CabrilloQso& qso : log.qsos)
    if (qso.myCall != ownCall && others++ == 0) first = &qso;
  if (others == 0) return;
  log.warnings.push_back(
      {first->line,
       "own call " + first->myCall + " is not the header's CALLSIGN " + ownCall +
           (others > 1 ? " (" + std::to_string(others) + " lines have another own call)" : "")});
}

}  // namespace

CabrilloLog ReadCabrillo(std::istream& in, std::size_t firstLine) {
  CabrilloLog log;
  ProblemList lineProblems;
  const QsoLines qsoLines = ReadLines(in, firstLine, log, lineProblems);
  const Columns columns = LearnColumns(qsoLines);
  log.exchangeFields = columns.exchangeFields;
  ProblemList qsoProblems;
  for (const QsoLine& qso : qsoLines.readable)
    if (std::optional<CabrilloQso> read = ReadQsoLine(qso, columns, qsoProblems))
      log.qsos.push_back(std::move(*read));
  // Each pass's first problems, merged: the log's first problems.
  log.problems = std::move(lineProblems.kept);
  log.problems.insert(log.problems.end(), std::make_move_iterator(qsoProblems.kept.begin()),
                      std::make_move_iterator(qsoProblems.kept.end()));
  std::stable_sort(log.problems.begin(), log.problems.end(),
                   [](const LineProblem& a, const LineProblem& b) { return a.line < b.line; });
  if (log.problems.size() > kKeptLineProblems) log.problems.resize(kKeptLineProblems);
  log.problemCount = lineProblems.count + qsoProblems.count;
  WarnOfOtherOwnCalls(log);
  return log;
}

}  // namespace zeltra
