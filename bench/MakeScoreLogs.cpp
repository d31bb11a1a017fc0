// Writes the logs zeltra-score's benchmarks score: one large ADIF file, and
// a folder of Cabrillo logs, of a contest's mix of contacts.
//
//   make_score_logs adif FILE CONTACTS
//   make_score_logs rtty FILE CONTACTS
//   make_score_logs cabrillo FOLDER LOGS CONTACTS_EACH
//   make_score_logs contest FOLDER LOGS QSOS_EACH
//
// rtty is one station's ADIF log of the whole 48 hours, every record one
// the scorer counts: a date and time, a band, RTTY, the exchanges sent
// and received, as a contest logger writes them.
//
// A contest is the tests' simulated one: stations that work each other,
// both sides logging, with errors put in for the log check to find.
//
// Run: scripts/bench-score.sh

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ContactMix.h"
#include "support/SimulatedContest.h"

namespace {

std::string Field(const char* name, const std::string& value) {
  return "<" + std::string(name) + ":" + std::to_string(value.size()) + ">" + value;
}

// The mix's call sign made a plain one: its "/number" tail spelled as
// letters, so that every call is distinct and still looks like a call.
std::string PlainCall(const std::string& call) {
  const std::size_t slash = call.find('/');
  if (slash == std::string::npos) return call;
  std::size_t number = std::stoul(call.substr(slash + 1));
  std::string plain = call.substr(0, slash);
  do {
    plain += static_cast<char>('A' + number % 26);
    number /= 26;
  } while (number > 0);
  return plain;
}

std::string AdifBand(const std::string& band) {
  static const std::pair<const char*, const char*> kNames[] = {
      {"1.8", "160m"}, {"3.5", "80m"}, {"7", "40m"},  {"10", "30m"}, {"14", "20m"},
      {"18", "17m"},   {"21", "15m"},  {"24", "12m"}, {"28", "10m"}};
  for (const auto& [text, name] : kNames)
    if (band == text) return name;
  return "20m";
}

// A frequency inside the band, in kilohertz.
std::string Kilohertz(const std::string& band) {
  static const std::pair<const char*, const char*> kFrequencies[] = {
      {"1.8", "1840"}, {"3.5", "3580"}, {"7", "7040"},   {"10", "10140"}, {"14", "14080"},
      {"18", "18100"}, {"21", "21080"}, {"24", "24920"}, {"28", "28080"}};
  for (const auto& [text, kilohertz] : kFrequencies)
    if (band == text) return kilohertz;
  return "14080";
}

void WriteAdif(const std::string& path, std::size_t count) {
  std::ofstream out(path, std::ios::binary);
  out << "zeltra-score benchmark log <ADIF_VER:5>3.1.4 <EOH>\n";
  const auto contacts = zeltra::bench::MakeContactMix(count, 5);
  for (zeltra::Contact contact : contacts) {
    contact.callSign = PlainCall(contact.callSign);
    // Half the records say where the station is; the others leave it to the country file.
    const bool placed = contact.callSign.size() % 2 == 0;
    out << Field("CALL", contact.callSign) << Field("BAND", AdifBand(contact.band))
        << Field("MODE", contact.mode) << Field("SRX_STRING", contact.reportReceived)
        << Field("QSO_DATE", "20261206") << Field("TIME_ON", "1200");
    if (placed) out << Field("CONT", contact.continent);
    out << "<EOR>\n";
  }
}

void WriteRttyAdif(const std::string& path, std::size_t count) {
  constexpr std::size_t kContestSeconds = 48 * 3600;
  constexpr std::size_t kSecondsPerHour = 3600;
  constexpr std::size_t kSecondsPerMinute = 60;
  std::ofstream out(path, std::ios::binary);
  out << "Made for the scorer benchmark <ADIF_VER:5>3.1.4 <EOH>\n";
  const auto contacts = zeltra::bench::MakeContactMix(count, 7);
  char text[32];
  for (std::size_t i = 0; i < contacts.size(); ++i) {
    const zeltra::Contact& contact = contacts[i];
    const std::size_t second = i * kContestSeconds / contacts.size();
    std::snprintf(text, sizeof text, "%02zu%02zu%02zu", second / kSecondsPerHour % 24,
                  second / kSecondsPerMinute % 60, second % kSecondsPerMinute);
    const std::string time = text;
    std::snprintf(text, sizeof text, "599 %03zu", i + 1);
    out << Field("CALL", PlainCall(contact.callSign)) << Field("BAND", AdifBand(contact.band))
        << Field("MODE", "RTTY")
        << Field("QSO_DATE", second < kContestSeconds / 2 ? "20261205" : "20261206")
        << Field("TIME_ON", time) << Field("RST_SENT", "599") << Field("STX_STRING", text)
        << Field("SRX_STRING", contact.reportReceived) << "<EOR>\n";
  }
}

void WriteCabrillo(const std::string& folder, std::size_t logs, std::size_t each) {
  std::filesystem::create_directories(folder);
  for (std::size_t log = 0; log < logs; ++log) {
    std::ofstream out(std::filesystem::path(folder) / ("log" + std::to_string(log) + ".log"),
                      std::ios::binary);
    const std::string call = "SP" + std::to_string(log % 10) + "A" + std::to_string(log);
    out << "START-OF-LOG: 3.0\nCALLSIGN: " << call
        << "\nCONTEST: ZELTRA-RTTY\nCATEGORY-OPERATOR: SINGLE-OP\nCLAIMED-SCORE: " << log << "\n";
    for (zeltra::Contact contact :
         zeltra::bench::MakeContactMix(each, static_cast<unsigned>(log))) {
      contact.callSign = PlainCall(contact.callSign);
      out << "QSO: " << Kilohertz(contact.band) << " RY 2026-12-06 1200 " << call << " 599 001 "
          << contact.callSign << " " << contact.reportReceived << "\n";
    }
    out << "END-OF-LOG:\n";
  }
}

void WriteContest(const std::string& folder, std::size_t logs, std::size_t each) {
  std::filesystem::create_directories(folder);
  zeltra::test::SimulateContest(
      {.logs = logs,
       .silentStations = logs / 5,
       .qsosPerLog = each,
       .clocksOff = logs / 50,
       .errorShare = 0.01,
       .seed = 1},
      [&](zeltra::test::SimulatedLog&& log) {
        std::ofstream(std::filesystem::path(folder) / (log.name + ".log"), std::ios::binary)
            << zeltra::test::CabrilloText(log);
      });
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "adif" && argc == 4) {
    WriteAdif(argv[2], std::stoul(argv[3]));
  } else if (what == "rtty" && argc == 4) {
    WriteRttyAdif(argv[2], std::stoul(argv[3]));
  } else if (what == "cabrillo" && argc == 5) {
    WriteCabrillo(argv[2], std::stoul(argv[3]), std::stoul(argv[4]));
  } else if (what == "contest" && argc == 5) {
    WriteContest(argv[2], std::stoul(argv[3]), std::stoul(argv[4]));
  } else {
    std::fprintf(stderr,
                 "usage: make_score_logs adif FILE CONTACTS\n"
                 "       make_score_logs rtty FILE CONTACTS\n"
                 "       make_score_logs cabrillo FOLDER LOGS CONTACTS_EACH\n"
                 "       make_score_logs contest FOLDER LOGS QSOS_EACH\n");
    return 2;
  }
  return 0;
}
