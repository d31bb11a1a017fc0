#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/logfile/PrefixTrie.h"
#include "core/text/Ascii.h"
#include "core/text/TextHash.h"

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
  std::optional<CountryOf> Lookup(std::string_view callSign) const;

  // The country of this name (as ADIF COUNTRY names it), matched without
  // regard to letter case.
  std::optional<CountryOf> ByName(std::string_view name) const;

  std::size_t size() const { return countries_.size(); }

 private:
  struct Entry {
    std::uint32_t country;
    std::string continent;  // empty: the country's own
  };
  CountryOf Resolve(const Entry& entry) const;

  struct Country {
    std::string name;
    CountryOf where;
  };
  std::vector<Country> countries_;
  // Looked up by std::string_view without building a string.
  using EntryMap = std::unordered_map<std::string, Entry, TextHash, std::equal_to<>>;
  EntryMap exactCalls_;
  EntryMap prefixes_;
  // The prefixes again, as a tree walked once per call; prefixes with a
  // character the tree cannot hold are looked up in prefixes_ instead.
  // The exact calls again, in one flat table probed in place: most calls
  // are none of them, and an empty slot says so in one read. A slot holds
  // the hash's high half and the entry's number plus one; 0 is empty.
  const Entry* ExactCall(std::string_view call) const;
  std::vector<std::uint64_t> exactSlots_;
  std::vector<std::pair<std::string, Entry>> exactEntries_;
  std::vector<Entry> trieEntries_;
  PrefixTrie prefixTrie_;
  bool oddPrefixes_ = false;
  std::unordered_map<std::string, std::uint32_t, AsciiCaseInsensitiveHash,
                     AsciiCaseInsensitiveEqual>
      byName_;
  std::size_t longestPrefix_ = 0;
};

}  // namespace zeltra
