#pragma once

#include <cstdint>
#include <string_view>

namespace nagitori {

// Reads an integer value of a profile file: blanks, an optional sign, then decimal digits or hexadecimal
// digits after "$", "x", "X", "0x" or "0X"; nothing may follow the digits. A decimal number must fit a
// signed 32-bit integer; a hexadecimal one is a 32-bit two's-complement pattern ("$FFFFFFFF" is -1).
// Anything else gives the fallback.
std::int32_t ParseProfileInteger(std::string_view text, std::int32_t fallback);

}  // namespace nagitori
