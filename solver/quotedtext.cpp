// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/quotedtext.h"

namespace zorvik {

namespace {

constexpr char hexDigits[] = "0123456789abcdef";

std::string hexByte(unsigned char byte)
{
    return {'\\', 'x', hexDigits[byte >> 4], hexDigits[byte & 15]};
}

// The length of the character text starts with when a message can show it as it is, else 0.
std::size_t plainLength(std::string_view text)
{
    const std::size_t length = utf8CharacterLength(text);
    const auto byte = static_cast<unsigned char>(text[0]);
    if (length == 0 || byte < 0x20 || byte == 0x7F ||
        (byte == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0))
        return 0;
    return length;
}

} // namespace

std::size_t utf8CharacterLength(std::string_view text)
{
    if (text.empty())
        return 0;
    const auto *byte = reinterpret_cast<const unsigned char *>(text.data());
    const unsigned char lead = byte[0];
    if (lead < 0x80)
        return 1;
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF; // the range of the first continuation byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;   // overlong
        high = lead == 0xED ? 0x9F : high; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;   // overlong
        high = lead == 0xF4 ? 0x8F : high; // beyond U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte[1] < low || byte[1] > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte[i] & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

std::string quotedText(std::string_view text, std::size_t most)
{
    std::string line = "'";
    std::size_t characters = 0;
    while (!text.empty()) {
        if (characters++ == most) {
            line += "…";
            break;
        }
        const std::size_t plain = plainLength(text);
        const std::size_t length = utf8CharacterLength(text);
        const auto byte = static_cast<unsigned char>(text[0]);
        if (plain > 0)
            line += text.substr(0, plain);
        else if (length == 0)
            line += hexByte(byte);
        else if (byte == '\n')
            line += "\\n";
        else if (byte == '\r')
            line += "\\r";
        else if (byte == '\t')
            line += "\\t";
        else if (byte < 0x80)
            line += hexByte(byte);
        else
            line += "\\u00" + hexByte(static_cast<unsigned char>(text[1])).substr(2);
        text.remove_prefix(length == 0 ? 1 : length);
    }
    return line + "'";
}

bool isPlainText(std::string_view text, std::size_t most)
{
    for (std::size_t characters = 0; !text.empty(); ++characters) {
        const std::size_t length = plainLength(text);
        if (length == 0 || characters == most)
            return false;
        text.remove_prefix(length);
    }
    return true;
}

} // namespace zorvik
