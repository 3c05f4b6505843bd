#include "exact/row_reduction.h"

#include "exact/exact_number.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>

namespace {

mpq_class number(const std::string& text) {
    return exactDecimal(text).value().value();
}

AugmentedMatrix matrixOf(const std::vector<std::vector<std::string>>& texts) {
    AugmentedMatrix matrix;
    for (const auto& row : texts) {
        matrix.emplace_back();
        for (const std::string& text : row)
            matrix.back().push_back(number(text));
    }
    return matrix;
}

std::vector<mpq_class> solved(const AugmentedMatrix& system, Arithmetic arithmetic,
                              Pivoting pivoting) {
    RowReduction reduction(system, arithmetic);
    eliminate(reduction, pivoting);
    EXPECT_TRUE(reduction.upperTriangular());
    return reduction.backSubstitute().value_or(std::vector<mpq_class>{});
}

const Arithmetic kFourDigits{Arithmetic::Kind::decimal, 4, false};

// 0.003000 x + 59.14 y = 59.17, 5.291 x − 6.130 y = 46.78: x = 10, y = 1.
const AugmentedMatrix kClassic =
    matrixOf({{"0.003000", "59.14", "59.17"}, {"5.291", "-6.130", "46.78"}});

TEST(RowReduction, FourDigitRoundingWithoutPivotingLosesXAndPartialPivotingSavesIt) {
    RowReduction plain(kClassic, kFourDigits);
    const std::vector<RowOperation> steps = eliminate(plain, Pivoting::none);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].text(kFourDigits), "R2 ← R2 − 1764·R1") << "the multiplier that ruins it";
    EXPECT_EQ(plain.entry(2, 2), -104300);
    const std::vector<mpq_class> lost = plain.backSubstitute().value();
    EXPECT_EQ(writtenIn(kFourDigits, lost[0]), "-10.00");
    EXPECT_EQ(writtenIn(kFourDigits, lost[1]), "1.001");

    RowReduction pivoted(kClassic, kFourDigits);
    const std::vector<RowOperation> swapped = eliminate(pivoted, Pivoting::partial);
    ASSERT_EQ(swapped.size(), 2u);
    EXPECT_EQ(swapped[0].text(kFourDigits), "Swap Row 1 and Row 2");
    const std::vector<mpq_class> kept = pivoted.backSubstitute().value();
    EXPECT_EQ(writtenIn(kFourDigits, kept[0]), "10.00");
    EXPECT_EQ(writtenIn(kFourDigits, kept[1]), "1.000");

    EXPECT_EQ(solved(kClassic, {}, Pivoting::none), (std::vector<mpq_class>{10, 1}));
    EXPECT_EQ(solved(kClassic, {Arithmetic::Kind::doubles}, Pivoting::partial)[0].get_d(), 10.0);
}

TEST(Arithmetic, RoundsAsEachArithmeticDoes) {
    const mpq_class third(1, 3), big = number("104375.88");
    EXPECT_EQ(roundedIn({Arithmetic::Kind::decimal, 4, false}, big), 104400);
    EXPECT_EQ(roundedIn({Arithmetic::Kind::decimal, 4, true}, big), 104300);
    EXPECT_EQ(roundedIn({Arithmetic::Kind::decimal, 3, false}, number("-0.0012345")),
              number("-0.00123"));
    EXPECT_EQ(roundedIn({Arithmetic::Kind::decimal, 2, false}, number("0.125")), number("0.13"))
        << "half away from zero";
    EXPECT_EQ(roundedIn({Arithmetic::Kind::doubles}, third), mpq_class(1.0 / 3.0));
    EXPECT_EQ(roundedIn({Arithmetic::Kind::singles}, third), mpq_class(double(1.0f / 3.0f)));
    EXPECT_EQ(roundedIn({Arithmetic::Kind::singles}, number("1e-45")),
              mpq_class(double(std::numeric_limits<float>::denorm_min())))
        << "subnormal";
    EXPECT_THROW(roundedIn({Arithmetic::Kind::singles}, number("1e39")), Exception);
    EXPECT_EQ(writtenIn({Arithmetic::Kind::decimal, 4, false}, number("0.000567")), "0.0005670");
    EXPECT_EQ(Arithmetic({Arithmetic::Kind::decimal, 4, false}).name(), "4-digit rounding");
    EXPECT_EQ(Arithmetic({Arithmetic::Kind::decimal, 3, true}).name(), "3-digit chopping");
}

// Python's decimal module, in every context of the data file, over random
// systems: the same multipliers, entries and solution, digit for digit.
TEST(RowReduction, KDigitEliminationIsPythonsDecimalContextsOwn) {
    std::ifstream data(TARVEL_TEST_DATA "/elimination/decimal_elimination.csv");
    std::string line;
    std::getline(data, line);
    int checked = 0;
    while (std::getline(data, line)) {
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, ',');)
            fields.push_back(field);
        const int digits = std::stoi(fields[0]), n = std::stoi(fields[3]);
        const Arithmetic arithmetic{Arithmetic::Kind::decimal, digits, fields[1] == "1"};
        AugmentedMatrix system(static_cast<size_t>(n));
        for (int k = 0; k < n * (n + 1); ++k)
            system[size_t(k / (n + 1))].push_back(number(fields[size_t(4 + k)]));
        RowReduction reduction(system, arithmetic);
        eliminate(reduction, fields[2] == "1" ? Pivoting::partial : Pivoting::none);
        const auto x = reduction.backSubstitute();
        const size_t first = size_t(4 + n * (n + 1));
        if (fields[first] == "none") {
            EXPECT_FALSE(x) << line;
            continue;
        }
        ASSERT_TRUE(x) << line;
        for (int k = 0; k < n; ++k)
            EXPECT_EQ((*x)[size_t(k)], number(fields[first + size_t(k)]))
                << arithmetic.name() << ", x" << k + 1 << ": " << line;
        ++checked;
    }
    EXPECT_GT(checked, 1000);
}

// The player's own run, then a student typing the same operations: the same
// solution in every arithmetic.
TEST(RowReduction, AStudentsOperationsReachThePlayersSolutionInEveryArithmetic) {
    const AugmentedMatrix system =
        matrixOf({{"2", "1", "-1", "8"}, {"-3", "-1", "2", "-11"}, {"-2", "1", "2", "-3"}});
    using enum Arithmetic::Kind;
    for (const Arithmetic arithmetic : {Arithmetic{exact}, Arithmetic{doubles}, Arithmetic{singles},
                                        Arithmetic{decimal, 2, false}, Arithmetic{decimal, 3, true},
                                        Arithmetic{decimal, 7, false}}) {
        RowReduction own(system, arithmetic), student(system, arithmetic);
        const std::vector<RowOperation> steps = eliminate(own, Pivoting::partial);
        for (const RowOperation& step : steps) {
            std::string typed = step.text(arithmetic);
            if (step.kind == RowOperation::Kind::swap)
                typed = "R" + std::to_string(step.row) + " <-> R" + std::to_string(step.other);
            const ReadOperation read = readOperation(typed, 3);
            ASSERT_TRUE(read.operation) << typed << ": " << read.refusal;
            student.apply(*read.operation);
        }
        EXPECT_TRUE(student.upperTriangular()) << arithmetic.name();
        EXPECT_EQ(student.backSubstitute(), own.backSubstitute()) << arithmetic.name();
    }
    EXPECT_EQ(solved(system, {}, Pivoting::none), (std::vector<mpq_class>{2, 3, -1}));
}

TEST(ReadOperation, ReadsEachFormAndNamesWhatIsWrong) {
    struct Case {
        const char* typed;
        RowOperation::Kind kind;
        int row, other;
        mpq_class value;
    };
    using enum RowOperation::Kind;
    const Case cases[] = {{"R1 <-> R2", swap, 1, 2, 0},
                          {"swap r3 r1", swap, 3, 1, 0},
                          {"R2 ↔ R1", swap, 2, 1, 0},
                          {"R2 <- 0.5 R2", scale, 2, 0, mpq_class(1, 2)},
                          {"R2 ← -2·R2", scale, 2, 0, -2},
                          {"R2 <- R2 / 5.291", divide, 2, 0, mpq_class(5291, 1000)},
                          {"R3 <- R3 - 2*R1", addMultiple, 3, 1, -2},
                          {"R3 ← R3 − 1764·R1", addMultiple, 3, 1, -1764},
                          {"R1<-R1+R3", addMultiple, 1, 3, 1},
                          {"R2 <- R2 + 2/3 R1", addMultiple, 2, 1, mpq_class(2, 3)}};
    for (const Case& c : cases) {
        const ReadOperation read = readOperation(c.typed, 3);
        ASSERT_TRUE(read.operation) << c.typed << ": " << read.refusal;
        EXPECT_EQ(read.operation->kind, c.kind) << c.typed;
        EXPECT_EQ(read.operation->row, c.row) << c.typed;
        EXPECT_EQ(read.operation->other, c.other) << c.typed;
        EXPECT_EQ(read.operation->value, c.value) << c.typed;
    }
    for (const auto& [typed, says] :
         {std::pair{"R4 <-> R1", "There is no row 4: the system has 3 rows."},
          {"R2 <- R2 - 2 R7", "There is no row 7: the system has 3 rows."},
          {"R2 <- 0 R2", "A row scaled by 0 is lost"},
          {"R2 <- R2 / 0", "A row divided by 0 is no row"},
          {"R2 <- R2 - two R1", "is not a number."},
          {"R2 <- R2 - 2 R2", "is a scale"},
          {"add them", "Write a swap as"}}) {
        const ReadOperation read = readOperation(typed, 3);
        EXPECT_FALSE(read.operation) << typed;
        EXPECT_NE(read.refusal.find(says), std::string::npos) << typed << ": " << read.refusal;
    }
}

} // namespace
