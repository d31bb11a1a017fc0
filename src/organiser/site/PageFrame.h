#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "organiser/site/SiteSettings.h"

namespace zeltra::organiser {

// A page's menu, above its heading and outside its main content, so that
// the skip link passes it: the way home from an entrant's page, the
// sections of the home page. Plain text, escaped when drawn.
struct PageLink {
  std::string_view href;
  std::string_view text;
};
struct PageMenu {
  std::string_view label;  // what a screen reader calls the menu
  std::vector<PageLink> links;
};

// The start of a results page up to its main content: UTF-8, English, a
// policy that lets the page load nothing and run nothing (its style is its
// own), the style for screen and print, a link past the menu, the menu
// (when it has links) and the heading. title: plain text, escaped here.
void WritePageStart(std::ostream& out, std::string_view title, const PageMenu& menu = {});

// Under a page's heading: how final the results are and when they were
// made ("Preliminary results, made 2026-12-09 14:50 UTC."), when said.
void WritePublication(std::ostream& out, const Publication& publication);

// "Page 2 of 5", with links to the pages before and after it (fileOf
// names a page, counted from 0); nothing for a single page.
void WritePageLinks(std::ostream& out, std::size_t page, std::size_t pages,
                    const std::function<std::string(std::size_t)>& fileOf);

// The start of a table that may be wider than the screen: it scrolls
// sideways within a region a keyboard can reach, named as the table is.
// The region ends with "</div>".
void WriteWideStart(std::ostream& out, std::string_view name);

// The page's end, after its main content.
void WritePageEnd(std::ostream& out);

}  // namespace zeltra::organiser
