#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "engine/random.h"

namespace {
// The generator step written out from the algorithm, used to check the engine's against.
int referenceStep(int& state) {
    long long next =
        static_cast<long long>(state % 44488) * 48271 - static_cast<long long>(state / 44488) * 3399;
    if (next < 0) next += 2147483647;
    state = static_cast<int>(next);
    return state;
}
} // namespace

TEST(Random, SeedingRules) {
    SeedRandom(99);
    EXPECT_EQ(RandomState(), 99);
    SeedRandom(-5); // AND 0x7FFFFFFF
    EXPECT_EQ(RandomState(), 0x7FFFFFFB);
    // Seeds whose double is 0 or -2 (in 32 bits) would leave the generator stuck: they give 4660.
    for (int seed : {0, -1, 0x7FFFFFFF, static_cast<int>(0x80000000u)}) {
        SeedRandom(123);
        SeedRandom(seed);
        EXPECT_EQ(RandomState(), 4660) << seed;
    }
}

TEST(Random, UnseededSequenceFromStateFourSixSixZero) {
    SetRandomState(4660);
    // 4660 * 48271 = 224942860: the first step needs no wrap.
    EXPECT_FLOAT_EQ(RandomFloat(), static_cast<float>((224942860 & 0x0FFFFFF0) / 268435456.0));
    EXPECT_EQ(RandomState(), 224942860);

    SetRandomState(4660);
    int s1 = 224942860, s2 = 539475828;
    double expected = ((s1 & 0x1FFFFFFC) + (s2 & 0x1FFFFFF8) / 134217728.0) / 536870912.0;
    EXPECT_DOUBLE_EQ(RandomReal(), expected);
    EXPECT_NEAR(expected, 0.41898872706928869, 1e-15);
    EXPECT_EQ(RandomState(), 539475828); // RandomReal takes two steps
}

TEST(Random, StepMatchesSchrageOverALongRun) {
    SeedRandom(20261208);
    int reference = 20261208;
    for (int i = 0; i < 10000; ++i) {
        referenceStep(reference);
        RandomFloat();
        ASSERT_EQ(RandomState(), reference) << "step " << i;
    }
}

TEST(Random, RealRangesInEitherOrder) {
    SeedRandom(12345);
    double r = RandomReal();
    SeedRandom(12345);
    EXPECT_DOUBLE_EQ(RandomReal(3.0, 5.0), 3.0 + r * 2.0);
    SeedRandom(12345);
    EXPECT_DOUBLE_EQ(RandomReal(5.0, 3.0), 3.0 + r * 2.0); // reversed: b + r * (a - b)
    SeedRandom(777);
    for (int i = 0; i < 10000; ++i) {
        double v = RandomReal();
        ASSERT_GE(v, 0.0);
        ASSERT_LT(v, 1.0);
    }
}

TEST(Random, IntIncludesBothEndsAndAcceptsReversedBounds) {
    SeedRandom(12345);
    double r = RandomReal();
    SeedRandom(12345);
    EXPECT_EQ(RandomInt(10, 20), 10 + static_cast<int>(r * 11));
    SeedRandom(12345);
    EXPECT_EQ(RandomInt(20, 10), 10 + static_cast<int>(r * 11)); // d = -10: b + trunc(r * 11)
    SeedRandom(12345);
    EXPECT_EQ(RandomInt(7, 7), 7);

    SeedRandom(42);
    std::set<int> forward, reversed;
    for (int i = 0; i < 2000; ++i) {
        forward.insert(RandomInt(1, 4));
        reversed.insert(RandomInt(4, 1));
    }
    EXPECT_EQ(forward, (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(reversed, (std::set<int>{1, 2, 3, 4}));
    // Negative ranges truncate toward zero like everything else, and stay inside.
    for (int i = 0; i < 2000; ++i) {
        int v = RandomInt(-3, -1);
        ASSERT_GE(v, -3);
        ASSERT_LE(v, -1);
    }
}

TEST(Random, SameSeedSameSequence) {
    SeedRandom(555);
    double a1 = RandomReal(), a2 = RandomReal(0, 100);
    int a3 = RandomInt(0, 1000);
    SeedRandom(555);
    EXPECT_EQ(RandomReal(), a1);
    EXPECT_EQ(RandomReal(0, 100), a2);
    EXPECT_EQ(RandomInt(0, 1000), a3);
}

TEST(Maths, DegreesAndTruncation) {
    EXPECT_NEAR(SinDeg(90), 1.0, 1e-12);
    EXPECT_NEAR(CosDeg(180), -1.0, 1e-12);
    EXPECT_NEAR(SinDeg(-30), -0.5, 1e-12);
    EXPECT_NEAR(ATan2Deg(10, 0), 90.0, 1e-12); // y down: 90 points down
    EXPECT_NEAR(ATan2Deg(0, -10), 180.0, 1e-12);
    EXPECT_NEAR(ATan2Deg(-10, 0), -90.0, 1e-12);
    EXPECT_EQ(TruncInt(2.9), 2);
    EXPECT_EQ(TruncInt(-2.9), -2);
    EXPECT_EQ(TruncInt(std::nan("")), 0);
    EXPECT_EQ(TruncInt(1e30), 2147483647);
    EXPECT_EQ(TruncInt(-1e30), -2147483647 - 1);
}
