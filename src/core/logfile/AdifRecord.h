#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The field of this name, in any letter case; none for a field not read.
std::optional<AdifField> AdifFieldNamed(std::string_view name);

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
