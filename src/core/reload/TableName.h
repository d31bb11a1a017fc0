#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "core/text/Ascii.h"

namespace zeltra {

// Words a database reserves, matched without regard to ASCII letter case.
class SqlKeywords {
 public:
  // Adds the words of a comma-separated list.
  void Add(std::string_view commaSeparated);
  bool Contains(std::string_view word) const;

 private:
  std::unordered_set<std::string, AsciiCaseInsensitiveHash, AsciiCaseInsensitiveEqual> words_;
};

// How a query names the table called name, so that the database reads that
// table and nothing else. A plain name (a letter or "_", then letters,
// digits and "_"), and a dotted schema-qualified name of such parts, stand
// as they are, as do parts already quoted, with quote or in brackets. A
// part that is a reserved word is quoted by itself. Any other name is
// quoted whole with quote, each quote inside it doubled, so that blanks,
// punctuation or SQL inside it are part of the name. Blanks around the name
// are no part of it. quote: the database's identifier quote character;
// empty when it has none, and the name then stands as it is.
std::string TableReference(std::string_view name, std::string_view quote,
                           const SqlKeywords& keywords);

}  // namespace zeltra
