#include "toolkit/text_limits.h"

#include <gtest/gtest.h>

namespace {

TEST(TextLimits, SaysWhereATextDoesNotFit) {
    EXPECT_EQ(tooLongMessage("a cell"),
              "The text is too long: a cell holds at most 32768 characters.");
}

} // namespace
