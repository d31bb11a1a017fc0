#include "tools/score/Utf16Text.h"

namespace zeltra::score {
namespace {

constexpr std::size_t kChunk = 1 << 15;  // bytes of UTF-16, an even number
constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

Utf16Text::Utf16Text(std::streambuf& source, bool bigEndian)
    : source_(source), bigEndian_(bigEndian), bytes_(kChunk) {
  setg(text_.data(), text_.data(), text_.data());
}

void Utf16Text::Append(char32_t codePoint) {
  const auto add = [&](unsigned value) { text_.push_back(static_cast<char>(value)); };
  if (codePoint < 0x80) {
    add(static_cast<unsigned>(codePoint));
  } else if (codePoint < 0x800) {
    add(0xC0 | (codePoint >> 6));
    add(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    add(0xE0 | (codePoint >> 12));
    add(0x80 | ((codePoint >> 6) & 0x3F));
    add(0x80 | (codePoint & 0x3F));
  } else {
    add(0xF0 | (codePoint >> 18));
    add(0x80 | ((codePoint >> 12) & 0x3F));
    add(0x80 | ((codePoint >> 6) & 0x3F));
    add(0x80 | (codePoint & 0x3F));
  }
}

bool Utf16Text::ConvertChunk() {
  std::size_t got = 0;
  while (got < bytes_.size()) {
    const auto read = static_cast<std::size_t>(
        source_.sgetn(bytes_.data() + got, static_cast<std::streamsize>(bytes_.size() - got)));
    if (read == 0) break;
    got += read;
  }
  if (got < 2) {
    if (pendingHigh_ != 0) Append(kReplacement);
    pendingHigh_ = 0;
    return false;
  }
  for (std::size_t i = 0; i + 1 < got; i += 2) {
    const auto first = static_cast<unsigned char>(bytes_[i]);
    const auto second = static_cast<unsigned char>(bytes_[i + 1]);
    const auto unit =
        static_cast<char16_t>(bigEndian_ ? (first << 8) | second : (second << 8) | first);
    if (pendingHigh_ != 0) {
      if (IsLowSurrogate(unit)) {
        Append(0x10000 + ((static_cast<char32_t>(pendingHigh_) - 0xD800) << 10) +
               (static_cast<char32_t>(unit) - 0xDC00));
        pendingHigh_ = 0;
        continue;
      }
      Append(kReplacement);
      pendingHigh_ = 0;
    }
    if (IsHighSurrogate(unit))
      pendingHigh_ = unit;
    else
      Append(IsLowSurrogate(unit) ? kReplacement : unit);
  }
  return true;
}

std::string_view Utf16Text::Start(std::size_t count) {
  while (text_.size() < count && ConvertChunk()) {
  }
  setg(text_.data(), text_.data(), text_.data() + text_.size());
  return {text_.data(), text_.size()};
}

Utf16Text::int_type Utf16Text::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  text_.clear();
  while (text_.empty() && ConvertChunk()) {
  }
  setg(text_.data(), text_.data(), text_.data() + text_.size());
  if (text_.empty()) return traits_type::eof();
  return traits_type::to_int_type(*gptr());
}

}  // namespace zeltra::score
