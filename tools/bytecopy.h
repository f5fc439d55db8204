// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstring>

namespace zorvik {

// Copies size bytes from in to out. Cells are mostly numbers of a dozen bytes or so, which two
// overlapping copies of a fixed size take for less than a call of memcpy.
inline void copyBytes(char *out, const char *in, std::size_t size)
{
    if (size >= 8 && size <= 16) {
        std::memcpy(out, in, 8);
        std::memcpy(out + size - 8, in + size - 8, 8);
    } else if (size >= 4 && size < 8) {
        std::memcpy(out, in, 4);
        std::memcpy(out + size - 4, in + size - 4, 4);
    } else if (size > 0) {
        std::memcpy(out, in, size);
    }
}

} // namespace zorvik
