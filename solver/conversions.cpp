// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/conversions.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
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

// Eight characters read as one word: whether all are digits, and their value. Computed results
// are written with fifteen significant digits, so most texts are mostly digits, and a word at a
// time takes them at a fraction of the cost of one at a time.
bool eightDigits(const char *text)
{
    std::uint64_t word;
    std::memcpy(&word, text, sizeof word);
    return ((word & 0xF0F0F0F0F0F0F0F0) |
            (((word + 0x0606060606060606) & 0xF0F0F0F0F0F0F0F0) >> 4)) == 0x3333333333333333;
}

std::uint64_t eightDigitsValue(const char *text)
{
    std::uint64_t word;
    std::memcpy(&word, text, sizeof word);
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap64(word);
    word = (word & 0x0F0F0F0F0F0F0F0F) * 2561 >> 8;
    word = (word & 0x00FF00FF00FF00FF) * 6553601 >> 16;
    return (word & 0x0000FFFF0000FFFF) * 42949672960001 >> 32;
}

// Appends the digits from text on to value, up to end or the first other character, which it
// returns.
[[gnu::always_inline]] inline const char *takeDigits(const char *text, const char *end,
                                                     std::uint64_t &value)
{
    for (; end - text >= 8 && eightDigits(text); text += 8)
        value = value * 100000000 + eightDigitsValue(text);
    for (; text != end && isDigit(*text); ++text)
        value = value * 10 + static_cast<unsigned>(*text - '0');
    return text;
}

// Most texts a page holds are plain decimals ("52.5", "0.3", "954.929658551372"): those whose
// digits form an integer a double holds exactly, with at most 22 after the point, are that
// integer divided by a power of ten that a double also holds exactly, and one division rounds
// correctly, so the value is the one the full conversion gives, at a fraction of its cost.
// Anything else, a sign or an exponent included, is left to the full conversion.
std::optional<double> plainDecimal(const char *first, const char *last)
{
    static constexpr double powersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    // Nineteen digits always fit the integer.
    if (last - first > 19)
        return std::nullopt;
    std::uint64_t digits = 0;
    const char *at = takeDigits(first, last, digits);
    std::ptrdiff_t afterPoint = 0;
    if (at != last) {
        if (*at != '.' || last - first == 1)
            return std::nullopt;
        if (takeDigits(at + 1, last, digits) != last)
            return std::nullopt;
        afterPoint = last - at - 1;
    }
    if (digits > (std::uint64_t(1) << 53))
        return std::nullopt;
    return static_cast<double>(digits) / powersOfTen[afterPoint];
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
    if (const std::optional<double> plain = plainDecimal(mantissa, last))
        return mantissa == first ? *plain : -*plain;
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
    // The shortest text that reads back as the number is the decimal it stands for: 1.2345 is
    // stored a little below, and 30625 exactly, yet both are halves to a reader, who rounds them
    // up. Rounding the binary value itself would take the first down and the second to even.
    char buffer[40];
    char *end =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific).ptr;
    char *first = buffer + (*buffer == '-');
    char *exponent = std::find(first, end, 'e');
    std::string mantissa(first, exponent);
    std::erase(mantissa, '.');
    const auto kept = static_cast<std::size_t>(std::clamp(digits, 1, 17));
    if (mantissa.size() <= kept)
        return number;
    const bool up = mantissa[kept] >= '5';
    mantissa.resize(kept);
    int power = 0;
    std::from_chars(exponent + 1 + (exponent[1] == '+'), end, power);
    if (up) {
        std::size_t at = kept;
        while (at > 0 && mantissa[at - 1] == '9')
            mantissa[--at] = '0';
        if (at == 0) {
            mantissa.insert(mantissa.begin(), '1');
            mantissa.pop_back();
            ++power;
        } else {
            ++mantissa[at - 1];
        }
    }
    const std::string text =
        (number < 0 ? "-" : "") + mantissa + "e" + std::to_string(power - int(kept) + 1);
    double rounded = number;
    std::from_chars(text.data(), text.data() + text.size(), rounded, std::chars_format::scientific);
    return rounded;
}

std::string groupedWholeNumber(unsigned long long number)
{
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ' ';
        grouped += digits[i];
    }
    return grouped;
}

} // namespace zorvik
