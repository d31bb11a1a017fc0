#include "core/logfile/CabrilloReader.h"

#include "core/logfile/BandPlan.h"
#include "core/text/Ascii.h"

namespace zeltra {
namespace {

// Frequency, mode, date, time, own call, one sent field, call, one received field.
constexpr std::size_t kFewestFields = 8;

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  while (true) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return words;
    text.remove_prefix(start);
    const std::size_t end = std::min(text.find_first_of(" \t"), text.size());
    words.push_back(text.substr(0, end));
    text.remove_prefix(end);
  }
}

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool IsDate(std::string_view text) {
  return text.size() == 10 && AllDigits(text.substr(0, 4)) && text[4] == '-' &&
         AllDigits(text.substr(5, 2)) && text[7] == '-' && AllDigits(text.substr(8, 2));
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

}  // namespace

std::optional<std::string> CabrilloLog::Tag(std::string_view tag) const {
  for (const auto& [name, value] : header)
    if (name == tag) return value;
  return std::nullopt;
}

std::string CabrilloLog::Categories() const {
  std::string categories;
  for (const auto& [name, value] : header) {
    if (name.rfind("CATEGORY-", 0) != 0 || value.empty()) continue;
    if (!categories.empty()) categories += ' ';
    categories += value;
  }
  return categories;
}

CabrilloLog ReadCabrillo(std::istream& in) {
  CabrilloLog log;
  std::string line;
  std::size_t number = 0;
  while (std::getline(in, line)) {
    ++number;
    std::string_view text = TrimControlAndBlank(line);
    if (number == 1 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string tag = AsciiUpper(TrimControlAndBlank(text.substr(0, colon)));
    const std::string_view rest = text.substr(colon + 1);
    if (tag == "X-QSO" || tag == "END-OF-LOG" || tag == "START-OF-LOG") continue;
    if (tag != "QSO") {
      log.header.emplace_back(tag, std::string(TrimControlAndBlank(rest)));
      continue;
    }
    const auto words = Words(rest);
    const auto problem = [&](std::string message) {
      log.problems.push_back({number, std::move(message)});
    };
    if (words.size() < kFewestFields) {
      problem("QSO line has " + std::to_string(words.size()) + " fields, fewer than " +
              std::to_string(kFewestFields));
      continue;
    }
    const auto band = BandOfCabrilloFrequency(words[0]);
    if (!band) {
      problem("frequency \"" + std::string(words[0]) + "\" is not one");
      continue;
    }
    if (!IsDate(words[2])) {
      problem("date \"" + std::string(words[2]) + "\" is not one (YYYY-MM-DD)");
      continue;
    }
    if (words[3].size() != 4 || !AllDigits(words[3])) {
      problem("time \"" + std::string(words[3]) + "\" is not one (HHMM)");
      continue;
    }
    // Own call, n sent fields, call, n received fields, perhaps a transmitter id.
    const std::size_t after = words.size() - 4;
    const std::size_t exchange = (after - 2) / 2;
    CabrilloQso qso;
    qso.line = number;
    qso.band = *band;
    qso.mode = AsciiUpper(words[1]) == "RY" ? "RTTY" : AsciiUpper(words[1]);
    qso.myCall = std::string(words[4]);
    qso.call = std::string(words[5 + exchange]);
    qso.received = Joined(words, 6 + exchange, exchange);
    log.qsos.push_back(std::move(qso));
  }
  return log;
}

}  // namespace zeltra
