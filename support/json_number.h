#pragma once
// How a number held by a document reads as a 64-bit integer. Parse only ever
// stores int64 values, but code may put other number kinds into a document;
// they read (and are written) as the nearest int64, fractions cut off.

#include <cmath>
#include <cstdint>
#include <limits>

#include "support/json_document.h"

namespace Json {

inline int64_t NumberAsInt64(const Document& number) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  if (number.is_number_integer() && !number.is_number_unsigned()) {
    return number.get<int64_t>();
  }
  if (number.is_number_unsigned()) {
    const uint64_t value = number.get<uint64_t>();
    return value > static_cast<uint64_t>(kMax) ? kMax : static_cast<int64_t>(value);
  }
  if (number.is_number_float()) {
    // Casting a double outside int64 (or NaN) is undefined: clamp first.
    const double value = number.get<double>();
    if (std::isnan(value)) return 0;
    if (value >= 9223372036854775808.0) return kMax;
    if (value < -9223372036854775808.0) return kMin;
    return static_cast<int64_t>(value);
  }
  return 0;
}

}  // namespace Json
