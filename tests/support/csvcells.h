// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/csvreader.h"

#include <span>
#include <string>
#include <string_view>

namespace zorvik::test {

// One cell as a batch writes it, without the row's line end.
inline void appendCsvCell(std::string &out, std::string_view cell, char separator = ',')
{
    const std::string cells[] = {std::string(cell)};
    zorvik::appendCsvRow(out, {}, cells, separator);
    out.pop_back();
}

inline void appendCsvRow(std::string &out, std::span<const std::string> cells, char separator = ',')
{
    zorvik::appendCsvRow(out, {}, cells, separator);
}

} // namespace zorvik::test
