#include "core/prefill/PrefillList.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "core/text/Ascii.h"
#include "core/text/Utf16Text.h"

namespace zeltra {

PrefillList PrefillList::FromText(std::string_view text) {
  // Windows Notepad starts a file it saves as UTF-8 with a byte-order mark,
  // and one it saves as "Unicode" (UTF-16) with another: that is read as
  // UTF-8.
  constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
  constexpr std::string_view kLittleEndianMark = "\xFF\xFE";
  constexpr std::string_view kBigEndianMark = "\xFE\xFF";
  const bool littleEndian = text.substr(0, kLittleEndianMark.size()) == kLittleEndianMark;
  if (littleEndian || text.substr(0, kBigEndianMark.size()) == kBigEndianMark) {
    std::istringstream bytes(std::string(text.substr(kLittleEndianMark.size())));
    Utf16Text utf16(*bytes.rdbuf(), !littleEndian);
    const std::string utf8((std::istreambuf_iterator<char>(&utf16)),
                           std::istreambuf_iterator<char>());
    return FromText(utf8);
  }
  if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark)
    text.remove_prefix(kUtf8ByteOrderMark.size());
  PrefillList list;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      list.AddLine(text);
      break;
    }
    list.AddLine(text.substr(0, end));
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    text.remove_prefix(end + (crlf ? 2 : 1));
  }
  return list;
}

PrefillList PrefillList::FromFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return PrefillList{};
  std::ifstream file(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad() || !file.is_open())
    throw std::runtime_error("Cannot read the prefill file " + path.string());
  return FromText(text);
}

void PrefillList::AddLine(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  // Blanks around a call (" SP1AAA = 599 K") are no part of it; the
  // exchange is the rest of the line as it stands.
  exchangeByCall_.try_emplace(AsciiUpper(TrimControlAndBlank(line.substr(0, equals))),
                              line.substr(equals + 1));
}

std::string PrefillList::LookupExchange(std::string_view callSign) const {
  const auto found = exchangeByCall_.find(AsciiUpper(TrimControlAndBlank(callSign)));
  return found == exchangeByCall_.end() ? std::string() : found->second;
}

}  // namespace zeltra
