#include "core/logfile/AdifRecord.h"

#include <cstdint>

#include "core/text/Ascii.h"

namespace zeltra {

namespace {

// A name's length and first two bytes, upper case, in one number: the
// names read differ in it, so one comparison of numbers picks the only
// name a tag can be, and one comparison of texts settles it.
constexpr std::uint32_t ShortKey(std::string_view name) {
  const auto byte = [&](std::size_t i) {
    return i < name.size() ? std::uint32_t{static_cast<unsigned char>(AsciiUpper(name[i]))} : 0u;
  };
  return static_cast<std::uint32_t>(name.size() << 16) | (byte(0) << 8) | byte(1);
}

// The names' short keys spread over a small table by one multiplication,
// with a multiplier found when the program is built that leaves no two
// names in one slot: a tag's name is looked up with one read, whichever
// name it is, instead of a search through the names.
constexpr std::size_t kSlotBits = 6;
constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
constexpr std::uint8_t kNoField = 0xFF;

constexpr std::size_t SlotOf(std::uint32_t key, std::uint32_t multiplier) {
  return static_cast<std::uint32_t>(key * multiplier) >> (32 - kSlotBits);
}

struct FieldTable {
  std::uint32_t multiplier = 0;
  std::array<std::uint8_t, kSlots> fields{};
};

constexpr FieldTable kFieldTable = [] {
  for (std::uint32_t multiplier = 0x9E3779B1u;; multiplier += 2) {
    FieldTable table;
    table.multiplier = multiplier;
    table.fields.fill(kNoField);
    bool clash = false;
    for (std::size_t i = 0; i < kAdifFieldNames.size() && !clash; ++i) {
      std::uint8_t& slot = table.fields[SlotOf(ShortKey(kAdifFieldNames[i]), multiplier)];
      clash = slot != kNoField;
      slot = static_cast<std::uint8_t>(i);
    }
    if (!clash) return table;
  }
}();

}  // namespace

std::optional<AdifField> AdifFieldNamed(std::string_view name) {
  if (name.size() > 0xFFFF) return std::nullopt;
  const std::uint8_t field = kFieldTable.fields[SlotOf(ShortKey(name), kFieldTable.multiplier)];
  // Most tags a logger writes are none of these: their slot is empty, or
  // holds another name.
  if (field == kNoField || !EqualsIgnoringAsciiCase(kAdifFieldNames[field], name))
    return std::nullopt;
  return static_cast<AdifField>(field);
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
  endsReading = false;
  warnings.clear();
}

}  // namespace zeltra
