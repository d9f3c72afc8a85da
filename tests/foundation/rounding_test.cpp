// RoundTo computes on numbers; the rule it keeps is the one it long ran as text: x + 0.000000001
// rounded half away from zero at n decimals, printed with n decimals and read back. This test
// keeps that text form and compares both on ten million drawn values, bit for bit.

#include "foundation/db/numbers.h"

#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace {

// The rounding as it ran before, through text.
double RoundThroughText(double value, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 10)
        decimals = 10;
    const double scale = std::pow(10.0, decimals);
    const double shifted = (value + 0.000000001) * scale;
    const double rounded = std::round(shifted) / scale;
    return QString::number(rounded, 'f', decimals).toDouble();
}

bool SameDouble(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;  // 0 and -0 differ here
}

struct Draw
{
    double value;
    int decimals;
};

// One value of the kinds where rounding goes wrong: exact halves (and their negatives) at the
// decimals rounded to, the same just below and above, amounts near 1e12, values held at 8
// decimals, ordinary amounts, and any double at all (huge, tiny, infinite, not a number).
Draw DrawValue(std::mt19937_64 &rng)
{
    const int decimals = int(rng() % 13) - 1;  // -1 … 11: the clamped ends too
    const int d = std::clamp(decimals, 0, 10);
    const double scale = std::pow(10.0, d);
    const auto between = [&](std::int64_t lo, std::int64_t hi) {
        return lo + std::int64_t(rng() % std::uint64_t(hi - lo + 1));
    };
    switch (rng() % 8) {
    case 0:  // exact halves, either sign
        return {(double(between(-1'000'000'000, 1'000'000'000)) + 0.5) / scale, decimals};
    case 1: {  // a half less the added 0.000000001, and its neighbours
        const double half = (double(between(-1'000'000, 1'000'000)) + 0.5) / scale - 0.000000001;
        const int step = int(rng() % 3);
        return {step == 0 ? half : std::nextafter(half, step == 1 ? -INFINITY : INFINITY), decimals};
    }
    case 2: {  // near 1e12, either sign, up to 4 decimals
        const double v = 1e12 + double(between(-10'000'000, 10'000'000)) / 1e4;
        return {rng() % 2 ? v : -v, decimals};
    }
    case 3:  // values kept at 8 decimals
        return {double(between(-100'000'000'000'000, 100'000'000'000'000)) / 1e8, decimals};
    case 4: {  // halves at 8 decimals
        return {(double(between(-1'000'000'000'000, 1'000'000'000'000)) + 0.5) / 1e8, decimals};
    }
    case 5: {  // any bit pattern
        const std::uint64_t bits = rng();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return {v, decimals};
    }
    case 6:  // small values around zero, where -0 could appear
        return {double(between(-2'000'000'000, 2'000'000'000)) * 1e-18 * double(rng() % 1'000'000'000), decimals};
    default:  // ordinary amounts
        return {std::ldexp(double(rng() >> 11), -53) * 2e6 - 1e6, decimals};
    }
}

TEST(RoundingTest, NumbersGiveTheTextRuleOnTenMillionValues)
{
    constexpr std::int64_t kDraws = 10'000'000;
    constexpr int kSlices = 16;
    std::atomic<std::int64_t> compared{0};
    std::atomic<int> nextSlice{0};
    std::mutex failuresLock;
    std::vector<QString> failures;

    const auto work = [&] {
        for (int slice = nextSlice++; slice < kSlices; slice = nextSlice++) {
            std::mt19937_64 rng(0x5eedULL + std::uint64_t(slice));
            const std::int64_t count = kDraws / kSlices + (slice < kDraws % kSlices ? 1 : 0);
            for (std::int64_t i = 0; i < count; ++i) {
                const Draw draw = DrawValue(rng);
                const double expected = RoundThroughText(draw.value, draw.decimals);
                const double actual = RoundTo(draw.value, draw.decimals);
                if (!SameDouble(expected, actual)) {
                    const std::lock_guard<std::mutex> hold(failuresLock);
                    if (failures.size() < 20)
                        failures.push_back(QStringLiteral("RoundTo(%1, %2) = %3, text rule %4")
                                               .arg(draw.value, 0, 'g', 17)
                                               .arg(draw.decimals)
                                               .arg(actual, 0, 'g', 17)
                                               .arg(expected, 0, 'g', 17));
                }
            }
            compared += count;
        }
    };
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t)
        pool.emplace_back(work);
    for (std::thread &t : pool)
        t.join();

    EXPECT_EQ(compared.load(), kDraws);
    for (const QString &f : failures)
        ADD_FAILURE() << f.toStdString();
}

TEST(RoundingTest, EdgesKeepTheTextRule)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double edges[] = {0.0, -0.0, -0.3, -0.4999999, -0.000000001, -0.000000002, 0.5, -0.5, 2.5, -2.5,
                            1.005, 2.675, 1e12 + 0.005, -1e12 - 0.005, 9007199254740993.0, 1e21, -1e21,
                            1e300, -1e300, std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
                            inf, -inf, std::numeric_limits<double>::quiet_NaN()};
    for (const double v : edges) {
        for (int d = -1; d <= 11; ++d) {
            SCOPED_TRACE(QStringLiteral("%1 at %2").arg(v, 0, 'g', 17).arg(d).toStdString());
            EXPECT_TRUE(SameDouble(RoundTo(v, d), RoundThroughText(v, d)));
        }
    }
    EXPECT_TRUE(SameDouble(RoundTo(-0.3, 0), 0.0));  // never -0
}

} // namespace
