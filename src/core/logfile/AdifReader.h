#pragma once

#include <array>
#include <cstddef>
#include <istream>
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
  kCount
};

// One ADIF record as read: its number in the file (1 for the first), the
// fields the scorer reads, and what was wrong with it.
struct AdifRecord {
  std::size_t number = 0;
  std::array<std::string, static_cast<std::size_t>(AdifField::kCount)> values;
  std::array<bool, static_cast<std::size_t>(AdifField::kCount)> present{};
  std::string error;                  // not empty: the record cannot be read
  std::vector<std::string> warnings;  // read all the same

  // The field's value; none when the record does not have it.
  std::optional<std::string_view> operator[](AdifField field) const {
    const auto index = static_cast<std::size_t>(field);
    if (!present[index]) return std::nullopt;
    return values[index];
  }
  // Empties the record, keeping its buffers for the next one.
  void Clear();
};

// Reads ADIF 3.1 (.adi) from a stream, a record at a time, in chunks, so
// that a file of any size costs only its longest record in memory. Fields
// are "<NAME:LENGTH[:TYPE]>data" with names in any letter case and the
// length counted in bytes, so data may hold line ends or ">". An optional
// header runs up to <EOH>; records end with <EOR>. A leading UTF-8
// byte-order mark is skipped; application (APP_...) and unknown fields are
// skipped; a field given twice keeps its first value, with a warning.
class AdifReader {
 public:
  explicit AdifReader(std::istream& in);

  // Reads the next record into record; false at the end of the file. A
  // record whose tag cannot be read comes back with its error and the
  // reader goes on after its <EOR>; a field running past the end of the
  // file ends the reading.
  bool Next(AdifRecord& record);

 private:
  // Makes at least count bytes from position_ available, if the file has
  // them; answers whether it has.
  bool Have(std::size_t count);
  // The offset from position_ of the next c, reading on as needed; none at
  // the end of the file.
  std::optional<std::size_t> Find(char c);
  void SkipToEndOfRecord();

  std::istream& in_;
  std::string buffer_;
  std::size_t position_ = 0;
  bool endOfFile_ = false;
  bool started_ = false;
  std::size_t records_ = 0;
};

}  // namespace zeltra
