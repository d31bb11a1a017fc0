#pragma once

#include <ostream>
#include <string_view>

namespace zeltra::organiser {

// The start of a results page up to its main content: UTF-8, English, a
// policy that lets the page load nothing and run nothing (its style is its
// own), the style for screen and print, a link home (none on the home page
// itself) and the heading. title: plain text, escaped here.
void WritePageStart(std::ostream& out, std::string_view title, std::string_view homeLink);

// The page's end, after its main content.
void WritePageEnd(std::ostream& out);

}  // namespace zeltra::organiser
