#pragma once

#include <zlib.h>

#include <string>

namespace zeltra::robot {

// The bytes as gzip writes them.
inline std::string Gzip(const std::string& text) {
  constexpr int kGzipWindow = 15 + 16;  // zlib's window, with gzip's header
  constexpr int kMemoryLevel = 8;
  constexpr std::size_t kHeaderRoom = 32;
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWindow, kMemoryLevel,
               Z_DEFAULT_STRATEGY);
  std::string packed(deflateBound(&stream, text.size()) + kHeaderRoom, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  deflate(&stream, Z_FINISH);
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  return packed;
}

}  // namespace zeltra::robot
