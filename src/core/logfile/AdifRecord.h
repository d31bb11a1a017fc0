#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/Ascii.h"

namespace zeltra {

// The ADIF fields the scorer reads; every other field is skipped.
enum class AdifField : std::size_t {
  kCall,
  kBand,
  kFreq,
  kMode,
  kCont,
  kCountry,
  kSrxString,
  kRstRcvd,
  kState,
  kStationCallsign,
  kOperator,
  kMyCountry,
  kQsoDate,
  kTimeOn,
  kStxString,
  kStx,
  kSrx,
  kCount
};

// The fields' names, upper case, in the order of AdifField.
inline constexpr std::array<std::string_view, static_cast<std::size_t>(AdifField::kCount)>
    kAdifFieldNames = {"CALL",     "BAND",       "FREQ",     "MODE",    "CONT",
                       "COUNTRY",  "SRX_STRING", "RST_RCVD", "STATE",   "STATION_CALLSIGN",
                       "OPERATOR", "MY_COUNTRY", "QSO_DATE", "TIME_ON", "STX_STRING",
                       "STX",      "SRX"};

namespace adif_names {

// A name's length and first two bytes, upper case, in one number: the
// names read differ in it, so one comparison of numbers picks the only
// name a tag can be, and one comparison of texts settles it.
constexpr std::uint32_t ShortKey(std::string_view name) {
  const auto byte = [&](std::size_t i) {
    return i < name.size() ? std::uint32_t{static_cast<unsigned char>(AsciiUpper(name[i]))} : 0u;
  };
  return static_cast<std::uint32_t>(name.size() << 16) | (byte(0) << 8) | byte(1);
}

// The names' short keys spread over a small table by one multiplication,
// with a multiplier found when the program is built that leaves no two
// names in one slot: a tag's name is looked up with one read, whichever
// name it is, instead of a search through the names.
inline constexpr std::size_t kSlotBits = 6;
inline constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
inline constexpr std::uint8_t kNoField = 0xFF;

constexpr std::size_t SlotOf(std::uint32_t key, std::uint32_t multiplier) {
  return static_cast<std::uint32_t>(key * multiplier) >> (32 - kSlotBits);
}

struct FieldTable {
  std::uint32_t multiplier = 0;
  std::array<std::uint8_t, kSlots> fields{};
};

inline constexpr FieldTable kFieldTable = [] {
  for (std::uint32_t multiplier = 0x9E3779B1u;; multiplier += 2) {
    FieldTable table;
    table.multiplier = multiplier;
    table.fields.fill(kNoField);
    bool clash = false;
    for (std::size_t i = 0; i < kAdifFieldNames.size() && !clash; ++i) {
      std::uint8_t& slot = table.fields[SlotOf(ShortKey(kAdifFieldNames[i]), multiplier)];
      clash = slot != kNoField;
      slot = static_cast<std::uint8_t>(i);
    }
    if (!clash) return table;
  }
}();

}  // namespace adif_names

// The field of this name, in any letter case; none for a field not read.
// Inline: it is asked of every tag of a file.
inline std::optional<AdifField> AdifFieldNamed(std::string_view name) {
  if (name.size() > 0xFFFF) return std::nullopt;
  const std::uint8_t field = adif_names::kFieldTable.fields[adif_names::SlotOf(
      adif_names::ShortKey(name), adif_names::kFieldTable.multiplier)];
  // Most tags a logger writes are none of these: their slot is empty, or
  // holds another name.
  if (field == adif_names::kNoField || !EqualsIgnoringAsciiCase(kAdifFieldNames[field], name))
    return std::nullopt;
  return static_cast<AdifField>(field);
}

// The longest value a field may have. Real logs hold a few hundred bytes at
// most in a note; a longer value spoils its record, whatever length its
// tag claims, so that no claim sizes a buffer.
inline constexpr std::size_t kLongestAdifValue = 1 << 20;

// One ADIF record as read: its number in the file (1 for the first), the
// fields the scorer reads, and what was wrong with it.
struct AdifRecord {
  std::size_t number = 0;
  std::array<std::string, static_cast<std::size_t>(AdifField::kCount)> values;
  std::array<bool, static_cast<std::size_t>(AdifField::kCount)> present{};
  std::string error;                  // not empty: the record cannot be read
  bool endsReading = false;           // the error ended the file's reading here
  std::vector<std::string> warnings;  // read all the same

  // The field's value; none when the record does not have it.
  std::optional<std::string_view> operator[](AdifField field) const {
    const auto index = static_cast<std::size_t>(field);
    if (!present[index]) return std::nullopt;
    return values[index];
  }
  // Sets a field's value; a field given twice keeps its first value, with
  // a warning.
  void Set(AdifField field, std::string_view value);
  // Empties the record, keeping its buffers for the next one.
  void Clear();
};

// Where ADIF records come from: an .adi file or an .adx (XML) one.
class AdifRecordSource {
 public:
  virtual ~AdifRecordSource() = default;
  // Reads the next record into record; false at the end.
  virtual bool Next(AdifRecord& record) = 0;
};

}  // namespace zeltra
