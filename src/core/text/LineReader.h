#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace zeltra {

// Reads a stream line by line with a bound on a line's length, so that a
// file without line ends costs the bound in memory, not the file's size.
// Lines end as the file's first line end does: LF or CR LF, or a CR alone
// (as old Macintosh programs write); a CR inside a line of a file of LF
// line ends stays in its line. The line end is not part of the line.
class LineReader {
 public:
  enum class Result { kLine, kTooLong, kEnd };

  // firstLine: the number of the stream's first line in its file.
  LineReader(std::istream& in, std::size_t longestLine, std::size_t firstLine = 1);

  // The next line into line. kTooLong: the line was longer than the bound;
  // it is passed over to its end and line holds its start.
  Result Next(std::string& line);
  // The number of the line Next gave last, 1 for the first.
  std::size_t number() const { return number_; }

 private:
  // Takes the next chunk of the stream; false at its end.
  bool Fill();
  // Where the next line end is in the buffer at or after from; npos: none.
  std::size_t LineEndFrom(std::size_t from) const;

  std::istream& in_;
  std::size_t longestLine_;
  std::size_t number_ = 0;
  std::string buffer_;
  std::size_t position_ = 0;
  enum class Ends { kNotYetSeen, kLf, kCr } ends_ = Ends::kNotYetSeen;
};

// How many line ends text holds, counted as LineReader counts them.
std::size_t CountLineEnds(std::string_view text);

}  // namespace zeltra
