// Numbers as the gallery's captions show them.
#pragma once
#include <string>

namespace gallery {

// A value short enough for a small caption cell: as it is up to five digits, else three
// significant digits with k, M or G ("-2.15 G" for INT_MIN).
std::wstring CompactNumber(long long value);

}  // namespace gallery
