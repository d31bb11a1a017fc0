#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zeltra {

// Logs come in UTF-8, or in a single-byte code page with no word of which.

// Text fit for a terminal: valid UTF-8 stays as it is; control characters
// (C0, DEL and C1), which could move the cursor or forge a line, characters
// that draw nothing but turn text around or break it (U+202E, U+2028,
// U+FEFF and their kind), and bytes that are no valid UTF-8 are shown as
// \xNN, byte by byte.
std::string Printable(std::string_view text);
// Whether every byte of text is printable ASCII (a blank to "~"), which
// Printable shows as it is.
bool IsPrintableAscii(std::string_view text);

// Text as valid UTF-8: valid UTF-8 stays; text with a byte that is no
// UTF-8 is read byte by byte in the code page CodePageOf finds for its
// bytes above ASCII (Windows-1250 for Polish text, else Latin-1), so
// nothing is lost.
std::string AsUtf8(std::string_view text);

// How much of bytes may be written out now: all but a UTF-8 sequence begun
// at the end and not yet whole, whose rest is still to come. Bytes that are
// no UTF-8 count as whole.
std::size_t WholeUtf8Length(std::string_view bytes);

// Appends a code point (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace zeltra
