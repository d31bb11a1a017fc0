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
  kMyDxcc,
  kCount
};

// One ADIF record as read: its number in the file (1 for the first), the
// fields the scorer reads, and what was wrong with it.
struct AdifRecord {
  std::size_t number = 0;
  std::array<std::optional<std::string>, static_cast<std::size_t>(AdifField::kCount)> fields;
  std::string error;                  // not empty: the record cannot be read
  std::vector<std::string> warnings;  // read all the same

  const std::optional<std::string>& operator[](AdifField field) const {
    return fields[static_cast<std::size_t>(field)];
  }
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

  // The next record, or none at the end of the file. A record whose tag
  // cannot be read comes back with its error and the reader goes on after
  // its <EOR>; a field running past the end of the file ends the reading.
  std::optional<AdifRecord> Next();

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
