// The bytes of a fuzz input, taken field by field; a short input reads as zeros.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

struct FuzzInput {
  const uint8_t* p;
  size_t n;
  template <class T>
  T Take() {
    T v{};
    const size_t k = n < sizeof(T) ? n : sizeof(T);
    std::memcpy(&v, p, k);
    p += k, n -= k;
    return v;
  }
};
