#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/logfile/PrefixTrie.h"
#include "core/text/Ascii.h"

namespace zeltra {

// Where a call sign is: its country's primary prefix (as a log's DXCC
// prefix column holds it) and its continent.
struct CountryOf {
  std::string dxccPrefix;
  std::string continent;
  bool operator==(const CountryOf&) const = default;
};

// A country file in the cty.dat format: for each country a heading line
// "Name: CQ zone: ITU zone: continent: latitude: longitude: UTC offset:
// primary prefix:" and then its prefixes and calls, comma-separated, ended
// by ";". An entry "=CALL" is that exact call; others are prefixes. An
// entry's overrides "(cq)", "[itu]", "<lat/long>", "{continent}" and "~utc~"
// follow it; of these only the continent matters here.
class CountryFile {
 public:
  // Throws std::runtime_error naming the line that is not of the format,
  // or saying that the text holds no country.
  static CountryFile Parse(std::string_view text);

  // The exact call when the file lists it; otherwise the longest prefix of
  // the call that the file lists. Suffixes that say how a station works
  // (/P, /M, /MM, /AM, /R, /A, /B, /QRP, /QRPP, /LH and a single digit)
  // are no part of the prefix; a prefix before or after
  // a "/" that is shorter than the call beside it is the one that counts.
  // None (nullptr) when the file does not place the call; the answer lives
  // as long as the file.
  const CountryOf* Lookup(std::string_view callSign) const;

  // The country of this name (as ADIF COUNTRY names it), matched without
  // regard to letter case.
  const CountryOf* ByName(std::string_view name) const;

  std::size_t size() const { return countryCount_; }

 private:
  void FileExactCalls(const std::unordered_map<std::string, std::uint32_t>& calls);
  const CountryOf* ExactCall(std::string_view call, std::uint64_t hash) const;

  // Where the file places a call: each country as its heading says, and
  // beside it one place for each entry that overrides its continent.
  // Entries, calls and names are numbers into it.
  std::vector<CountryOf> places_;
  std::size_t countryCount_ = 0;
  std::unordered_map<std::string, std::uint32_t, AsciiCaseInsensitiveHash,
                     AsciiCaseInsensitiveEqual>
      byName_;
  // The exact calls in one flat table probed in place. A slot holds the
  // hash's high half and the call's number in exactCalls_ plus one; 0 is
  // empty. Most calls are none of them: a bit table of two bits per exact
  // call, small enough to stay in the cache, says so before the table is
  // read.
  std::vector<std::pair<std::string, std::uint32_t>> exactCalls_;
  std::vector<std::uint64_t> exactSlots_;
  std::vector<std::uint64_t> exactFilter_;
  PrefixTrie prefixes_;
};

}  // namespace zeltra
