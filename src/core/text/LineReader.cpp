#include "core/text/LineReader.h"

namespace zeltra {

LineReader::LineReader(std::istream& in, std::size_t longestLine, std::size_t firstLine)
    : in_(in), longestLine_(longestLine), number_(firstLine - 1) {}

LineReader::Result LineReader::Next(std::string& line) {
  line.clear();
  std::streambuf* source = in_.rdbuf();
  bool any = false;
  bool tooLong = false;
  while (true) {
    const int c = source->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in_.setstate(std::ios::eofbit);
      break;
    }
    any = true;
    if (c == '\n') break;
    if (line.size() < longestLine_)
      line += static_cast<char>(c);
    else
      tooLong = true;
  }
  if (!any) return Result::kEnd;
  ++number_;
  return tooLong ? Result::kTooLong : Result::kLine;
}

}  // namespace zeltra
