#include "toolkit/delimited_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Each record as its fields joined by '|', with its separator and line.
std::vector<std::string> records(std::string_view text, DelimitedRules rules) {
    std::vector<std::string> read;
    std::string record;
    char separator = 0;
    int line = 0;
    readDelimited(text, rules,
                  {[&](std::string& field, char by, int at) {
                       record += (record.empty() && separator == 0 ? "" : "|") + field;
                       separator = by;
                       line = at;
                   },
                   [&] {
                       read.push_back(std::to_string(line) + std::string(1, separator) + " " +
                                      record);
                       record.clear();
                       separator = 0;
                   }});
    return read;
}

struct Reading {
    const char* text;
    bool lineByLine;
    std::vector<std::string> records;
};

class DelimitedReading : public ::testing::TestWithParam<Reading> {};

TEST_P(DelimitedReading, SplitsFieldsAndRecordsByItsRules) {
    EXPECT_EQ(records(GetParam().text, {.lineByLine = GetParam().lineByLine}), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    FilesAndTheClipboard, DelimitedReading,
    ::testing::Values(
        // Files: the first line's separator for all; quotes anywhere, across lines.
        Reading{"x;y\n1,5;2\n", false, {"1; x|y", "2; 1,5|2"}},
        Reading{"\"a\nb\",1\r\n2,3", false, {"1, a\nb|1", "3, 2|3"}},
        Reading{"\"say \"\"hi\"\"\"\t1\n", false, {"1\t say \"hi\"|1"}},
        Reading{"1,2\n\n", false, {"1, 1|2", "2, "}},
        // The clipboard: a separator for each line, spaces in runs, tabs verbatim.
        Reading{"1;2\n3 4\n  5   6 ", true, {"1; 1|2", "2  3|4", "3  5|6"}},
        Reading{"\"7\t8\"\t\"q\n a \t", true, {"1\t 7\t8|\"q", "2\t  a "}},
        Reading{"1,2\n\n3", true, {"1, 1|2", "2  ", "3  3"}}));

TEST(DelimitedField, QuotesOnlyWhatTheReaderWouldSplitAndReadsBackTheSame) {
    EXPECT_EQ(delimitedField("1.5", ','), "1.5");
    EXPECT_EQ(delimitedField("1,5", ';'), "1,5");
    EXPECT_EQ(delimitedField("1,5", ','), "\"1,5\"");
    EXPECT_EQ(delimitedField("5\"", '\t'), "\"5\"\"\"");
    for (const std::string text : {"a,b", "say \"hi\"", "two\nlines", "\"q"}) {
        const auto read = records(delimitedField(text, ',') + ",1\n", {});
        ASSERT_EQ(read.size(), 1u) << text;
        EXPECT_EQ(read[0], "1, " + text + "|1");
    }
}

} // namespace
