#include "core/logfile/CountryFile.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace zeltra {
namespace {

constexpr std::size_t kHeadingFields = 8;

// The exact calls' hash: FNV-1a, 64 bits, quick over a call's few bytes.
std::uint64_t CallHash(std::string_view call) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : call) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  return hash;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  while (true) {
    const std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

// The entry's call or prefix, and its continent override if it has one.
std::pair<std::string, std::string> EntryOf(std::string_view entry) {
  std::string name;
  std::string continent;
  for (std::size_t i = 0; i < entry.size(); ++i) {
    const char c = entry[i];
    const char close = c == '('   ? ')'
                       : c == '[' ? ']'
                       : c == '<' ? '>'
                       : c == '{' ? '}'
                       : c == '~' ? '~'
                                  : 0;
    if (close == 0) {
      name += AsciiUpper(c);
      continue;
    }
    const std::size_t end = entry.find(close, i + 1);
    if (end == std::string_view::npos) break;
    if (c == '{') continent = AsciiUpper(entry.substr(i + 1, end - i - 1));
    i = end;
  }
  return {name, continent};
}

// Suffixes that say how or where a station works, not in which country:
// portable, mobile, maritime and aeronautical mobile, rover, alternative
// and second locations, low power, lighthouse.
constexpr std::array<std::string_view, 10> kStationSuffixes = {"P", "M", "MM",  "AM",   "R",
                                                               "A", "B", "QRP", "QRPP", "LH"};

bool IsPortableSuffix(std::string_view part) {
  return std::find(kStationSuffixes.begin(), kStationSuffixes.end(), part) !=
             kStationSuffixes.end() ||
         (part.size() == 1 && part[0] >= '0' && part[0] <= '9');
}

}  // namespace

CountryFile CountryFile::Parse(std::string_view text) {
  CountryFile file;
  std::size_t lineNumber = 0;
  bool inCountry = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    line = TrimControlAndBlank(line);
    if (line.empty()) continue;
    if (!inCountry) {
      const auto fields = Split(line, ':');
      if (fields.size() < kHeadingFields)
        throw std::runtime_error("Country file line " + std::to_string(lineNumber) +
                                 ": not a country heading");
      std::string prefix(TrimControlAndBlank(fields[7]));
      if (!prefix.empty() && prefix.front() == '*') prefix.erase(0, 1);
      const auto id = static_cast<std::uint32_t>(file.countries_.size());
      file.countries_.push_back({std::string(TrimControlAndBlank(fields[0])),
                                 {prefix, AsciiUpper(TrimControlAndBlank(fields[3]))}});
      file.byName_.try_emplace(file.countries_.back().name, id);
      inCountry = true;
      continue;
    }
    const bool last = line.back() == ';';
    if (last) line.remove_suffix(1);
    const auto id = static_cast<std::uint32_t>(file.countries_.size() - 1);
    for (std::string_view item : Split(line, ',')) {
      item = TrimControlAndBlank(item);
      if (item.empty()) continue;
      const bool exact = item.front() == '=';
      if (exact) item.remove_prefix(1);
      auto [name, continent] = EntryOf(item);
      if (name.empty()) continue;
      if (exact) {
        file.exactCalls_.try_emplace(name, Entry{id, continent});
      } else {
        file.longestPrefix_ = std::max(file.longestPrefix_, name.size());
        file.prefixes_.try_emplace(std::move(name), Entry{id, continent});
      }
    }
    if (last) inCountry = false;
  }
  if (file.countries_.empty()) throw std::runtime_error("no country in it");
  std::size_t slots = 16;
  while (slots < 2 * file.exactCalls_.size()) slots *= 2;
  file.exactSlots_.assign(slots, 0);
  for (const auto& exact : file.exactCalls_) {
    const std::uint64_t hash = CallHash(exact.first);
    auto at = static_cast<std::size_t>(hash & (slots - 1));
    while (file.exactSlots_[at] != 0) at = (at + 1) & (slots - 1);
    file.exactEntries_.emplace_back(exact);
    file.exactSlots_[at] =
        ((hash >> 32) << 32) | file.exactEntries_.size();
  }
  for (const auto& [prefix, entry] : file.prefixes_) {
    if (!PrefixTrie::Holds(prefix)) {
      file.oddPrefixes_ = true;
      continue;
    }
    file.prefixTrie_.Insert(prefix, static_cast<std::uint32_t>(file.trieEntries_.size()));
    file.trieEntries_.push_back(entry);
  }
  return file;
}

const CountryFile::Entry* CountryFile::ExactCall(std::string_view call) const {
  const std::uint64_t hash = CallHash(call);
  const std::size_t mask = exactSlots_.size() - 1;
  const auto fingerprint = static_cast<std::uint32_t>(hash >> 32);
  for (auto at = static_cast<std::size_t>(hash & mask); exactSlots_[at] != 0; at = (at + 1) & mask) {
    const std::uint64_t slot = exactSlots_[at];
    if (static_cast<std::uint32_t>(slot >> 32) != fingerprint) continue;
    const auto& [exactCall, entry] = exactEntries_[static_cast<std::uint32_t>(slot) - 1];
    if (exactCall == call) return &entry;
  }
  return nullptr;
}

CountryOf CountryFile::Resolve(const Entry& entry) const {
  CountryOf where = countries_[entry.country].where;
  if (!entry.continent.empty()) where.continent = entry.continent;
  return where;
}

std::optional<CountryOf> CountryFile::Lookup(std::string_view callSign) const {
  // Upper-cased on the stack: a call is short.
  constexpr std::size_t kShortCall = 32;
  const std::string_view trimmed = TrimControlAndBlank(callSign);
  std::array<char, kShortCall> buffer{};
  std::string longer;
  std::string_view call;
  if (trimmed.size() <= buffer.size()) {
    std::transform(trimmed.begin(), trimmed.end(), buffer.begin(),
                   [](char c) { return AsciiUpper(c); });
    call = std::string_view(buffer.data(), trimmed.size());
  } else {
    longer = AsciiUpper(trimmed);
    call = longer;
  }
  if (const Entry* exact = ExactCall(call)) return Resolve(*exact);

  // The part that names the country: of "DL/SP9ABC" or "SP9ABC/DL" the
  // shorter one; portable suffixes do not count.
  std::string_view base;
  for (std::string_view rest = call; !rest.empty();) {
    const std::size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
    if (part.empty() || IsPortableSuffix(part)) continue;
    if (base.empty() || part.size() < base.size()) base = part;
  }
  if (!oddPrefixes_ || PrefixTrie::Holds(base)) {
    if (const auto found = prefixTrie_.LongestPrefixOf(base)) return Resolve(trieEntries_[*found]);
    return std::nullopt;
  }
  for (std::size_t length = std::min(base.size(), longestPrefix_); length > 0; --length) {
    const auto found = prefixes_.find(base.substr(0, length));
    if (found != prefixes_.end()) return Resolve(found->second);
  }
  return std::nullopt;
}

std::optional<CountryOf> CountryFile::ByName(std::string_view name) const {
  const auto found = byName_.find(TrimControlAndBlank(name));
  if (found == byName_.end()) return std::nullopt;
  return countries_[found->second].where;
}

}  // namespace zeltra
