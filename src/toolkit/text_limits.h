#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest text a user may put into a box or a cell, in characters (UTF-16
// code units, as Qt counts them: toolkit/utf8's utf16Length). The longest a handler writes is about
// 6,000 (the Result at the largest degree); at this length a keystroke and its repaint still take
// under 10 ms, and the time grows with the length.
inline constexpr int kMaxTextLength = 32768;

// The message for a text offered where it does not fit; `where` names the
// place ("a box", "a cell").
std::string tooLongMessage(const char* where);
