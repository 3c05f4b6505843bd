#include "toolkit/utf8.h"

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

size_t sequenceLength(unsigned char lead) {
    return lead < 0x80           ? 1
           : (lead >> 5) == 0x06 ? 2
           : (lead >> 4) == 0x0E ? 3
           : (lead >> 3) == 0x1E ? 4
                                 : 0;
}

size_t utf16Length(std::string_view text) {
    size_t units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        units += !isContinuation(byte); // one for each character
        units += byte >= 0xF0;          // and a second for one beyond the first plane
    }
    return units;
}

size_t characterStart(std::string_view text, size_t at) {
    while (at > 0 && isContinuation(static_cast<unsigned char>(text[at])))
        --at;
    return at;
}
