#include "tools/robot/store/Sha256.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <stdexcept>

namespace zeltra::robot {

void Sha256Hasher::Free::operator()(evp_md_ctx_st* context) const {
  EVP_MD_CTX_free(context);
}

Sha256Hasher::Sha256Hasher() : context_(EVP_MD_CTX_new()) {
  if (!context_ || EVP_DigestInit_ex(context_.get(), EVP_sha256(), nullptr) != 1)
    throw std::runtime_error("SHA-256 is not available");
}

void Sha256Hasher::Add(std::string_view bytes) {
  EVP_DigestUpdate(context_.get(), bytes.data(), bytes.size());
}

std::string Sha256Hasher::Finish() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(context_.get(), digest, &length);
  return Hex(digest, length);
}

std::string Hex(const unsigned char* bytes, std::size_t count) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    hex += kHex[bytes[i] >> 4];
    hex += kHex[bytes[i] & 0xF];
  }
  return hex;
}

void LoadHashing() {
  OPENSSL_init_crypto(OPENSSL_INIT_LOAD_CONFIG, nullptr);
}

std::string Sha256(std::string_view bytes) {
  Sha256Hasher hasher;
  hasher.Add(bytes);
  return hasher.Finish();
}

}  // namespace zeltra::robot
