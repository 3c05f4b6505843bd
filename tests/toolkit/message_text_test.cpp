#include "toolkit/message_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A quoted text shows every character it holds, and cannot reorder or cut
// the sentence that quotes it.
struct Quote {
    std::string text;
    std::string shown;
};

class QuotedTest : public ::testing::TestWithParam<Quote> {};

TEST_P(QuotedTest, ShowsTheTextInsideAnIsolate) {
    EXPECT_EQ(quotedText(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, QuotedTest,
    ::testing::Values(Quote{"1.5", "'\u20681.5\u2069'"},
                      Quote{std::string("1\0"
                                        "2",
                                        3),
                            "'\u20681\uFFFD2\u2069'"},
                      Quote{"\t2\n", "'\u2068\uFFFD2\uFFFD\u2069'"},
                      Quote{"\u202E1.5", "'\u2068\uFFFD1.5\u2069'"},
                      Quote{"\u200F1\u200E\u202A2\u202C\u061C",
                            "'\u2068\uFFFD1\uFFFD\uFFFD2\uFFFD\uFFFD\u2069'"},
                      Quote{"\u2010\u2070", "'\u2068\u2010\u2070\u2069'"}, // neighbours stay
                      Quote{"a\u2069b\u2066c", "'\u2068a\uFFFDb\uFFFDc\u2069'"},
                      Quote{"e\u0301", "'\u2068e\u0301\u2069'"}));

} // namespace
