#include "core/logfile/AdifReader.h"

#include "core/text/Ascii.h"
#include "core/text/Number.h"

namespace zeltra {
namespace {

constexpr std::size_t kChunk = 1 << 16;

constexpr std::array<std::string_view, static_cast<std::size_t>(AdifField::kCount)> kFieldNames = {
    "CALL",     "BAND",       "FREQ",     "MODE",  "CONT",
    "COUNTRY",  "SRX_STRING", "RST_RCVD", "STATE", "STATION_CALLSIGN",
    "OPERATOR", "MY_COUNTRY"};

std::optional<AdifField> FieldNamed(std::string_view name) {
  for (std::size_t i = 0; i < kFieldNames.size(); ++i)
    if (kFieldNames[i].size() == name.size() && EqualsIgnoringAsciiCase(kFieldNames[i], name))
      return static_cast<AdifField>(i);
  return std::nullopt;
}

}  // namespace

void AdifRecord::Clear() {
  number = 0;
  present.fill(false);
  error.clear();
  warnings.clear();
}

AdifReader::AdifReader(std::istream& in) : in_(in) {}

bool AdifReader::Have(std::size_t count) {
  while (buffer_.size() - position_ < count && !endOfFile_) {
    buffer_.erase(0, position_);
    position_ = 0;
    const std::size_t had = buffer_.size();
    buffer_.resize(had + std::max(kChunk, count));
    in_.read(buffer_.data() + had, static_cast<std::streamsize>(buffer_.size() - had));
    buffer_.resize(had + static_cast<std::size_t>(in_.gcount()));
    if (in_.gcount() == 0 || !in_) endOfFile_ = in_.eof() || in_.gcount() == 0;
  }
  return buffer_.size() - position_ >= count;
}

std::optional<std::size_t> AdifReader::Find(char c) {
  std::size_t searched = 0;
  while (true) {
    const std::size_t at = buffer_.find(c, position_ + searched);
    if (at != std::string::npos) return at - position_;
    searched = buffer_.size() - position_;
    if (!Have(searched + 1)) return std::nullopt;
  }
}

void AdifReader::SkipToEndOfRecord() {
  while (const auto open = Find('<')) {
    position_ += *open + 1;
    if (Have(4) &&
        EqualsIgnoringAsciiCase(std::string_view(buffer_).substr(position_, 4), "EOR>")) {
      position_ += 4;
      return;
    }
  }
  position_ = buffer_.size();
}

bool AdifReader::Next(AdifRecord& record) {
  if (!started_) {
    started_ = true;
    if (Have(3) && buffer_.compare(position_, 3, "\xEF\xBB\xBF") == 0) position_ += 3;
  }
  record.Clear();
  bool any = false;
  const auto fail = [&](std::string error) {
    record.number = ++records_;
    record.error = std::move(error);
    return true;
  };
  while (true) {
    const auto open = Find('<');
    if (!open) {
      position_ = buffer_.size();
      if (!any) return false;
      return fail("the last record has no <EOR>");
    }
    position_ += *open + 1;
    const auto close = Find('>');
    if (!close) return fail("a tag is not closed by \">\" before the end of the file");
    const std::string_view tag = std::string_view(buffer_).substr(position_, *close);
    position_ += *close + 1;

    const std::size_t colon = tag.find(':');
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
    std::string_view lengthText = tag.substr(colon + 1);
    lengthText = lengthText.substr(0, lengthText.find(':'));
    lengthText = TrimControlAndBlank(lengthText);
    const auto parsedLength = NumberOf<std::size_t>(lengthText);
    if (!parsedLength) {
      const std::string message = "field " + AsciiUpper(name) + ": length \"" +
                                  std::string(lengthText) + "\" is not a number";
      SkipToEndOfRecord();
      return fail(message);
    }
    const std::size_t length = *parsedLength;
    const auto field = FieldNamed(name);
    // Reading on moves the buffer: the name is taken while it still stands.
    if (buffer_.size() - position_ < length) {
      const std::string upperName = AsciiUpper(name);
      if (!Have(length)) {
        position_ = buffer_.size();
        return fail("field " + upperName + ": length " + std::to_string(length) +
                    " runs past the end of the file");
      }
    }
    if (field) {
      const auto index = static_cast<std::size_t>(*field);
      const std::string_view data = std::string_view(buffer_).substr(position_, length);
      if (record.present[index]) {
        record.warnings.push_back("field " + std::string(kFieldNames[index]) +
                                  " given twice; the first counts");
      } else {
        record.values[index].assign(data);
        record.present[index] = true;
      }
    }
    position_ += length;
  }
}

}  // namespace zeltra
