#include "core/text/Utf16Text.h"

#include "core/text/ReadChunk.h"
#include "core/text/Utf8.h"

namespace zeltra {
namespace {

// kReadChunk is an even number of bytes: UTF-16 units never straddle two chunks.
static_assert(kReadChunk % 2 == 0);
constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

Utf16Text::Utf16Text(std::streambuf& source, bool bigEndian)
    : source_(source), bigEndian_(bigEndian), bytes_(kReadChunk) {
  setg(text_.data(), text_.data(), text_.data());
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
    if (pendingHigh_ != 0) AppendUtf8(text_, kReplacement);
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
        AppendUtf8(text_, 0x10000 + ((static_cast<char32_t>(pendingHigh_) - 0xD800) << 10) +
                              (static_cast<char32_t>(unit) - 0xDC00));
        pendingHigh_ = 0;
        continue;
      }
      AppendUtf8(text_, kReplacement);
      pendingHigh_ = 0;
    }
    if (IsHighSurrogate(unit))
      pendingHigh_ = unit;
    else
      AppendUtf8(text_, IsLowSurrogate(unit) ? kReplacement : unit);
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

}  // namespace zeltra
