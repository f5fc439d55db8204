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

} // namespace zorvik
