// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zorvik {

// User text (an argument, a file name, a cell) in single quotes for one line of a message:
// always valid UTF-8, whatever the text holds, so that a message can neither break a terminal
// (an escape sequence, a NUL) nor split a character. Line ends and tabs read \n, \r and \t,
// other control characters and bytes that are not UTF-8 \xNN, C1 controls \u0080 to \u009f. A
// text of more than most characters is cut on a character boundary and ends in "…".
std::string quotedText(std::string_view text, std::size_t most = 60);

// How many characters of a file name quotedText keeps: paths run longer than other user text, and
// a name of any length must still make a message of a few hundred bytes at most.
constexpr std::size_t fileNameMost = 240;

// Whether quotedText would show text as it is: valid UTF-8 without control characters, of at
// most most characters.
bool isPlainText(std::string_view text, std::size_t most);

// The length of the UTF-8 character that starts text, 0 when it starts with no valid one.
std::size_t utf8CharacterLength(std::string_view text);

} // namespace zorvik
