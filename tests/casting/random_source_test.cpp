// The pseudo-random generator, draws as line values, the random date and the source choice.
#include "casting/random_source.h"

#include <gtest/gtest.h>

#include <map>

#include "test_support/qt_printers.h"

namespace {

using casting::RandomPlatform;
using casting::RandomSource;
using casting::SourceKind;

RandomPlatform fixedPlatform(quint32 seed, std::function<std::optional<quint32>()> hardware = {}) {
    RandomPlatform p;
    p.seed = [seed] { return seed; };
    p.wait = [] {};
    if (hardware) p.hardware = std::move(hardware);
    return p;
}

TEST(PseudoRandom, DrawsFollowTheGenerator) {
    // Worked out from seed := seed × 134775813 + 1 (mod 2^32), draw = (seed × n) >> 32.
    struct Case {
        quint32 seed, n;
        std::vector<quint32> draws;
        quint32 seedAfter;
    };
    const Case cases[] = {
        {0, 8, {0, 0, 6, 1, 2, 5, 2, 1}, 694906232u},
        {12345, 8, {3, 2, 0, 4, 5, 2, 3, 0}, 340655249u},
        {1, 21900, {687}, 134775814u},
    };
    for (const Case& c : cases) {
        casting::PseudoRandom r(c.seed);
        for (quint32 expected : c.draws) EXPECT_EQ(r.below(c.n), expected);
        EXPECT_EQ(r.seed(), c.seedAfter);
    }
}

TEST(RandomSource, ThreeBitsBecomeALineValue) {
    const int expected[8] = {4, 1, 1, 2, 1, 2, 2, 3};
    for (int b = 0; b < 8; ++b) EXPECT_EQ(casting::lineValueOfBits(b), expected[b]) << b;
}

TEST(RandomSource, HardwareDrawsUseTheLowThreeBits) {
    quint32 next = 0xFFFFFFF8u;  // low bits 0, 1, 2, ...
    RandomSource source(SourceKind::Hardware, fixedPlatform(0, [&] { return std::optional<quint32>(next++); }));
    std::vector<int> values;
    for (int i = 0; i < 8; ++i) values.push_back(source.drawLineValue());
    EXPECT_EQ(values, (std::vector<int>{4, 1, 1, 2, 1, 2, 2, 3}));
}

TEST(RandomSource, FailedHardwareDrawsAreRetriedNotTakenAsZero) {
    int calls = 0;
    // Fails twice, then gives 7 (老阳); a failure taken as 0 would give 老阴.
    RandomSource source(SourceKind::Hardware, fixedPlatform(0, [&]() -> std::optional<quint32> {
                            return ++calls < 3 ? std::nullopt : std::optional<quint32>(7);
                        }));
    EXPECT_EQ(source.drawLineValue(), 3);
    EXPECT_EQ(calls, 3);

    // A hardware source that never answers falls back to the pseudo generator: seed 12345 gives
    // 1655067933 below 2^32 - 1, whose low bits are 5.
    RandomSource dead(SourceKind::Hardware, fixedPlatform(12345, [] { return std::optional<quint32>(); }));
    EXPECT_EQ(dead.drawBits(), 5);
}

TEST(RandomSource, EveryDrawWaitsFirst) {
    int waits = 0;
    RandomPlatform p = fixedPlatform(5);
    p.wait = [&] { ++waits; };
    RandomSource source(SourceKind::Pseudo, p);
    for (int i = 0; i < 6; ++i) source.drawLineValue();
    EXPECT_EQ(waits, 6);
}

TEST(RandomSource, RandomDateRanges) {
    const QDate today(2026, 12, 8);
    // Pseudo, seed 1: the first draw below 21900 is 687.
    RandomSource pseudo(SourceKind::Pseudo, fixedPlatform(1));
    EXPECT_EQ(pseudo.randomCastDate(today), QDate(2025, 1, 20));
    // Hardware: the value modulo 21901, so 21900 days back at most.
    RandomSource hardware(SourceKind::Hardware,
                          fixedPlatform(0, [] { return std::optional<quint32>(21900u + 21901u * 3); }));
    EXPECT_EQ(hardware.randomCastDate(today), today.addDays(-21900));
    RandomSource zero(SourceKind::Hardware, fixedPlatform(0, [] { return std::optional<quint32>(21901u); }));
    EXPECT_EQ(zero.randomCastDate(today), today);
    RandomSource none(SourceKind::None, fixedPlatform(0));
    EXPECT_FALSE(none.randomCastDate(today).has_value());
}

TEST(RandomSource, SourceTexts) {
    EXPECT_EQ(RandomSource(SourceKind::Hardware, fixedPlatform(0)).sourceText(), QStringLiteral("CPU硬件真随机数可用"));
    EXPECT_EQ(RandomSource(SourceKind::Pseudo, fixedPlatform(0)).sourceText(), QStringLiteral("电脑伪随机数可用"));
    EXPECT_EQ(RandomSource(SourceKind::None, fixedPlatform(0)).sourceText(), QStringLiteral("电脑起卦不可用"));
}

TEST(RandomSource, ProcessorIdentification) {
#if defined(__x86_64__)
    EXPECT_EQ(casting::cpuVendor().size(), 12);
    // Only an Intel processor with the instruction is used.
    EXPECT_EQ(casting::hasCpuRdrand(),
              casting::cpuVendor() == QStringLiteral("GenuineIntel") && (casting::cpuFeatures() >> 30 & 1u));
    if (casting::cpuFeatures() >> 30 & 1u) {
        bool answered = false;  // the instruction may fail now and then; not ten times running
        for (int i = 0; i < 10 && !answered; ++i) answered = casting::rdrand32().has_value();
        EXPECT_TRUE(answered);
    }
#else
    EXPECT_FALSE(casting::hasCpuRdrand());
    EXPECT_FALSE(casting::rdrand32().has_value());
#endif
}

}  // namespace

namespace {

TEST(YarrowOdds, SixteenthsGiveTheYarrowCounts) {
    // 老阴 1, 老阳 3, 少阴 7, 少阳 5 of sixteen.
    std::map<int, int> counts;
    for (int bits = 0; bits < 16; ++bits) ++counts[casting::yarrowValueOfBits(bits)];
    EXPECT_EQ(counts, (std::map<int, int>{{1, 5}, {2, 7}, {3, 3}, {4, 1}}));
}

TEST(YarrowOdds, SeededDrawsFollowTheDistribution) {
    // Pearson's chi-square with 3 degrees of freedom; 16.266 is its 0.999 quantile
    // (NIST/SEMATECH e-Handbook, table 1.3.6.7.4), so a fair source fails one run in a thousand.
    RandomSource source(SourceKind::Pseudo, fixedPlatform(20240204u));
    constexpr int kDraws = 100000;
    std::map<int, int> counts;
    for (int i = 0; i < kDraws; ++i) ++counts[source.drawYarrowValue()];
    const std::map<int, double> share{{1, 5 / 16.0}, {2, 7 / 16.0}, {3, 3 / 16.0}, {4, 1 / 16.0}};
    double chiSquare = 0;
    for (const auto& [value, p] : share) {
        const double expected = kDraws * p;
        chiSquare += (counts[value] - expected) * (counts[value] - expected) / expected;
    }
    EXPECT_LT(chiSquare, 16.266);
    EXPECT_EQ(counts.size(), 4u);
}

}  // namespace
