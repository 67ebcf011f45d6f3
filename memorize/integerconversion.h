#pragma once
// Reading a whole number typed by the user (the percentage, the number of
// presses, a font size).
//
// Accepted: leading spaces, an optional sign, then either decimal digits or a
// hexadecimal number introduced by $, x, X, 0x or 0X, and nothing after the
// digits. A decimal number must fit a signed 32-bit integer. A hexadecimal one
// may have up to eight digits and is read as 32 bits, so $FFFFFFFF is -1; a
// minus sign in front then negates that value, wrapping like 32-bit
// arithmetic (-$80000000 stays -2147483648).
//
// Everything else (empty text, trailing spaces, thousands or decimal
// separators, letters, out-of-range values) raises Exception with
// "'<text>' is not a valid integer value" (a NUL in the text shows as U+2400).

#include <cstdint>
#include <string_view>

std::int32_t parseInteger(std::string_view text);
