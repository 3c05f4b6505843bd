#include "fitting/point_file.h"

#include "support/cells.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/message_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using Points = std::vector<PointFields>;
constexpr size_t kMaxPoints = 191; // the largest degree's table

// The message of the refusal, or "" when the file opens.
std::string refusal(std::string_view bytes, size_t maxPoints = kMaxPoints) {
    try {
        readPointsCsv(bytes, maxPoints);
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
    const Grid rows = {{"1", "4"},
                       {"", ""},
                       {"1,5", "say \"hi\""},
                       {"a\nb", " 2 "},
                       {"\"", ","},
                       {"line\r\nend", "\t"},
                       {"\xc3\xa9", "-1E-7"},
                       {"x", "f(x)"},
                       {";", "   "}};
    Points expected;
    for (const Texts& row : rows)
        expected.push_back({row[0], row[1]});
    const PointFile file = readPointsCsv(pointsCsv(tableOf(2, rows)), kMaxPoints);
    EXPECT_EQ(file.points, expected);
    EXPECT_FALSE(file.decimalCommas) << "a comma-separated file has no decimal commas";
}

struct Reading {
    std::string_view bytes;
    Points points;
    bool decimalCommas = false;
    bool thousands = false;
};

class PointFileReads : public ::testing::TestWithParam<Reading> {};

TEST_P(PointFileReads, WhatSpreadsheetsAndEditorsWrite) {
    const PointFile file = readPointsCsv(GetParam().bytes, kMaxPoints);
    EXPECT_EQ(file.points, GetParam().points);
    EXPECT_EQ(file.decimalCommas, GetParam().decimalCommas);
    EXPECT_EQ(file.thousands, GetParam().thousands);
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(
    Files, PointFileReads,
    ::testing::Values(Reading{"1,4\n2,8", {{"1", "4"}, {"2", "8"}}},
                      Reading{"\xef\xbb\xbfx;y\r\n1;4\r\n2;8\r\n", {{"1", "4"}, {"2", "8"}}},
                      Reading{"\xef\xbb\xbf"
                              "1;4\r\n",
                              {{"1", "4"}}}, // a mark and no header
                      Reading{"time\tvalue\n1\t4\n\n\n", {{"1", "4"}}},
                      Reading{"1,5\n\n3,6\n", {{"1", "5"}, {"", ""}, {"3", "6"}}},
                      Reading{"1,5\n  \n3,6\n", {{"1", "5"}, {"  ", ""}, {"3", "6"}}},
                      Reading{"1\n2,\n", {{"1", ""}, {"2", ""}}},
                      Reading{"\"1,5\";2\n", {{"1.5", "2"}}, true},
                      Reading{"abc,1\n", {{"abc", "1"}}}));

// As European spreadsheets write them: the first line is a point, not a header.
INSTANTIATE_TEST_SUITE_P(
    DecimalCommas, PointFileReads,
    ::testing::Values(Reading{"1,5;2,25\n2,5;6,25\n3,5;12,25\n",
                              {{"1.5", "2.25"}, {"2.5", "6.25"}, {"3.5", "12.25"}},
                              true},
                      Reading{"x;f(x)\n-2,25E3;1\n", {{"-2.25E3", "1"}}, true},
                      Reading{"1,5\t2\n", {{"1.5", "2"}}, true},
                      Reading{"1,5\n2,5\n", {{"1", "5"}, {"2", "5"}}}));

// Thousands dots are read as such only where the file writes decimal commas:
// "1.500" is 1500 beside "0,5", and 1.5 where no field has a comma.
INSTANTIATE_TEST_SUITE_P(
    ThousandsDots, PointFileReads,
    ::testing::Values(
        Reading{"x;f(x)\n1.500;0,5\n2.500;1,5\n3.000;2,5\n",
                {{"1500", "0.5"}, {"2500", "1.5"}, {"3000", "2.5"}},
                true,
                true},
        Reading{"1.050.000;1\n-1.234,5;2,5\n", {{"1050000", "1"}, {"-1234.5", "2.5"}}, true, true},
        Reading{"1.500;2\n3;4\n", {{"1.500", "2"}, {"3", "4"}}},
        Reading{"1.500\t2,5\n", {{"1500", "2.5"}}, true, true},
        Reading{"1,5;2\n1.500,25;3\n", {{"1.5", "2"}, {"1500.25", "3"}}, true, true},
        Reading{"1.5,5;2\n", {{"1.5,5", "2"}}})); // no number either way: as it is

// A number as a spreadsheet in a decimal-comma locale reads a field:
// thousands dots dropped, the comma a point; nothing for a text.
std::optional<double> decimalCommaSpreadsheet(std::string field) {
    std::erase(field, '.');
    std::replace(field.begin(), field.end(), ',', '.');
    double value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

TEST(PointFile, SavedWithDecimalCommasADecimalCommaSpreadsheetReadsEveryNumber) {
    const Points points{{"1.5", "-2.25"}, {"0.5", "123456.789"}, {"1E-7", "a;b"}};
    Grid rows;
    for (const auto& [x, fx, w] : points)
        rows.push_back({x, fx});
    const std::string text = pointsCsv(tableOf(2, rows), true);
    EXPECT_EQ(text, "x;f(x)\n1,5;-2,25\n0,5;123456,789\n1E-7;\"a;b\"\n");
    // Every number field of the lines below the header, as such a spreadsheet reads it.
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    for (const auto& [x, fx, w] : points) {
        std::getline(lines, line);
        const std::string fields[] = {line.substr(0, line.find(';')),
                                      line.substr(line.find(';') + 1)};
        for (int col : {0, 1}) {
            const std::string& number = col == 0 ? x : fx;
            if (number != "a;b") {
                EXPECT_EQ(decimalCommaSpreadsheet(fields[col]), std::stod(number)) << number;
            }
        }
    }
    EXPECT_EQ(readPointsCsv(text, kMaxPoints).points, points) << "and Tarvel reads it back";
}

TEST(PointFile, RefusesADecimalPointBesideDecimalCommas) {
    for (const auto& [bytes, message] : std::vector<std::pair<std::string_view, std::string>>{
             {"x;f(x)\n1,5;2\n2.5;3\n", "Line 3, x: " + quotedText("2.5")},
             {"1.5;2\n2,5;3\n", "Line 1, x: " + quotedText("1.5")},
             {"1;2,5\n2;1,500.5\n", "Line 2, f(x): " + quotedText("1,500.5")},
         }) {
        try {
            readPointsCsv(bytes, kMaxPoints);
            ADD_FAILURE() << "no error for " << bytes;
        } catch (const Exception& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(message)) << error.what();
        }
    }
}

// Unicode files as editors on other systems save them, each "1,4" / "2,8".
INSTANTIATE_TEST_SUITE_P(Unicode, PointFileReads,
                         ::testing::Values(Reading{"\xff\xfe"
                                                   "1\0,\0"
                                                   "4\0\n\0"
                                                   "2\0,\0"
                                                   "8\0"sv,
                                                   {{"1", "4"}, {"2", "8"}}},
                                           Reading{"\xfe\xff\0"
                                                   "1\0,\0"
                                                   "4\0\n\0"
                                                   "2\0,\0"
                                                   "8"sv,
                                                   {{"1", "4"}, {"2", "8"}}},
                                           Reading{"\xff\xfe\0\0"
                                                   "1\0\0\0,\0\0\0"
                                                   "4\0\0\0"sv,
                                                   {{"1", "4"}}},
                                           Reading{"\0\0\xfe\xff\0\0\0"
                                                   "1\0\0\0,\0\0\0"
                                                   "4"sv,
                                                   {{"1", "4"}}},
                                           // é and 😀 (a surrogate pair in UTF-16)
                                           Reading{
                                               "\xff\xfe"
                                               "1\0,\0=\xd8\0\xde\n\0\xe9\0,\0"
                                               "2\0"sv,
                                               {{"1", "\xf0\x9f\x98\x80"}, {"\xc3\xa9", "2"}}}));

TEST(PointFile, AThirdFieldIsTheWeightAndSaveWritesItBack) {
    const PointFile file = readPointsCsv("x;f(x);w\n1,5;2;0,25\n3;4;\n5;6\n", 10);
    EXPECT_TRUE(file.weighted);
    EXPECT_EQ(file.points, (Points{{"1.5", "2", "0.25"}, {"3", "4", ""}, {"5", "6", ""}}));
    EXPECT_FALSE(readPointsCsv("1,2\n3,4\n", 10).weighted);
    const CellTable table = tableOf(3, {{"1.5", "2", "0.25"}, {"3", "4", ""}});
    EXPECT_EQ(pointsCsv(table), "x,f(x),w\n1.5,2,0.25\n3,4,\n");
}

TEST(PointFile, RefusesWhatIsNoPointTableNamingTheLine) {
    EXPECT_EQ(refusal("1,4\n2,8,9,1\n"),
              "Line 2 has 4 fields; a point has two, x and f(x), and may have a weight w.");
    EXPECT_EQ(refusal("1,4\n\"a\nb\",1\n3,4,5,6"),
              "Line 4 has 4 fields; a point has two, x and f(x), and may have a weight w.");
    EXPECT_EQ(refusal("1,4\n2\0,8\n"sv), "Line 2 is not text.");
    EXPECT_EQ(refusal("1,4\n\xff\xfe"), "Line 2 is not text.");
    EXPECT_EQ(refusal("\xff\xfe"
                      "1\0\n\0\0\xdc"sv),
              "Line 2 is not text.")
        << "a lone surrogate";
    EXPECT_EQ(refusal("\xff\xfe"
                      "1\0\n"sv),
              "Line 2 is not text.")
        << "half a unit";
    EXPECT_EQ(refusal(""), "The file holds no points.");
    EXPECT_EQ(refusal("x,f(x)\n\n"), "The file holds no points.");
    EXPECT_EQ(refusal("1,4\n2," + std::string(32769, '7') + "\n"),
              "Line 2 holds a field of more than 32768 characters, more than a cell holds.");
    EXPECT_EQ(refusal("1," + std::string(32768, '7')), "");
    std::string accents; // 32768 characters of two bytes each
    for (int k = 0; k < 32768; ++k)
        accents += "\u00e9";
    EXPECT_EQ(refusal("1," + accents), "") << "the limit counts characters, not bytes";
}

TEST(PointFile, RefusesMorePointsThanTheTableTakesAsSoonAsItSeesThem) {
    std::string many;
    for (int k = 0; k < 191; ++k)
        many += std::to_string(k) + ",1\n";
    EXPECT_EQ(readPointsCsv(many, kMaxPoints).points.size(), 191u);
    EXPECT_EQ(refusal(many + "191,1\n"),
              "The file holds more than 191 points; the table takes at most 191.");
    EXPECT_EQ(refusal(many + "191,1\n1,2,3\n"),
              "The file holds more than 191 points; the table takes at most 191.")
        << "refused before the bad line is reached";
    EXPECT_EQ(refusal("1,1\n\n\n\n4,4\n", 4),
              "The file holds more than 4 points; the table takes at most 4.")
        << "blank lines between points count";
    EXPECT_EQ(readPointsCsv("1,1\n\n\n4,4\n\n\n\n\n", 4).points.size(), 4u)
        << "blank lines at the end do not";
}

// Files that once froze the window or took gigabytes; the benchmark times them.
TEST(PointFile, PathologicalFilesEndInOnePass) {
    EXPECT_EQ(refusal(std::string(kMaxPointFileBytes - 1, ',')), "The file holds no points.");
    EXPECT_EQ(refusal(std::string(kMaxPointFileBytes, '\n')), "The file holds no points.");
    std::string commaLines;
    for (size_t k = 0; k < kMaxPointFileBytes / 2; ++k)
        commaLines += ",\n";
    EXPECT_EQ(refusal(commaLines),
              "The file holds more than 191 points; the table takes at most 191.");
}

// Files on disk, made in a folder of the test's own.
class PointFileOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/tarvel-points-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string path(const char* name) const { return (folder / name).string(); }
    std::string refusalOf(const std::string& file) const {
        try {
            readPointFileBytes(file);
        } catch (const Exception& error) {
            return error.what();
        }
        return "";
    }
    std::filesystem::path folder;
};

TEST_F(PointFileOnDisk, ReadsARegularFileAndWhatALinkPointsTo) {
    std::ofstream(path("points.csv")) << "1,4\n2,8\n";
    std::filesystem::create_symlink(path("points.csv"), path("link.csv"));
    EXPECT_EQ(readPointFileBytes(path("points.csv")), "1,4\n2,8\n");
    EXPECT_EQ(readPointFileBytes(path("link.csv")), "1,4\n2,8\n");
}

TEST_F(PointFileOnDisk, RefusesWhatIsNoRegularFileBeforeReadingIt) {
    ASSERT_EQ(mkfifo(path("fifo.csv").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", path("zero.csv"));
    std::filesystem::create_directory(path("folder.csv"));
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path("socket.csv").c_str());
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(refusalOf(path("fifo.csv")), "it is a named pipe, not a file.");
    EXPECT_EQ(refusalOf("/dev/zero"), "it is a device, not a file.");
    EXPECT_EQ(refusalOf("/dev/urandom"), "it is a device, not a file.");
    EXPECT_EQ(refusalOf(path("zero.csv")), "it is a device, not a file.");
    EXPECT_EQ(refusalOf(path("folder.csv")), "it is a folder, not a file.");
    EXPECT_EQ(refusalOf(path("socket.csv")), "it is a socket, not a file.");
    close(listener);
    EXPECT_EQ(refusalOf(path("missing.csv")), "\xe2\x81\xa8No such file or directory\xe2\x81\xa9.")
        << "the system's words, isolated";
}

TEST_F(PointFileOnDisk, StopsReadingAtTheLimitWhateverTheFileSays) {
    std::ofstream(path("full.csv")) << std::string(kMaxPointFileBytes, '1');
    EXPECT_EQ(readPointFileBytes(path("full.csv")).size(), kMaxPointFileBytes);
    std::ofstream(path("full.csv"), std::ios::app) << '1';
    EXPECT_EQ(refusalOf(path("full.csv")), "it is larger than 64 MB.");
    // A file that says it is empty but goes on, as files of the kernel do.
    if (std::filesystem::exists("/proc/self/maps")) {
        EXPECT_FALSE(readPointFileBytes("/proc/self/maps").empty());
    }
}

} // namespace
