// libFuzzer: the prefill list from any text, each look-up checked against
// a plain reading of the rule: the first line whose part before its first
// "=" is the call sign, letter case and blanks around it aside, gives the
// text after that "=". UTF-16 text is read, not checked against the model.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/prefill/PrefillList.h"
#include "core/text/Ascii.h"

namespace {

std::vector<std::string_view> LinesOf(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string ExpectedExchange(const std::vector<std::string_view>& lines, std::string_view call) {
  for (const std::string_view line : lines) {
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos &&
        zeltra::EqualsIgnoringAsciiCase(zeltra::TrimControlAndBlank(line.substr(0, equals)),
                                        zeltra::TrimControlAndBlank(call)))
      return std::string(line.substr(equals + 1));
  }
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zeltra::PrefillList list = zeltra::PrefillList::FromText(text);
  if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
    (void)list.LookupExchange("SP9ABC");
    return 0;
  }
  const std::vector<std::string_view> lines = LinesOf(text);
  std::vector<std::string> calls = {"SP9ABC", "", "="};
  for (std::size_t i = 0; i < lines.size() && i < 64; ++i) {
    const std::string_view line = lines[i];
    const std::string call(line.substr(0, line.find('=')));
    std::string lower = call;
    for (char& c : lower)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    calls.push_back(call);
    calls.push_back(lower);
  }
  for (const std::string& call : calls)
    if (list.LookupExchange(call) != ExpectedExchange(lines, call)) std::abort();
  return 0;
}
