#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A user's or the system's text inside one of Tarvel's messages: made
// visible, cut to whole characters, and isolated, so that nothing in it can
// reorder, cut or end the sentence around it. Texts are UTF-8.

// A text with every invisible character that would cut, end or turn it
// around shown as U+FFFD: control characters and the direction marks,
// embeddings, overrides and isolates. As a cell draws its text.
std::string visibleText(std::string_view text);

// A user's text as a message quotes it: between apostrophes, at most
// `maxBytes` of it (whole characters), made visible, and inside a
// directional isolate, so that nothing in it reorders or cuts the sentence
// around it. Cell texts keep 40 bytes; a file's name keeps more.
std::string quotedText(std::string_view text, size_t maxBytes = 40);
inline constexpr size_t kQuotedNameBytes = 240;

// The same without the apostrophes: for a text the system wrote, such as the
// reason a file could not be read.
std::string isolatedText(std::string_view text, size_t maxBytes = kQuotedNameBytes);
