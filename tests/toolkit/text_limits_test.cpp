#include "toolkit/text_limits.h"

#include <gtest/gtest.h>

namespace {

// Qt counts UTF-16 code units: a character beyond the first plane takes two.
TEST(TextLimits, CountsCharactersAsQtDoes) {
    EXPECT_EQ(utf16Length(""), 0u);
    EXPECT_EQ(utf16Length("abc"), 3u);
    EXPECT_EQ(utf16Length("\xc3\xa9\xe2\x82\xac"), 2u); // é €
    EXPECT_EQ(utf16Length("a\xf0\x9f\x98\x80"
                          "b"),
              4u); // a 😀 b
    EXPECT_EQ(tooLongMessage("a cell"),
              "The text is too long: a cell holds at most 32768 characters.");
}

} // namespace
