#include "toolkit/message_text.h"

#include "toolkit/utf8.h"

std::string visibleText(std::string_view text) {
    const std::string_view replacement = "\xef\xbf\xbd"; // U+FFFD
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = [&](size_t k) {
            return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
        };
        // U+200E, U+200F, U+202A..U+202E, U+2066..U+2069 and U+061C, in UTF-8.
        const size_t direction =
            byte == 0xE2 && next(1) == 0x80 &&
                    (next(2) == 0x8E || next(2) == 0x8F || (next(2) >= 0xAA && next(2) <= 0xAE))
                ? 3
            : byte == 0xE2 && next(1) == 0x81 && next(2) >= 0xA6 && next(2) <= 0xA9 ? 3
            : byte == 0xD8 && next(1) == 0x9C                                       ? 2
                                                                                    : 0;
        if (byte < 32 || byte == 127) {
            out += replacement; // a control character shows, and a NUL ends nothing
        } else if (direction) {
            out += replacement;
            i += direction - 1;
        } else {
            out += char(byte);
        }
    }
    return out;
}

std::string isolatedText(std::string_view text, size_t maxBytes) {
    const size_t cut = text.size() > maxBytes ? characterStart(text, maxBytes) : text.size();
    std::string out = "\xe2\x81\xa8"; // U+2068, first strong isolate
    out += visibleText(text.substr(0, cut));
    if (cut < text.size())
        out += "\xe2\x80\xa6";   // an ellipsis
    return out + "\xe2\x81\xa9"; // U+2069, pop directional isolate
}

std::string quotedText(std::string_view text, size_t maxBytes) {
    std::string quoted(1, '\'');
    quoted += isolatedText(text, maxBytes);
    quoted += '\'';
    return quoted;
}
