#include "toolkit/round_trip.h"

#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

namespace {

// roundTrip against the text it stands for: to_chars with 15 significant
// digits, read back by from_chars.
double textRoundTrip(double value) {
    char text[32];
    const char* end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 14).ptr;
    double back = 0;
    std::from_chars(text, end, back);
    return back;
}

// The float bit patterns from `first` on, `count` of them or a seeded sample,
// whose round trip differs from the text's; at most a few are kept.
std::vector<uint32_t> roundTripMismatches(uint64_t first, uint64_t count, bool sample) {
    std::vector<uint32_t> mismatches;
    std::mt19937 random(20261207 + unsigned(first));
    for (uint64_t k = 0; k < count && mismatches.size() < 5; ++k) {
        const uint32_t bits = sample ? uint32_t(random()) : uint32_t(first + k);
        const double value = std::bit_cast<float>(bits);
        if (!std::isfinite(value))
            continue;
        const double expected = value == 0 ? 0.0 : textRoundTrip(value);
        if (std::bit_cast<uint64_t>(roundTrip(value)) != std::bit_cast<uint64_t>(expected))
            mismatches.push_back(bits);
    }
    return mismatches;
}

TEST(RoundTrip, IsTheValueOfTheTextFloatToStrWrites) {
    for (const double value : {0.1, -2.5, 1.0 / 3, 1e-9, 123456789.0, 1e300, -0.0, 5e-324}) {
        EXPECT_EQ(roundTrip(value), StrToFloat(FloatToStr(value))) << value;
        EXPECT_EQ(FloatToStr(roundTrip(value)), FloatToStr(value)) << value;
    }
    EXPECT_EQ(roundTrip(double(0.1f)), 0.100000001490116) << "a float keeps its 15 digits";
    EXPECT_THROW(roundTrip(HUGE_VAL), EMathError);
    EXPECT_THROW(roundTrip(NAN), EMathError);
}

// Every float, in the long mode (TARVEL_EXHAUSTIVE=1); a seeded sample of
// millions otherwise.
TEST(RoundTrip, AgreesWithTheTextForEveryFloat) {
    const bool exhaustive = std::getenv("TARVEL_EXHAUSTIVE") != nullptr;
    const uint64_t total = exhaustive ? uint64_t(1) << 32 : 2'000'000;
    const unsigned workers = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::vector<uint32_t>> found(workers);
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w)
        threads.emplace_back([&, w] {
            const uint64_t first = total * w / workers, last = total * (w + 1) / workers;
            found[w] = roundTripMismatches(first, last - first, !exhaustive);
        });
    for (std::thread& thread : threads)
        thread.join();
    for (const auto& mismatches : found)
        for (const uint32_t bits : mismatches)
            ADD_FAILURE() << "float bits 0x" << std::hex << bits << ": "
                          << std::bit_cast<float>(bits);
}

} // namespace
