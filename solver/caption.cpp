// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/caption.h"

namespace zorvik {

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string_view labelOf(std::string_view caption)
{
    caption = trimmed(caption);
    if (caption.ends_with(':'))
        caption = trimmed(caption.substr(0, caption.size() - 1));
    return caption;
}

} // namespace

std::string captionLabel(std::string_view caption)
{
    return std::string(labelOf(caption));
}

std::string captionName(std::string_view caption)
{
    caption = labelOf(caption);
    if (!caption.ends_with(')'))
        return std::string(caption);
    std::size_t open = caption.size() - 1;
    for (int depth = 0;; --open) {
        depth += caption[open] == ')' ? 1 : caption[open] == '(' ? -1 : 0;
        if (depth == 0)
            break;
        if (open == 0)
            return std::string(caption);
    }
    const std::string_view name = trimmed(caption.substr(0, open));
    const std::string_view inside = trimmed(caption.substr(open + 1, caption.size() - open - 2));
    if (name.empty())
        return std::string(caption);
    if (inside.find(' ') == std::string_view::npos)
        return std::string(name);
    // "UnCut Chip Area (1 Edge (mm2) )": the words stay, the unit inside them goes.
    return std::string(name) + " (" + captionName(inside) + ")";
}

} // namespace zorvik
