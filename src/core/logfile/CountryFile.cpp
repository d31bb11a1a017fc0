#include "core/logfile/CountryFile.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace zeltra {
namespace {

constexpr std::size_t kHeadingFields = 8;

// The exact calls' hash: the call eight bytes at a time, each word mixed
// in by a multiplication. The caller gathers the words, upper-cased.
class CallHash {
 public:
  explicit CallHash(std::size_t size) : hash_(size) {}
  void Add(std::uint64_t word) {
    hash_ = (hash_ ^ word) * 0x9e3779b97f4a7c15ULL;
    hash_ ^= hash_ >> 32;
  }
  std::uint64_t Value() const {
    const std::uint64_t hash = hash_ * 0xff51afd7ed558ccdULL;
    return hash ^ (hash >> 33);
  }

 private:
  std::uint64_t hash_;
};

// Upper-cases call into upper (of call's size) and answers its hash.
std::uint64_t UpperAndHash(std::string_view call, char* upper) {
  constexpr std::size_t kWord = sizeof(std::uint64_t);
  CallHash hash(call.size());
  std::uint64_t word = 0;
  for (std::size_t i = 0; i < call.size(); ++i) {
    const char c = AsciiUpper(call[i]);
    upper[i] = c;
    // Byte i of the word, whatever the machine's byte order.
    word |= std::uint64_t{static_cast<unsigned char>(c)} << (8 * (i % kWord));
    if (i % kWord == kWord - 1) {
      hash.Add(word);
      word = 0;
    }
  }
  if (call.size() % kWord != 0) hash.Add(word);
  return hash.Value();
}

// The exact-call filter: this many bits per exact call, two of them set
// for each; a call not listed finds both set about once in fifty.
constexpr std::size_t kFilterBitsPerCall = 8;
constexpr std::size_t kWordBits = 64;

std::pair<std::size_t, std::size_t> FilterBits(std::uint64_t hash, std::size_t bitCount) {
  const std::size_t mask = bitCount - 1;
  return {static_cast<std::size_t>(hash >> 20) & mask, static_cast<std::size_t>(hash >> 42) & mask};
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
  std::unordered_map<std::string, std::uint32_t> exactCalls;  // the first listing counts
  std::vector<PrefixTrie::Filing> prefixes;
  std::size_t lineNumber = 0;
  bool inCountry = false;
  std::uint32_t country = 0;  // the current country's place
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
      country = static_cast<std::uint32_t>(file.places_.size());
      file.places_.push_back({prefix, AsciiUpper(TrimControlAndBlank(fields[3]))});
      file.byName_.try_emplace(std::string(TrimControlAndBlank(fields[0])), country);
      ++file.countryCount_;
      inCountry = true;
      continue;
    }
    const bool last = line.back() == ';';
    if (last) line.remove_suffix(1);
    for (std::string_view item : Split(line, ',')) {
      item = TrimControlAndBlank(item);
      if (item.empty()) continue;
      const bool exact = item.front() == '=';
      if (exact) item.remove_prefix(1);
      auto [name, continent] = EntryOf(item);
      if (name.empty()) continue;
      std::uint32_t place = country;
      if (!continent.empty()) {
        place = static_cast<std::uint32_t>(file.places_.size());
        file.places_.push_back({file.places_[country].dxccPrefix, std::move(continent)});
      }
      if (exact)
        exactCalls.try_emplace(std::move(name), place);
      else
        prefixes.emplace_back(std::move(name), place);
    }
    if (last) inCountry = false;
  }
  if (file.countryCount_ == 0) throw std::runtime_error("no country in it");
  file.prefixes_ = PrefixTrie(std::move(prefixes));
  file.FileExactCalls(exactCalls);
  return file;
}

void CountryFile::FileExactCalls(const std::unordered_map<std::string, std::uint32_t>& calls) {
  std::size_t slots = 16;
  while (slots < 2 * calls.size()) slots *= 2;
  exactSlots_.assign(slots, 0);
  std::size_t filterBits = kWordBits;
  while (filterBits < kFilterBitsPerCall * calls.size()) filterBits *= 2;
  exactFilter_.assign(filterBits / kWordBits, 0);
  for (const auto& call : calls) {
    std::string upper(call.first.size(), '\0');
    const std::uint64_t hash = UpperAndHash(call.first, upper.data());
    auto at = static_cast<std::size_t>(hash & (slots - 1));
    while (exactSlots_[at] != 0) at = (at + 1) & (slots - 1);
    exactCalls_.emplace_back(call);
    exactSlots_[at] = ((hash >> 32) << 32) | exactCalls_.size();
    const auto [first, second] = FilterBits(hash, filterBits);
    exactFilter_[first / kWordBits] |= std::uint64_t{1} << (first % kWordBits);
    exactFilter_[second / kWordBits] |= std::uint64_t{1} << (second % kWordBits);
  }
}

const CountryOf* CountryFile::ExactCall(std::string_view call, std::uint64_t hash) const {
  const auto [first, second] = FilterBits(hash, exactFilter_.size() * kWordBits);
  if (((exactFilter_[first / kWordBits] >> (first % kWordBits)) &
       (exactFilter_[second / kWordBits] >> (second % kWordBits)) & 1) == 0)
    return nullptr;
  const std::size_t mask = exactSlots_.size() - 1;
  const auto fingerprint = static_cast<std::uint32_t>(hash >> 32);
  for (auto at = static_cast<std::size_t>(hash & mask); exactSlots_[at] != 0;
       at = (at + 1) & mask) {
    const std::uint64_t slot = exactSlots_[at];
    if (static_cast<std::uint32_t>(slot >> 32) != fingerprint) continue;
    const auto& [exactCall, place] = exactCalls_[static_cast<std::uint32_t>(slot) - 1];
    if (exactCall == call) return &places_[place];
  }
  return nullptr;
}

const CountryOf* CountryFile::Lookup(std::string_view callSign) const {
  // Upper-cased on the stack, a call being short, and hashed on the way.
  constexpr std::size_t kShortCall = 32;
  const std::string_view trimmed = TrimControlAndBlank(callSign);
  std::array<char, kShortCall> buffer;
  std::string longer;
  char* upper = buffer.data();
  if (trimmed.size() > buffer.size()) {
    longer.resize(trimmed.size());
    upper = longer.data();
  }
  const std::uint64_t hash = UpperAndHash(trimmed, upper);
  const std::string_view call(upper, trimmed.size());
  if (const CountryOf* exact = ExactCall(call, hash)) return exact;

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
  if (const auto found = prefixes_.LongestPrefixOf(base)) return &places_[*found];
  return nullptr;
}

const CountryOf* CountryFile::ByName(std::string_view name) const {
  const auto found = byName_.find(TrimControlAndBlank(name));
  if (found == byName_.end()) return nullptr;
  return &places_[found->second];
}

}  // namespace zeltra
