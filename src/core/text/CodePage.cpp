#include "core/text/CodePage.h"

#include <array>
#include <cstdint>

namespace zeltra {
namespace {

constexpr unsigned char kFirstHighByte = 0x80;
constexpr unsigned char kFirstLatin1Character = 0xA0;  // below: C1 controls
constexpr char32_t kUndefined = 0;

// Windows-1250 from 0x80 up; kUndefined where it has no character.
constexpr std::array<char16_t, 128> kWindows1250 = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  //
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  //
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  //
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  //
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  //
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  //
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  //
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  //
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  //
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  //
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  //
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  //
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  //
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  //
};

// The letters Polish writes beyond ASCII, each in both cases.
constexpr std::u32string_view kPolishLetters = U"ĄąĆćĘęŁłŃńÓóŚśŹźŻż";

// A letter of the Latin alphabets beyond ASCII: Latin-1's letters and
// Latin Extended-A and B, the multiplication and division signs left out.
bool IsLatinLetter(char32_t character) {
  constexpr char32_t kFirst = 0x00C0;
  constexpr char32_t kLast = 0x024F;
  constexpr char32_t kTimes = 0x00D7;
  constexpr char32_t kDivided = 0x00F7;
  return character >= kFirst && character <= kLast && character != kTimes && character != kDivided;
}

}  // namespace

char32_t CharacterOf(CodePage page, unsigned char byte) {
  if (byte < kFirstHighByte || page == CodePage::kLatin1) return byte;
  return kWindows1250[byte - kFirstHighByte];
}

CodePage CodePageOf(std::string_view high) {
  bool polish = false;
  bool latin1Control = false;  // a byte Latin-1 would read as a C1 control
  for (const char c : high) {
    const auto byte = static_cast<unsigned char>(c);
    const char32_t character = CharacterOf(CodePage::kWindows1250, byte);
    if (character == kUndefined) return CodePage::kLatin1;
    if (byte < kFirstLatin1Character) latin1Control = true;
    if (kPolishLetters.find(character) != std::u32string_view::npos)
      polish = true;
    else if (IsLatinLetter(character))
      return CodePage::kLatin1;
  }
  return polish || latin1Control ? CodePage::kWindows1250 : CodePage::kLatin1;
}

}  // namespace zeltra
