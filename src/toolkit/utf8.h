#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8, the encoding of every text inside Tarvel: its characters written,
// stepped over and counted as Qt counts them.

// Appends the character `code` in UTF-8.
void appendUtf8(std::string& out, char32_t code);

// How many bytes the UTF-8 character that starts with `lead` takes, 1 to 4;
// 0 for a byte no character starts with.
size_t sequenceLength(unsigned char lead);

// Whether `byte` continues a character rather than starting one.
inline bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of a UTF-8 text in UTF-16 code units.
size_t utf16Length(std::string_view text);

// Where the UTF-8 character that byte `at` belongs to starts: a text cut
// there never ends in half a character.
size_t characterStart(std::string_view text, size_t at);
