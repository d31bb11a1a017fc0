#pragma once

#include <string>
#include <string_view>

namespace zeltra {

// What an exchange says once its report is set aside: the parts after the
// RST, each a number by its value ("007" is "7") or a text upper-cased,
// joined by one blank. "599 K", "599k", "k" and "K" all say "K"; "599 007",
// "599 7" and "007" all say "7". A lone number is kept whole: it may be a
// serial number sent without a report.
std::string ExchangeContent(std::string_view exchange);

// Whether what a station copied says what the other station sent.
bool SameExchange(std::string_view received, std::string_view sent);

}  // namespace zeltra
