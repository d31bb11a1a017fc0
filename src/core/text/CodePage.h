#pragma once

#include <string_view>

namespace zeltra {

// The single-byte code pages a log that is no UTF-8 may be written in.
enum class CodePage {
  kLatin1,       // ISO 8859-1: Western European, every byte a character
  kWindows1250,  // Central European: what Polish Windows writes
};

// The code page of a text's bytes above ASCII (high): Windows-1250
// when each is a character there, none a letter other than Polish, and
// either one is a Polish letter ("Klub \xA3\xF3d\x9F" is "Klub Łódź") or
// Latin-1 would read one as a control ("\x84tak\x94", „tak”); otherwise
// Latin-1, whose bytes are all characters ("M\xFCller" is "Müller").
CodePage CodePageOf(std::string_view high);

// A byte of a code page as its character; bytes below 0x80 are ASCII.
char32_t CharacterOf(CodePage page, unsigned char byte);

}  // namespace zeltra
