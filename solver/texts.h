// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// The parts one after the other, separator between them and last between the final two, so a
// list reads "a, b and c".
template <typename Parts>
std::string joined(const Parts &parts, std::string_view separator, std::string_view last)
{
    std::string text;
    std::size_t i = 0;
    for (const auto &part : parts) {
        if (i > 0)
            text += i + 1 == std::size(parts) ? last : separator;
        text += part;
        ++i;
    }
    return text;
}

template <typename Parts> std::string joined(const Parts &parts, std::string_view separator = ", ")
{
    return joined(parts, separator, separator);
}

// The text's lines, without their line ends; a final line end starts no empty line.
inline std::vector<std::string> linesOf(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

} // namespace zorvik
