// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorvik {

// Reads a whole field text as a decimal number: optional surrounding spaces, an optional sign,
// digits with at most one decimal point (at least one digit), an optional exponent. Anything
// else, and a number beyond the double range, is no number. Tiny numbers read as 0 or the
// nearest subnormal. The decimal separator is always ".", whatever the process locale says.
std::optional<double> strictToNumber(std::string_view text);

// Reads as much of a number as the text starts with, skipping blanks wherever they occur;
// 0 when no digit is read. Never fails. A number beyond the double range reads as an infinity.
double lenientToNumber(std::string_view text);

// At most 15 significant digits, general format: fixed for decimal exponents -4 to 14,
// otherwise scientific with "E", a sign and at least two exponent digits. The number must be
// finite.
std::string numberToText(double number);

// A whole number with a space between thousands, as messages write sizes and results: 10 485 760.
std::string groupedWholeNumber(unsigned long long number);

// number rounded to digits significant decimal digits (1 to 17), halves away from zero as
// decimal text rounds them: 1515.151515 to 6 is 1515.15. A number that is not finite is itself.
double roundedToSignificant(double number, int digits);

// The same text written into buffer, which must hold numberTextMax characters; returns its end.
constexpr std::size_t numberTextMax = 32;
char *writeNumberText(double number, char *buffer);

} // namespace zorvik
