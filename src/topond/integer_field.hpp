#pragma once
// A fixed integer field ("I2", "I4"): blanks anywhere are ignored, an all-blank field is zero,
// otherwise an optional sign and digits.
#include <cstdint>
#include <string_view>

namespace qv {

// False when the field is not an integer (or does not fit in 32 bits).
inline bool parse_integer_field(std::string_view field, std::int32_t& out) {
  std::int64_t value = 0;
  int sign = 1;
  bool digits = false, signed_ = false;
  for (char c : field) {
    if (c == ' ') continue;
    if ((c == '+' || c == '-') && !digits && !signed_) {
      signed_ = true;
      sign = c == '-' ? -1 : 1;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      value = value * 10 + (c - '0');
      if (value > 2147483648LL) return false;
    } else {
      return false;
    }
  }
  if (signed_ && !digits) return false;
  value *= sign;
  if (value > 2147483647LL || value < -2147483648LL) return false;
  out = static_cast<std::int32_t>(value);
  return true;
}

}  // namespace qv
