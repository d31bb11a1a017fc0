#include "core/text/Utf8.h"

#include <algorithm>

#include <cstdint>
#include <cstdio>

#include "core/text/CodePage.h"

namespace zeltra {
namespace {

constexpr unsigned char kFirstHighByte = 0x80;

// The length of the valid UTF-8 sequence at text's start, and its code
// point; 0 when the first byte starts none.
std::size_t SequenceAt(std::string_view text, std::uint32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(0);
  std::size_t length = 0;
  std::uint32_t lowest = 0;
  if (first < 0x80) {
    codePoint = first;
    return 1;
  } else if ((first & 0xE0) == 0xC0) {
    length = 2;
    codePoint = first & 0x1Fu;
    lowest = 0x80;
  } else if ((first & 0xF0) == 0xE0) {
    length = 3;
    codePoint = first & 0x0Fu;
    lowest = 0x800;
  } else if ((first & 0xF8) == 0xF0) {
    length = 4;
    codePoint = first & 0x07u;
    lowest = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
  }
  if (codePoint < lowest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
    return 0;
  return length;
}

bool IsControl(std::uint32_t codePoint) {
  return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

// Characters that draw nothing yet change what a terminal shows: they
// turn the text after them around (bidirectional controls), end a line,
// or hide between letters.
bool IsInvisibleFormat(std::uint32_t codePoint) {
  return codePoint == 0x061C ||                           // Arabic letter mark
         (codePoint >= 0x200B && codePoint <= 0x200F) ||  // zero widths, direction marks
         (codePoint >= 0x2028 && codePoint <= 0x202E) ||  // line, paragraph, embeddings
         (codePoint >= 0x2060 && codePoint <= 0x2069) ||  // word joiner, isolates
         codePoint == 0xFEFF;                             // byte-order mark
}

void AppendEscaped(std::string& out, std::string_view bytes) {
  for (const char c : bytes) {
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
    out += escaped;
  }
}

// Walks text a UTF-8 sequence at a time: valid(sequence, code point) for
// each valid one, stray(byte) for each byte, as a text of one, that starts
// none.
template <class Valid, class Stray>
void EachSequence(std::string_view text, Valid valid, Stray stray) {
  while (!text.empty()) {
    std::uint32_t codePoint = 0;
    const std::size_t length = SequenceAt(text, codePoint);
    if (length == 0) {
      stray(text.substr(0, 1));
      text.remove_prefix(1);
    } else {
      valid(text.substr(0, length), codePoint);
      text.remove_prefix(length);
    }
  }
}

}  // namespace

void AppendUtf8(std::string& out, char32_t codePoint) {
  const auto add = [&](std::uint32_t value) { out += static_cast<char>(value); };
  if (codePoint < 0x80) {
    add(codePoint);
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

bool IsPrintableAscii(std::string_view text) {
  constexpr char kFirstPrintable = 0x20;
  constexpr char kLastPrintable = 0x7E;
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return c >= kFirstPrintable && c <= kLastPrintable; });
}

std::string Printable(std::string_view text) {
  // Most texts are printable ASCII, which is shown as it is.
  if (IsPrintableAscii(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  EachSequence(
      text,
      [&](std::string_view sequence, std::uint32_t codePoint) {
        if (IsControl(codePoint) || IsInvisibleFormat(codePoint))
          AppendEscaped(out, sequence);
        else
          out.append(sequence);
      },
      [&](std::string_view byte) { AppendEscaped(out, byte); });
  return out;
}

std::string AsUtf8(std::string_view text) {
  bool valid = true;
  EachSequence(
      text, [](std::string_view, std::uint32_t) {}, [&](std::string_view) { valid = false; });
  if (valid) return std::string(text);
  // One byte that is no UTF-8 makes the whole text single-byte: its other
  // high bytes may happen to form a UTF-8 sequence ("\xEA\xA3" is "ę£").
  std::string high;
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= kFirstHighByte) high += c;
  const CodePage page = CodePageOf(high);
  std::string out;
  out.reserve(text.size() + high.size());
  for (const char c : text) AppendUtf8(out, CharacterOf(page, static_cast<unsigned char>(c)));
  return out;
}

std::size_t WholeUtf8Length(std::string_view bytes) {
  constexpr std::size_t kLongestSequence = 4;
  // The start of the last sequence: a byte that is no continuation byte.
  for (std::size_t back = 1; back <= bytes.size() && back < kLongestSequence; ++back) {
    const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((byte & 0xC0) == 0x80) continue;
    const std::size_t length = (byte & 0xE0) == 0xC0   ? 2
                               : (byte & 0xF0) == 0xE0 ? 3
                               : (byte & 0xF8) == 0xF0 ? 4
                                                       : 1;
    return length > back ? bytes.size() - back : bytes.size();
  }
  return bytes.size();
}

}  // namespace zeltra
