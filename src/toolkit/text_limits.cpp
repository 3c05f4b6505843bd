#include "toolkit/text_limits.h"

#include "toolkit/conversions.h"

size_t utf16Length(std::string_view text) {
    size_t units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0) != 0x80; // one for each character
        units += byte >= 0xF0;          // and a second for one beyond the first plane
    }
    return units;
}

size_t characterStart(std::string_view text, size_t at) {
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        --at;
    return at;
}

std::string tooLongMessage(const char* where) {
    return std::string("The text is too long: ") + where + " holds at most " +
           IntToStr(kMaxTextLength) + " characters.";
}
