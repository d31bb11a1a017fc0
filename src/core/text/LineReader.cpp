#include "core/text/LineReader.h"

#include <algorithm>

#include "core/text/ReadChunk.h"

namespace zeltra {

LineReader::LineReader(std::istream& in, std::size_t longestLine, std::size_t firstLine)
    : in_(in), longestLine_(longestLine), number_(firstLine - 1) {}

bool LineReader::Fill() {
  buffer_.resize(kReadChunk);
  in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  buffer_.resize(static_cast<std::size_t>(in_.gcount()));
  position_ = 0;
  return !buffer_.empty();
}

std::size_t LineReader::LineEndFrom(std::size_t from) const {
  // Once the file's line end is known, one character is searched for, at
  // the speed of memchr; find_first_of would search its set once a byte.
  if (ends_ == Ends::kLf) return buffer_.find('\n', from);
  if (ends_ == Ends::kCr) return buffer_.find('\r', from);
  for (std::size_t at = from; at < buffer_.size(); ++at)
    if (buffer_[at] == '\r' || buffer_[at] == '\n') return at;
  return std::string::npos;
}

LineReader::Result LineReader::Next(std::string& line) {
  line.clear();
  bool any = false;
  bool tooLong = false;
  while (true) {
    if (position_ == buffer_.size() && !Fill()) {
      if (!any) return Result::kEnd;
      break;  // a last line without a line end
    }
    any = true;
    const std::size_t end = std::min(LineEndFrom(position_), buffer_.size());
    // Only the bound's worth of a line is kept; the rest is passed over.
    const std::size_t room = longestLine_ - line.size();
    const std::size_t length = end - position_;
    line.append(buffer_, position_, std::min(length, room));
    tooLong = tooLong || length > room;
    position_ = end;
    if (end == buffer_.size()) continue;
    const char lineEnd = buffer_[position_++];
    if (ends_ == Ends::kNotYetSeen) {
      // The first line end tells the file's; a CR's LF may come in the next chunk.
      ends_ = Ends::kCr;
      if (lineEnd == '\n') {
        ends_ = Ends::kLf;
      } else if ((position_ < buffer_.size() || Fill()) && buffer_[position_] == '\n') {
        ++position_;
        ends_ = Ends::kLf;
      }
    }
    break;
  }
  if (ends_ == Ends::kLf && !tooLong && !line.empty() && line.back() == '\r') line.pop_back();
  ++number_;
  return tooLong ? Result::kTooLong : Result::kLine;
}

std::size_t CountLineEnds(std::string_view text) {
  const std::size_t first = text.find_first_of("\r\n");
  if (first == std::string_view::npos) return 0;
  const bool crAlone = text[first] == '\r' && (first + 1 == text.size() || text[first + 1] != '\n');
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), crAlone ? '\r' : '\n'));
}

}  // namespace zeltra
