#include "core/logfile/AdifRecord.h"

#include "core/text/Ascii.h"

namespace zeltra {

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
  endsReading = false;
  warnings.clear();
}

}  // namespace zeltra
