#include "scoring/QsoList.h"

#include <functional>
#include <string_view>

namespace zeltra {

std::size_t QSOList::Hash::operator()(const TQSO& contact) const {
  const std::hash<std::string_view> hash;
  std::size_t seed = hash(contact.CallSign);
  for (const std::string* field : {&contact.Band, &contact.Mode}) {
    // boost::hash_combine's mixing step
    seed ^= hash(*field) + 0x9e3779b9U + (seed << 6) + (seed >> 2);
  }
  return seed;
}

}  // namespace zeltra
