// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/conversions.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <regex>
#include <string>

using namespace zorvik;

namespace {

// Test names show the text with blanks and control characters escaped.
std::string visible(std::string_view text)
{
    std::string shown = "[";
    for (char c : text) {
        if (c > ' ' && c < 127) {
            shown += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
            shown += escaped;
        }
    }
    return shown + "]";
}

struct StrictCase {
    const char *text;
    std::optional<double> number;
};

void PrintTo(const StrictCase &c, std::ostream *os)
{
    *os << visible(c.text);
}

class StrictConversion : public testing::TestWithParam<StrictCase> {};

TEST_P(StrictConversion, ReadsOnlyWholeDecimalNumbers)
{
    const StrictCase &c = GetParam();
    std::optional<double> read = strictToNumber(c.text);
    ASSERT_EQ(read.has_value(), c.number.has_value()) << '"' << c.text << '"';
    if (c.number) {
        EXPECT_EQ(*read, *c.number) << '"' << c.text << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, StrictConversion,
    testing::Values(
        StrictCase{"7", 7}, StrictCase{"12.", 12}, StrictCase{".5", 0.5}, StrictCase{"-2.5", -2.5},
        StrictCase{"+3", 3}, StrictCase{"  42  ", 42}, StrictCase{"1e3", 1000},
        StrictCase{"1E-3", 0.001}, StrictCase{"2.5E+2", 250}, StrictCase{"0.1", 0.1},
        StrictCase{"007", 7}, StrictCase{"-0", 0}, StrictCase{"1E-400", 0},
        StrictCase{"1E308", 1e308}, StrictCase{"", std::nullopt}, StrictCase{" ", std::nullopt},
        StrictCase{".", std::nullopt}, StrictCase{"1.2.3", std::nullopt},
        StrictCase{"1..2", std::nullopt}, StrictCase{"-", std::nullopt},
        StrictCase{"+", std::nullopt}, StrictCase{"1 2", std::nullopt},
        StrictCase{"12abc", std::nullopt}, StrictCase{"abc", std::nullopt},
        StrictCase{"1,5", std::nullopt}, StrictCase{"1e", std::nullopt},
        StrictCase{"e5", std::nullopt}, StrictCase{"\t7", std::nullopt},
        StrictCase{"1E400", std::nullopt}, StrictCase{"1.79769313486232E+308", std::nullopt},
        StrictCase{"-1E400", std::nullopt}, StrictCase{"inf", std::nullopt},
        StrictCase{"nan", std::nullopt}, StrictCase{"0x10", std::nullopt},
        StrictCase{"1,000", std::nullopt}, StrictCase{"+.5", 0.5}, StrictCase{"-.5", -0.5},
        StrictCase{"1.e2", 100}, StrictCase{"+-5", std::nullopt}, StrictCase{"-+5", std::nullopt},
        StrictCase{"++1", std::nullopt}, StrictCase{"+inf", std::nullopt},
        StrictCase{"-nan", std::nullopt}, StrictCase{"infinity", std::nullopt},
        StrictCase{".e5", std::nullopt}, StrictCase{"1e+", std::nullopt},
        StrictCase{"1e+-5", std::nullopt}, StrictCase{"1e5.5", std::nullopt},
        StrictCase{"-e5", std::nullopt}));

// Random texts over the characters the grammar is made of: the strict conversion accepts
// exactly those the grammar describes within the double range, and reads them as the lenient
// conversion does.
TEST(StrictConversion, AcceptsExactlyTheGrammar)
{
    const std::regex grammar(R"( *[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)? *)");
    const std::string alphabet = "0123456789..++--eE  infa";
    std::mt19937 random(14);
    for (int round = 0; round < 200000; ++round) {
        std::string text(random() % 9, ' ');
        for (char &c : text)
            c = alphabet[random() % alphabet.size()];
        std::optional<double> read = strictToNumber(text);
        double lenient = lenientToNumber(text);
        // A number beyond the double range is grammatical but no number.
        bool expected = std::regex_match(text, grammar) && !std::isinf(lenient);
        ASSERT_EQ(read.has_value(), expected) << visible(text);
        if (read) {
            ASSERT_EQ(*read, lenient) << visible(text);
        }
    }
}

// Long plain decimals, around the most digits a double holds exactly and the most places after
// the point, read bit for bit as the C library reads them.
TEST(StrictConversion, ReadsLongDecimalsAsTheLibraryDoes)
{
    std::mt19937 random(53);
    for (int round = 0; round < 200000; ++round) {
        std::string text = random() % 4 == 0 ? "-" : "";
        const std::size_t digits = 1 + random() % 26;
        const std::size_t point = random() % (digits + 1);
        for (std::size_t i = 0; i < digits; ++i) {
            if (i == point)
                text += '.';
            text += static_cast<char>(random() % 3 == 0 ? '9' : '0' + random() % 10);
        }
        const std::optional<double> read = strictToNumber(text);
        ASSERT_TRUE(read) << text;
        const double expected = std::strtod(text.c_str(), nullptr);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(*read), std::bit_cast<std::uint64_t>(expected))
            << text;
    }
}

struct LenientCase {
    const char *text;
    double number;
};

void PrintTo(const LenientCase &c, std::ostream *os)
{
    *os << visible(c.text);
}

class LenientConversion : public testing::TestWithParam<LenientCase> {};

TEST_P(LenientConversion, ReadsTheLeadingNumberAndNeverFails)
{
    EXPECT_EQ(lenientToNumber(GetParam().text), GetParam().number) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, LenientConversion,
    testing::Values(LenientCase{"", 0}, LenientCase{".", 0}, LenientCase{"1.2.3", 1.2},
                    LenientCase{"12abc", 12}, LenientCase{"abc", 0}, LenientCase{"1 2", 12},
                    LenientCase{" \t1\n0 ", 10}, LenientCase{"-3.5", -3.5}, LenientCase{"- 3", -3},
                    LenientCase{"2e3", 2000}, LenientCase{"2e", 2}, LenientCase{"2e+", 2},
                    LenientCase{"1..2", 1}, LenientCase{"+.5", 0.5}, LenientCase{"--1", 0},
                    LenientCase{"1E-400", 0}, LenientCase{"104", 104}));

TEST(LenientConversion, OverflowReadsAsInfinity)
{
    EXPECT_EQ(lenientToNumber("1E400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(lenientToNumber("-1E400"), -std::numeric_limits<double>::infinity());
}

struct TextCase {
    double number;
    const char *text;
};

void PrintTo(const TextCase &c, std::ostream *os)
{
    *os << c.text;
}

class NumberToText : public testing::TestWithParam<TextCase> {};

TEST_P(NumberToText, WritesFifteenSignificantDigitsInGeneralFormat)
{
    EXPECT_EQ(numberToText(GetParam().number), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumberToText,
    testing::Values(TextCase{150, "150"}, TextCase{0.5, "0.5"}, TextCase{-2.5, "-2.5"},
                    TextCase{1.0 / 3, "0.333333333333333"}, TextCase{2.0 / 3, "0.666666666666667"},
                    TextCase{1000.0 / 3, "333.333333333333"},
                    TextCase{123456789012345, "123456789012345"}, TextCase{1e15, "1E+15"},
                    TextCase{2e15, "2E+15"}, TextCase{0.0001, "0.0001"}, TextCase{0.00001, "1E-05"},
                    TextCase{1e-300, "1E-300"}, TextCase{-0.0, "0"}, TextCase{0, "0"},
                    TextCase{1e100, "1E+100"}, TextCase{999999999999999.5, "1E+15"},
                    TextCase{-1.5e-7, "-1.5E-07"}, TextCase{0.00012345, "0.00012345"},
                    TextCase{5e-324, "4.94065645841247E-324"},
                    TextCase{1.7976931348623157e308, "1.79769313486232E+308"},
                    TextCase{954.5454545454545, "954.545454545455"}, TextCase{100, "100"},
                    TextCase{0.1 + 0.2, "0.3"}, TextCase{-5, "-5"},
                    TextCase{999999999999999, "999999999999999"},
                    TextCase{-999999999999999, "-999999999999999"},
                    TextCase{4503599627370497, "4.5035996273705E+15"}));

TEST(NumberToText, ReadsBackAsTheSameNumber)
{
    for (double number : {2e15, 1.0 / 3, 6944.444444444444, -1e-300, 0.0333333333333333}) {
        std::string text = numberToText(number);
        std::optional<double> back = strictToNumber(text);
        ASSERT_TRUE(back) << text;
        EXPECT_EQ(numberToText(*back), text);
    }
}

// printf's %.15G under the "C" locale writes the same text, so it judges random doubles of every
// magnitude, subnormals and whole numbers included: the digits, where the fixed form ends and the
// exponent form.
TEST(NumberToText, MatchesFifteenDigitGeneralFormatForRandomDoubles)
{
    const char *previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
    std::mt19937_64 bits(20240611);
    int compared = 0;
    while (compared < 100000) {
        std::uint64_t word = bits();
        // Every other one within 2^-20 to 2^54, where the fixed form and both its ends lie.
        if (word & 1)
            word = (word & 0x800FFFFFFFFFFFFFu) | (std::uint64_t{1003 + (word >> 53) % 75} << 52);
        double number = std::bit_cast<double>(word);
        // A third are whole numbers, most of them below 10 to the power 15, some above.
        if (word % 3 == 2)
            number = std::trunc(number);
        if (!std::isfinite(number) || number == 0)
            continue;
        ++compared;
        char expected[40];
        std::snprintf(expected, sizeof expected, "%.15G", number);
        const std::string text = numberToText(number);
        ASSERT_EQ(text, expected) << std::hexfloat << number;

        std::optional<double> back = strictToNumber(text);
        if (std::fabs(number) >= 1.797693134862315e308) {
            EXPECT_FALSE(back) << text; // rounded beyond the largest double
            continue;
        }
        ASSERT_TRUE(back) << text;
        EXPECT_EQ(*back, std::strtod(expected, nullptr)) << text;
        EXPECT_EQ(numberToText(*back), text);
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

// Number texts are the system's data, not messages: a locale with a decimal comma must not
// turn "0.5" into "0,5" or make "0.5" unreadable.
TEST(Conversions, IgnoreTheProcessLocale)
{
    const char *previous = std::setlocale(LC_ALL, nullptr);
    std::string saved = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 locale missing";
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.1f", 0.5);
    EXPECT_STREQ(printed, "0,5"); // the locale is really in force

    EXPECT_EQ(strictToNumber("0.5"), 0.5);
    EXPECT_FALSE(strictToNumber("0,5"));
    EXPECT_EQ(lenientToNumber("1.25"), 1.25);
    EXPECT_EQ(numberToText(0.5), "0.5");
    EXPECT_EQ(numberToText(954.5454545454545), "954.545454545455");
    EXPECT_EQ(numberToText(1.5e-7), "1.5E-07");
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
