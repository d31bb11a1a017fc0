#pragma once

#include <cstddef>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/logfile/AdifRecord.h"
#include "core/logfile/CabrilloReader.h"
#include "core/logfile/CountryFile.h"
#include "core/logscore/ContactList.h"
#include "core/logscore/LeftOutReason.h"
#include "core/logscore/ProblemKind.h"

namespace zeltra {

// Something wrong with one line or record of a log, or with the whole log.
struct LogProblem {
  std::size_t position;  // line (Cabrillo) or record (ADIF) number; 0: the whole log
  std::string message;
  ProblemKind kind;                               // what sort of problem, for a count by kind
  std::optional<PartOfLine> part = std::nullopt;  // a QSO line skipped: what it still says
};

// A contact that the log holds but the contest does not count.
struct LeftOutContact {
  std::size_t position;
  Contact contact;
  LeftOutReason reason;
  std::string when;  // UTC "YYYYMMDDHHMM" when a period or details are asked for
};

// What the log check needs of a contact beyond what scores it.
struct QsoDetails {
  std::string when;      // UTC "YYYYMMDDHHMM"; empty when the log does not say
  std::string sent;      // the exchange sent: Cabrillo's, or ADIF STX_STRING, else STX
  std::string received;  // as copied: the report, or ADIF RST_RCVD and SRX when no STATE
};

// What a Cabrillo header says of the station, for its results page:
// OPERATORS, CLUB and NAME (the first of each), and the SOAPBOX lines.
struct StationHeader {
  std::string operators;
  std::string club;
  std::string name;
  std::vector<std::string> soapbox;  // as many as fit in kLongestSoapbox bytes
  bool soapboxCut = false;           // more lines than those kept
};

// The most a log's SOAPBOX lines keep, together: a page of them, not a book.
inline constexpr std::size_t kLongestSoapbox = 16 * 1024;

// What a log file holds, as contacts ready to score.
struct LogContents {
  ContactList contacts;
  // With ReadOptions::keepDetails, each contact's details, in the same order.
  std::vector<QsoDetails> details;
  // Why contacts were left out, each reason with its count, in the order
  // first met; the contacts themselves only when ReadOptions::listLeftOut.
  std::vector<std::pair<LeftOutReason, std::size_t>> leftOutReasons;
  std::size_t leftOutCount = 0;
  std::vector<LeftOutContact> leftOut;
  // Lines or records not scored, and warnings on those scored all the
  // same: the first kKeptProblems of each are kept to be told, all counted.
  std::vector<LogProblem> skipped;
  std::vector<LogProblem> warnings;
  std::size_t skippedCount = 0;
  std::map<ProblemKind, std::size_t> warningsByKind;
  bool stopped = false;  // strict reading stopped at the first skipped one
  // Where the file could no longer be read, and why: what follows it is not
  // read (XML that is not well formed, say).
  std::optional<LogProblem> readingEnded;
  // The own station as the log names it, if it does; the call upper-cased.
  std::optional<std::string> ownCall;
  std::optional<std::string> ownCountry;  // ADIF MY_COUNTRY
  // Cabrillo's header: the categories, the claimed score, the contest it
  // names and the sender's address (each none when the header has none,
  // or an empty one).
  std::string categories;
  // CATEGORY and every CATEGORY-* tag, the first of each, as the header
  // gives them: at most kMostCategoryTags of them.
  std::vector<std::pair<std::string, std::string>> categoryTags;
  std::optional<std::string> claimedScore;
  std::optional<std::string> contest;
  std::optional<std::string> email;
  StationHeader station;
};

inline constexpr std::size_t kMostCategoryTags = 16;

// How many problems of each sort a log keeps to tell; a hostile file's
// millions are counted, not kept.
inline constexpr std::size_t kKeptProblems = 1000;

// The contest's mode: contacts in another are left out unless anyMode.
inline constexpr std::string_view kContestMode = "RTTY";

struct ReadOptions {
  const CountryFile* countries = nullptr;  // for contacts without CONT or COUNTRY
  bool strict = false;                     // stop at the first record that cannot be scored
  bool anyMode = false;                    // keep contacts in any mode
  bool anyBand = false;                    // keep contacts on bands outside the contest's
  bool listLeftOut = false;                // keep the contacts left out, not only their count
  bool keepDetails = false;                // keep each contact's time and exchanges
  // The contest period, UTC, as "YYYYMMDDHHMM": contacts before from, or
  // at or after to, are left out.
  std::optional<std::string> from;
  std::optional<std::string> to;
  // Cabrillo: the lines of the file before the stream's first, which a web
  // form's text takes.
  std::size_t linesBefore = 0;
};

// The longest text the plug-in's record holds; a longer one is scored cut,
// with a warning.
inline constexpr std::size_t kLongestRecordText = 255;

// Counts contacts of log left out for reason (one, unless told):
// leftOutCount, and the reason's count in leftOutReasons, found through
// places (each reason's place there, kept by the caller from one contact
// to the next, so that a log of a thousand modes finds each reason by a
// look-up, not a walk).
void CountLeftOut(LogContents& log, const LeftOutReason& reason,
                  std::map<LeftOutReason, std::size_t>& places, std::size_t count = 1);

// ADIF (or ADX) records: the band from BAND, else FREQ (a disagreement, or
// an unreadable FREQ beside a valid BAND, is a warning); the received
// report from SRX_STRING, else RST_RCVD and STATE; the continent and DXCC
// prefix from CONT and COUNTRY, else from the call sign.
LogContents ReadAdifLog(AdifRecordSource& records, const ReadOptions& options);

// Cabrillo: the band from the frequency, the received exchange as the
// report, the continent and DXCC prefix from the call sign.
LogContents ReadCabrilloLog(std::istream& in, const ReadOptions& options);

}  // namespace zeltra
