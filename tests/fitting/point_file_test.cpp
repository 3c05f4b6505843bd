#include "fitting/point_file.h"

#include "support/cells.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

namespace {

using Points = std::vector<std::array<std::string, 2>>;

// The message of the refusal, or "" when the file opens.
std::string refusal(std::string_view bytes) {
    try {
        readPointsCsv(bytes);
    } catch (const Exception& error) {
        return error.what();
    }
    return "";
}

TEST(PointFile, SavesAHeaderAndEveryRowQuotingOnlyWhatNeedsIt) {
    EXPECT_EQ(pointsCsv(tableOf(2, {{"1", "4"}, {"", ""}, {"1,5", "say \"hi\""}, {"a\nb", " 2 "}})),
              "x,f(x)\n1,4\n,\n\"1,5\",\"say \"\"hi\"\"\"\n\"a\nb\", 2 \n");
}

TEST(PointFile, SaveThenOpenGivesBackEveryText) {
    const Grid rows = {{"1", "4"},         {"", ""},           {"1,5", "say \"hi\""},
                       {"a\nb", " 2 "},    {"\"", ","},        {"line\r\nend", "\t"},
                       {"\xc3\xa9", "-1E-7"}, {"x", "f(x)"}, {";", "   "}};
    Points expected;
    for (const Texts& row : rows)
        expected.push_back({row[0], row[1]});
    EXPECT_EQ(readPointsCsv(pointsCsv(tableOf(2, rows))), expected);
}

struct Reading {
    const char* bytes;
    Points points;
};

class PointFileReads : public ::testing::TestWithParam<Reading> {};

TEST_P(PointFileReads, WhatSpreadsheetsAndEditorsWrite) {
    EXPECT_EQ(readPointsCsv(GetParam().bytes), GetParam().points);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PointFileReads,
    ::testing::Values(Reading{"1,4\n2,8", {{"1", "4"}, {"2", "8"}}},
                      Reading{"\xef\xbb\xbfx;y\r\n1;4\r\n2;8\r\n", {{"1", "4"}, {"2", "8"}}},
                      Reading{"time\tvalue\n1\t4\n\n\n", {{"1", "4"}}},
                      Reading{"1,5\n\n3,6\n", {{"1", "5"}, {"", ""}, {"3", "6"}}},
                      Reading{"1\n2,\n", {{"1", ""}, {"2", ""}}},
                      Reading{"\"1,5\";2\n", {{"1,5", "2"}}},
                      Reading{"abc,1\n", {{"abc", "1"}}}));

TEST(PointFile, RefusesWhatIsNoPointTableNamingTheLine) {
    EXPECT_EQ(refusal("1,4\n2,8,9\n"), "Line 2 has 3 fields; a point has two: x and f(x).");
    EXPECT_EQ(refusal("1,4\n\"a\nb\",1\n3,4,5"), "Line 4 has 3 fields; a point has two: x and f(x).");
    EXPECT_EQ(refusal(std::string_view("1,4\n2\0,8\n", 9)), "Line 2 is not text.");
    EXPECT_EQ(refusal("1,4\n\xff\xfe"), "Line 2 is not text.");
    EXPECT_EQ(refusal(""), "The file holds no points.");
    EXPECT_EQ(refusal("x,f(x)\n\n"), "The file holds no points.");
    std::string many;
    for (int k = 0; k < 192; ++k)
        many += std::to_string(k) + ",1\n";
    EXPECT_EQ(refusal(many), "The file holds 192 points; the largest degree, 190, takes 191.");
    many.erase(many.rfind("191,1\n"));
    EXPECT_EQ(refusal(many), "");
    EXPECT_EQ(refusal(std::string(kMaxPointFileBytes + 1, '1')), "The file is larger than 16 MB.");
}

} // namespace
