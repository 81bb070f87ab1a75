// FNV-1a over 64 bits, the one hash of bytes: the digest of the datafiles a
// recording names, a recording's checksum and the world hash.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint64_t FNV1A_BASIS = 14695981039346656037ull;

// Carries on from `h` (the basis for a fresh hash) over n bytes.
inline uint64_t fnv1a(const void *data, size_t n, uint64_t h = FNV1A_BASIS) {
  const auto *p = static_cast<const unsigned char *>(data);
  for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}
