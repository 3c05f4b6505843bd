#include "exact/residues.h"

#include <gtest/gtest.h>

namespace {

constexpr uint64_t kPrime = 4611686018427387847ULL; // 2^62 - 57

TEST(PrimeField, TakesFractionsAndDecimalsToTheirResidues) {
    const PrimeField field(kPrime);
    for (const uint64_t a : {uint64_t(1), uint64_t(2), uint64_t(12345678901234567), kPrime - 1})
        EXPECT_EQ(field.mul(a, field.inverse(a)), 1u) << a;
    EXPECT_EQ(field.mul(*field.of(mpq_class(1, 3)), 3), 1u);
    EXPECT_EQ(field.add(*field.of(mpq_class(-7, 2)), 7 * field.inverse(2) % kPrime), 0u);
    EXPECT_EQ(*field.of(*exactDecimal("-1.5E-3")), *field.of(mpq_class(-3, 2000)));
    EXPECT_EQ(*field.of(*exactDecimal("2.5E3")), 2500u);
    EXPECT_FALSE(field.of(mpq_class(1, mpz_class(kPrime)))) << "the prime divides the denominator";
}

TEST(ExactZeros, AreZeroModuloEveryPrimeAndNothingElse) {
    // Residues of (0, 1, p·q) for each prime p: the last is no zero, though
    // each prime alone could take it for one.
    std::vector<uint64_t> seen;
    const auto zeros = exactZeros(
        [&](const PrimeField& field) -> std::optional<std::vector<uint64_t>> {
            seen.push_back(*field.of(mpq_class(1, 7)));
            return std::vector<uint64_t>{0, 1, seen.size() == 2 ? 5u : 0u};
        },
        3);
    EXPECT_EQ(zeros, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(exactZeros([](const PrimeField&) { return std::nullopt; }, 2),
              (std::vector<bool>{false, false}))
        << "with no prime to ask, none is taken for zero";
}

} // namespace
