#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct evp_md_ctx_st;

namespace zeltra::robot {

// SHA-256 of bytes that come piece by piece, in lower-case hex at the end.
class Sha256Hasher {
 public:
  Sha256Hasher();
  void Add(std::string_view bytes);
  // The hash of all that was added; the hasher is spent.
  std::string Finish();

 private:
  struct Free {
    void operator()(evp_md_ctx_st* context) const;
  };
  std::unique_ptr<evp_md_ctx_st, Free> context_;
};

// Loads the hashing library's settings on the calling thread: called once
// before threads of a server hash, so that none of them holds the
// library's start-up state for the rest of its life.
void LoadHashing();

// Bytes in lower-case hex, two digits each.
std::string Hex(const unsigned char* bytes, std::size_t count);

// SHA-256 of bytes, in lower-case hex.
std::string Sha256(std::string_view bytes);

}  // namespace zeltra::robot
