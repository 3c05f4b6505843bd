#include "toolkit/utf8.h"

#include <gtest/gtest.h>

namespace {

// Qt counts UTF-16 code units: a character beyond the first plane takes two.
TEST(Utf8, CountsCharactersAsQtDoes) {
    EXPECT_EQ(utf16Length(""), 0u);
    EXPECT_EQ(utf16Length("abc"), 3u);
    EXPECT_EQ(utf16Length("\xc3\xa9\xe2\x82\xac"), 2u); // é €
    EXPECT_EQ(utf16Length("a\xf0\x9f\x98\x80"
                          "b"),
              4u); // a 😀 b
}

TEST(Utf8, WritesEveryPlaneAndStepsOverWholeCharacters) {
    std::string text;
    for (const char32_t code : {U'A', U'\u00c1', U'\u20ac', U'\U0001F600'})
        appendUtf8(text, code);
    EXPECT_EQ(text, "A\xc3\x81\xe2\x82\xac\xf0\x9f\x98\x80");
    EXPECT_EQ(sequenceLength(0x41), 1u);
    EXPECT_EQ(sequenceLength(0xc3), 2u);
    EXPECT_EQ(sequenceLength(0xe2), 3u);
    EXPECT_EQ(sequenceLength(0xf0), 4u);
    EXPECT_EQ(sequenceLength(0x82), 0u) << "a continuation starts nothing";
    EXPECT_EQ(characterStart(text, 2), 1u) << "inside Á";
    EXPECT_EQ(characterStart(text, 8), 6u) << "inside the emoji";
    EXPECT_EQ(characterStart(text, 6), 6u);
}

} // namespace
