#include "core/logfile/AdifReader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "core/text/Ascii.h"
#include "core/text/Number.h"
#include "core/text/ReadChunk.h"

namespace zeltra {
namespace {

// A tag is a name, a length and a type: a few dozen bytes. Past this, what
// follows a "<" is no tag.
constexpr std::size_t kLongestTag = 1024;

constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;

// The high bit of the lowest zero byte of word set, and maybe of bytes
// above it; 0 when no byte is zero.
constexpr std::uint64_t ZeroBytes(std::uint64_t word) {
  return (word - kEveryByte) & ~word & (kEveryByte * 0x80);
}

// Where c is in a tag's text, or npos: a loop, a tag being a few bytes,
// not a call to a search made for long texts.
constexpr std::size_t FindInTag(std::string_view text, char c) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == c) return i;
  return std::string_view::npos;
}

}  // namespace

AdifReader::AdifReader(std::istream& in, std::uint64_t startsAt)
    : in_(in), startsAt_(startsAt), started_(startsAt > 0) {}

bool AdifReader::Have(std::size_t count) {
  while (buffer_.size() - position_ < count && !endOfFile_) {
    if (position_ > 0) {
      buffer_.erase(0, position_);
      dropped_ += position_;
      position_ = 0;
    }
    const std::size_t had = buffer_.size();
    // Grows by what the file gives, a chunk at a time, never by what a
    // length claims.
    buffer_.resize(had + kReadChunk);
    in_.read(buffer_.data() + had, static_cast<std::streamsize>(kReadChunk));
    const auto got = static_cast<std::size_t>(in_.gcount());
    buffer_.resize(had + got);
    if (got == 0 || !in_) endOfFile_ = true;
  }
  return buffer_.size() - position_ >= count;
}

bool AdifReader::SkipToTagStart() {
  skipped_ = 0;
  // Most tags follow the last value at once.
  if (position_ < buffer_.size() && buffer_[position_] == '<') return true;
  while (true) {
    const std::size_t at = buffer_.find('<', position_);
    if (at != std::string::npos) {
      skipped_ += at - position_;
      position_ = at;
      return true;
    }
    skipped_ += buffer_.size() - position_;
    position_ = buffer_.size();
    if (!Have(1)) return false;
  }
}

std::optional<std::size_t> AdifReader::FindTagEnd() {
  // A tag is a few bytes long: its first bytes are looked through eight at
  // a time before a search is set up.
  constexpr std::size_t kWord = sizeof(std::uint64_t);
  constexpr std::size_t kShortTag = 3 * kWord;
  std::size_t searched = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; searched < kShortTag && position_ + searched + kWord <= buffer_.size();
         searched += kWord) {
      std::uint64_t word;
      std::memcpy(&word, buffer_.data() + position_ + searched, kWord);
      if (const std::uint64_t found = ZeroBytes(word ^ kEveryByte * '>'))
        return searched + static_cast<std::size_t>(std::countr_zero(found)) / 8;
    }
  }
  while (searched <= kLongestTag) {
    const std::size_t at = buffer_.find('>', position_ + searched);
    if (at != std::string::npos) {
      if (at - position_ > kLongestTag) return std::nullopt;
      return at - position_;
    }
    searched = buffer_.size() - position_;
    if (!Have(searched + 1)) return std::nullopt;
  }
  return std::nullopt;
}

bool AdifReader::Skip(std::size_t count) {
  while (count > 0) {
    if (!Have(1)) return false;
    const std::size_t step = std::min(count, buffer_.size() - position_);
    position_ += step;
    count -= step;
  }
  return true;
}

void AdifReader::SkipToEndOfRecord() {
  while (SkipToTagStart()) {
    position_ += 1;
    if (Have(4) &&
        EqualsIgnoringAsciiCase(std::string_view(buffer_).substr(position_, 4), "EOR>")) {
      position_ += 4;
      return;
    }
  }
  position_ = buffer_.size();
}

AdifReader::Found AdifReader::NextTag(std::string_view& tag, std::string& error) {
  const bool atTag = SkipToTagStart();
  if (skipped_ > kLongestAdifValue) {
    // Text between tags is a header's, or blanks: a megabyte of it is
    // something else, and the record it falls in is spoilt.
    error = std::to_string(skipped_) + " bytes without a tag" +
            (atTag ? "" : " at the end of the file");
    if (atTag) SkipToEndOfRecord();
    return Found::kSpoilt;
  }
  if (!atTag) return Found::kEndOfFile;
  position_ += 1;
  const auto close = FindTagEnd();
  if (!close) {
    if (buffer_.size() - position_ > kLongestTag) {
      // A "<" that opens no tag: passed over, with its record spoilt.
      error = "a \"<\" is not closed by \">\" within " + std::to_string(kLongestTag) + " bytes";
      SkipToEndOfRecord();
      return Found::kSpoilt;
    }
    position_ = buffer_.size();
    error = "a tag is not closed by \">\" before the end of the file";
    return Found::kSpoilt;
  }
  tag = std::string_view(buffer_).substr(position_, *close);
  position_ += *close + 1;
  return Found::kTag;
}

bool AdifReader::ReadValue(AdifRecord& record, std::string_view name,
                           std::string_view lengthAndType, std::string& error) {
  std::string_view lengthText = lengthAndType.substr(0, FindInTag(lengthAndType, ':'));
  lengthText = TrimControlAndBlank(lengthText);
  // name and lengthText are views into the buffer, which a refill moves:
  // a message is worded before anything is read further. The name is
  // upper-cased for a message only: most fields never need one.
  const auto parsedLength = NumberOf<std::size_t>(lengthText);
  if (!parsedLength) {
    error = "field " + AsciiUpper(name) + ": length \"" + std::string(lengthText) +
            "\" is not a number";
    SkipToEndOfRecord();
    return false;
  }
  const std::size_t length = *parsedLength;
  // Kept only where reading the value may refill the buffer first.
  const std::string upperName =
      buffer_.size() - position_ >= length ? std::string() : AsciiUpper(name);
  const auto pastTheEnd = [&] {
    return "field " + upperName + ": length " + std::to_string(length) +
           " runs past the end of the file";
  };
  const auto field = AdifFieldNamed(name);
  if (!field) {
    // Skip stops only at the end of the file: nothing is left to read.
    if (Skip(length)) return true;
    error = pastTheEnd();
    return false;
  }
  if (length > kLongestAdifValue) {
    error = "field " + AsciiUpper(name) + ": length " + std::to_string(length) +
            " is longer than a field may be (" + std::to_string(kLongestAdifValue) + " bytes)";
    SkipToEndOfRecord();
    return false;
  }
  if (!Have(length)) {
    position_ = buffer_.size();
    error = pastTheEnd();
    return false;
  }
  record.Set(*field, std::string_view(buffer_).substr(position_, length));
  position_ += length;
  return true;
}

bool AdifReader::Next(AdifRecord& record) {
  if (!started_) {
    started_ = true;
    if (Have(3) && buffer_.compare(position_, 3, "\xEF\xBB\xBF") == 0) position_ += 3;
  }
  record.Clear();
  bool any = false;
  std::string error;
  const auto fail = [&] {
    record.number = ++records_;
    record.error = std::move(error);
    return true;
  };
  while (true) {
    std::string_view tag;
    const Found found = NextTag(tag, error);
    if (found == Found::kSpoilt) return fail();
    if (found == Found::kEndOfFile) {
      if (!any) return false;
      error = "the last record has no <EOR>";
      return fail();
    }
    const std::size_t colon = FindInTag(tag, ':');
    const std::string_view name = TrimControlAndBlank(tag.substr(0, colon));
    if (EqualsIgnoringAsciiCase(name, "EOH")) {
      record.Clear();
      any = false;
      continue;
    }
    if (EqualsIgnoringAsciiCase(name, "EOR")) {
      if (!any) continue;  // an empty record
      record.number = ++records_;
      return true;
    }
    if (colon == std::string_view::npos) continue;  // a tag without data
    any = true;
    if (!ReadValue(record, name, tag.substr(colon + 1), error)) return fail();
  }
}

}  // namespace zeltra
