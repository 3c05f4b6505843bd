#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest text a user may put into a box or a cell, in characters (UTF-16
// code units, as Qt counts them). The longest a handler writes is about 6,000
// (the Result at the largest degree); at this length a keystroke and its
// repaint still take under 10 ms, and the time grows with the length.
inline constexpr int kMaxTextLength = 32768;

// The length of a UTF-8 text in UTF-16 code units.
size_t utf16Length(std::string_view text);

// Where the UTF-8 character that byte `at` belongs to starts: a text cut
// there never ends in half a character.
size_t characterStart(std::string_view text, size_t at);

// The message for a text offered where it does not fit; `where` names the
// place ("a box", "a cell").
std::string tooLongMessage(const char* where);
