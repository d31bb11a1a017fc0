#pragma once

#include <cstddef>

namespace zeltra {

// How many bytes the readers of files take from a stream at a time. Fuzz
// builds read a few bytes at a time (ZELTRA_READ_CHUNK), so that the short
// inputs a fuzzer makes reach every path that refills a buffer.
#ifdef ZELTRA_READ_CHUNK
inline constexpr std::size_t kReadChunk = ZELTRA_READ_CHUNK;
#else
inline constexpr std::size_t kReadChunk = std::size_t{1} << 16;
#endif
static_assert(kReadChunk >= 16, "a chunk holds at least a short tag");

}  // namespace zeltra
