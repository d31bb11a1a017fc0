#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>

#include "core/logfile/AdifRecord.h"

namespace zeltra {

// Reads ADIF 3.1 (.adi) from a stream, a record at a time, in chunks, so
// that a file of any size costs only its longest kept value in memory:
// fields the scorer does not read are passed over without being kept, and
// a length is never trusted before its bytes are there. Fields are
// "<NAME:LENGTH[:TYPE]>data" with names in any letter case and the length
// counted in bytes, so data may hold line ends or ">". An optional header
// runs up to <EOH>; records end with <EOR>. A leading UTF-8 byte-order mark
// is skipped; application (APP_...) and unknown fields are skipped; a field
// given twice keeps its first value, with a warning.
class AdifReader : public AdifRecordSource {
 public:
  // startsAt: where in the file the stream starts; one that starts past
  // the file's first byte has no byte-order mark to skip.
  explicit AdifReader(std::istream& in, std::uint64_t startsAt = 0);

  // Reads the next record into record; false at the end of the file. A
  // record whose tag cannot be read, whose kept value is longer than
  // kLongestAdifValue, or that holds a run of more than kLongestAdifValue
  // bytes without a tag, comes back with its error and the reader goes on
  // after its <EOR>; a field running past the end of the file ends the
  // reading.
  bool Next(AdifRecord& record) override;

  // Where in the file the reading stands: after a record, where the next
  // one's reading begins. Two readers of one file that each stand at the
  // same place after a record read the same records from there on.
  std::uint64_t Offset() const { return startsAt_ + dropped_ + position_; }

 private:
  // Makes at least count bytes from position_ available, if the file has
  // them; answers whether it has.
  bool Have(std::size_t count);
  // Moves to the next "<", dropping what comes before it (counted in
  // skipped_); false at the end of the file.
  bool SkipToTagStart();
  // The offset from position_ of the next ">", within kLongestTag bytes.
  std::optional<std::size_t> FindTagEnd();
  // Passes over count bytes without keeping them; false when the file ends first.
  bool Skip(std::size_t count);
  void SkipToEndOfRecord();

  // What the search for the next tag found.
  enum class Found { kTag, kEndOfFile, kSpoilt };
  // The next tag, between "<" and ">", as a view into the buffer (valid
  // until it is refilled); kSpoilt with the reason in error when what
  // comes is no tag, the rest of its record passed over.
  Found NextTag(std::string_view& tag, std::string& error);
  // The value of the field name, its length given by lengthAndType (what
  // follows the tag's first ":"), read into record when the record keeps
  // that field and passed over otherwise; false with the reason in error
  // when the record is spoilt.
  bool ReadValue(AdifRecord& record, std::string_view name, std::string_view lengthAndType,
                 std::string& error);

  std::istream& in_;
  std::string buffer_;
  std::size_t position_ = 0;
  std::uint64_t startsAt_;
  std::uint64_t dropped_ = 0;  // bytes read and dropped from the buffer's front
  bool endOfFile_ = false;
  bool started_ = false;
  std::size_t records_ = 0;
  std::size_t skipped_ = 0;  // bytes the last SkipToTagStart passed over
};

}  // namespace zeltra
