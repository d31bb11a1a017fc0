#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace zeltra::organiser {

// Text from a log as a page shows it: valid UTF-8 (a text that is
// not read as AsUtf8 reads it: Polish Windows-1250 or Latin-1), control characters and those that
// turn text around shown as \xNN, and the five characters markup gives meaning to (& < > " ') as
// entities, so that it reads as text in an element and in a quoted
// attribute alike, and never becomes markup.
std::string Html(std::string_view text);

// The same, cut after its first characters (as shown, \xNN counted as
// four) with "…" added when it is longer: a call or a category in a table,
// which a hostile log may make thousands of characters long.
std::string HtmlShort(std::string_view text, std::size_t characters);

// The same, written as it is made.
void WriteHtml(std::ostream& out, std::string_view text);

}  // namespace zeltra::organiser
