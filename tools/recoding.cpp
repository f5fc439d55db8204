// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/recoding.h"

#include <iconv.h>

#include <cerrno>
#include <system_error>

namespace zorvik {

Recoding::Recoding(const std::string &encoding) : m_encoding(encoding)
{
    const char *name = encoding == "latin1" ? "ISO-8859-1" : "WINDOWS-1252";
    const iconv_t descriptor = iconv_open("UTF-8", name);
    if (descriptor == reinterpret_cast<iconv_t>(-1))
        throw std::system_error(errno, std::generic_category(), "iconv_open");
    m_iconv = descriptor;
}

Recoding::~Recoding()
{
    iconv_close(static_cast<iconv_t>(m_iconv));
}

std::optional<std::string_view> Recoding::convert(std::string_view piece)
{
    // A byte becomes at most three in UTF-8.
    m_converted.resize(3 * piece.size());
    char *in = const_cast<char *>(piece.data());
    std::size_t inLeft = piece.size();
    char *out = m_converted.data();
    std::size_t outLeft = m_converted.size();
    if (iconv(static_cast<iconv_t>(m_iconv), &in, &inLeft, &out, &outLeft) ==
        static_cast<std::size_t>(-1)) {
        const std::size_t at = m_offset + static_cast<std::size_t>(in - piece.data());
        m_error =
            "byte " + std::to_string(at + 1) + " of the input is no " + m_encoding + " character";
        return std::nullopt;
    }
    m_offset += piece.size();
    return std::string_view(m_converted.data(), m_converted.size() - outLeft);
}

} // namespace zorvik
