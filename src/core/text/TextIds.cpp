#include "core/text/TextIds.h"

namespace zeltra {

std::uint32_t TextIds::IdOf(std::string_view text) {
  if (const auto known = ids_.find(text); known != ids_.end()) return known->second;
  const auto id = static_cast<std::uint32_t>(views_.size());
  const std::string& kept = texts_.emplace_back(text);
  views_.push_back(kept);
  ids_.emplace(views_.back(), id);
  return id;
}

}  // namespace zeltra
