// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zorvik {

// Converts input in a single-byte encoding a spreadsheet writes ("windows-1252", "latin1") to
// UTF-8, piece by piece, with the C library's iconv.
class Recoding {
public:
    explicit Recoding(const std::string &encoding);
    ~Recoding();
    Recoding(const Recoding &) = delete;
    Recoding &operator=(const Recoding &) = delete;

    // The piece in UTF-8, valid until the next call; none when a byte has no character in the
    // encoding, and then error() says which.
    std::optional<std::string_view> convert(std::string_view piece);
    const std::string &error() const { return m_error; }

private:
    void *m_iconv;
    std::string m_encoding;
    std::string m_converted;
    std::size_t m_offset = 0; // of the piece in the input
    std::string m_error;
};

} // namespace zorvik
