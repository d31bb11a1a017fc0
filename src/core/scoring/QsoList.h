#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>

namespace zeltra {

// One recorded contact, as it stood in the current-contact record when it was
// recorded. Created once, never changed.
struct TQSO {
  std::string CallSign;
  std::string Band;
  std::string Mode;

  bool operator==(const TQSO&) const = default;
};

// Every recorded contact, indexed by call sign, band and mode compared byte
// for byte. The duplicate check is one hash look-up, whatever order the
// contacts arrived in (a reload delivers them in the database's own collation,
// which need not be byte order), so no list order has to be kept up.
class QSOList {
 public:
  void Add(TQSO contact) { contacts_.insert(std::move(contact)); }
  bool Contains(const TQSO& contact) const { return contacts_.contains(contact); }
  void Clear() { contacts_.clear(); }
  std::size_t size() const { return contacts_.size(); }

 private:
  struct Hash {
    std::size_t operator()(const TQSO& contact) const;
  };

  std::unordered_set<TQSO, Hash> contacts_;
};

}  // namespace zeltra
