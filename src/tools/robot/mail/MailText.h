#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zeltra::robot {

// The most of a stranger's text a mail quotes, in characters.
inline constexpr std::size_t kLongestQuote = 40;
// A mail's lines, where they can be broken at a blank, and at most (RFC
// 5322: 998 characters and CRLF).
inline constexpr std::size_t kMailLine = 78;
inline constexpr std::size_t kLongestMailLine = 998;

// A note told by mail with what it quotes of a log kept short: every text
// in double quotes, and every word, cut after kLongestQuote characters
// (UTF-8 kept whole), with "..." where it was cut.
std::string Briefly(std::string_view note);

// A paragraph broken at blanks into lines of at most width characters
// where it can be, the first line after first, the others after indent;
// each line ends in '\n'.
std::string Wrapped(std::string_view paragraph, std::string_view first, std::string_view indent,
                    std::size_t width = kMailLine);

// Text whose lines are at most kLongestMailLine bytes: a longer line is
// broken (between UTF-8 characters).
std::string WithinLineLimit(std::string_view text);

}  // namespace zeltra::robot
