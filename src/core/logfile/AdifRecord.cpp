#include "core/logfile/AdifRecord.h"

#include "core/text/Ascii.h"

namespace zeltra {

std::optional<AdifField> AdifFieldNamed(std::string_view name) {
  // Most tags a logger writes are none of these: their length and first
  // letter rule out nearly all names before a text is compared.
  if (name.empty()) return std::nullopt;
  const char first = AsciiUpper(name.front());
  for (std::size_t i = 0; i < kAdifFieldNames.size(); ++i) {
    const std::string_view known = kAdifFieldNames[i];
    if (known.size() == name.size() && known.front() == first &&
        EqualsIgnoringAsciiCase(known, name))
      return static_cast<AdifField>(i);
  }
  return std::nullopt;
}

void AdifRecord::Set(AdifField field, std::string_view value) {
  const auto index = static_cast<std::size_t>(field);
  if (present[index]) {
    warnings.push_back("field " + std::string(kAdifFieldNames[index]) +
                       " given twice; the first counts");
    return;
  }
  values[index].assign(value);
  present[index] = true;
}

void AdifRecord::Clear() {
  number = 0;
  present.fill(false);
  error.clear();
  warnings.clear();
}

}  // namespace zeltra
