// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/conversions.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <string>

namespace zorvik {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Converts text already known to match the number grammar. from_chars is locale-free and
// correctly rounded; it reports both overflow and underflow as out of range, so those two are
// told apart here by the size of the decimal exponent.
double parseValidated(std::string_view text)
{
    double value = 0;
    const char *first = text.data();
    const char *last = text.data() + text.size();
    if (!text.empty() && text.front() == '+')
        ++first;
    auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    assert(end == last);
    if (error != std::errc::result_out_of_range)
        return value;

    // Position of the first significant digit relative to the decimal point, plus the exponent.
    bool negative = text.front() == '-';
    long long digitsBeforePoint = 0;
    long long leadingFractionZeros = 0;
    bool seenPoint = false;
    bool seenSignificant = false;
    std::size_t i = (text.front() == '-' || text.front() == '+') ? 1 : 0;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        char c = text[i];
        if (c == '.') {
            seenPoint = true;
        } else if (c != '0' || seenSignificant) {
            seenSignificant = true;
            if (!seenPoint)
                ++digitsBeforePoint;
        } else if (seenPoint) {
            ++leadingFractionZeros;
        }
    }
    long long exponent = 0;
    if (i < text.size()) {
        std::string_view digits = text.substr(i + 1);
        bool expNegative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (char c : digits) {
            exponent = exponent * 10 + (c - '0');
            if (exponent > 100000000)
                break;
        }
        if (expNegative)
            exponent = -exponent;
    }
    long long magnitude =
        digitsBeforePoint > 0 ? digitsBeforePoint + exponent : exponent - leadingFractionZeros;
    if (magnitude > 0)
        return negative ? -HUGE_VAL : HUGE_VAL;
    return negative ? -0.0 : 0.0;
}

// Length of the longest prefix of text that is a number: sign, digits and at most one point
// with at least one digit, then an exponent only if it has digits. 0 when there is none.
std::size_t numberPrefix(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        std::size_t expStart = j;
        while (j < text.size() && isDigit(text[j]))
            ++j;
        if (j > expStart)
            i = j;
    }
    return i;
}

} // namespace

std::optional<double> strictToNumber(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    // from_chars reads exactly this grammar once a leading "+" is taken off, except that it also
    // reads "inf" and "nan": so a digit or a point must follow the sign. Scanning the text for
    // the grammar first would cost about as much as the conversion.
    const char *first = text.data();
    const char *last = first + text.size();
    const char *mantissa = first;
    if (mantissa != last && *mantissa == '+')
        first = ++mantissa;
    else if (mantissa != last && *mantissa == '-')
        ++mantissa;
    if (mantissa == last || !(isDigit(*mantissa) || *mantissa == '.'))
        return std::nullopt;
    double value = 0;
    auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (end != last || error == std::errc::invalid_argument)
        return std::nullopt;
    if (error == std::errc::result_out_of_range)
        value = parseValidated(text);
    if (std::isinf(value))
        return std::nullopt;
    return value;
}

double lenientToNumber(std::string_view text)
{
    auto isSkipped = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
    std::string compact;
    if (std::any_of(text.begin(), text.end(), isSkipped)) {
        compact.reserve(text.size());
        std::remove_copy_if(text.begin(), text.end(), std::back_inserter(compact), isSkipped);
        text = compact;
    }
    std::size_t length = numberPrefix(text);
    if (length == 0)
        return 0;
    return parseValidated(text.substr(0, length));
}

char *writeNumberText(double number, char *buffer)
{
    assert(std::isfinite(number));
    if (number == 0) {
        *buffer = '0';
        return buffer + 1;
    }

    // A whole number below 10 to the power 15 has at most 15 digits: the general format writes
    // it exactly as its integer digits. Many results are whole, and this is far cheaper.
    if (std::fabs(number) < 1e15 && std::trunc(number) == number)
        return std::to_chars(buffer, buffer + numberTextMax, static_cast<long long>(number)).ptr;

    // The general format writes an exponent with a sign and at least two digits, like printf's
    // %G, and without its locale.
    char *end =
        std::to_chars(buffer, buffer + numberTextMax, number, std::chars_format::general, 15).ptr;
    // An exponent is never longer than "e-308", so its letter is among the last five characters.
    char *stop = end - std::min<std::ptrdiff_t>(end - buffer, 5);
    for (char *c = end - 1; c >= stop; --c) {
        if (*c == 'e') {
            *c = 'E';
            break;
        }
    }
    return end;
}

std::string numberToText(double number)
{
    char buffer[numberTextMax];
    return std::string(buffer, writeNumberText(number, buffer));
}

double roundedToSignificant(double number, int digits)
{
    if (!std::isfinite(number) || number == 0)
        return number;
    char buffer[40];
    const int precision = std::clamp(digits, 1, 17) - 1;
    char *end = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific,
                              precision)
                    .ptr;
    double rounded = number;
    std::from_chars(buffer, end, rounded, std::chars_format::scientific);
    return rounded;
}

} // namespace zorvik
