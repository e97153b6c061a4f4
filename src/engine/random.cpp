#include "engine/random.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {
constexpr int kUnseededState = 4660; // 0x1234
int state = kUnseededState;

// One Park-Miller step with multiplier 48271, by Schrage's method (no 64-bit product needed).
int step() {
    int next = (state % 44488) * 48271 - (state / 44488) * 3399;
    if (next < 0) next += 2147483647;
    state = next;
    return next;
}
} // namespace

void SeedRandom(int seed) {
    // The doubling is done in 32 bits: it catches 0 and 0x80000000 (state 0) as well as -1 and
    // 0x7FFFFFFF (state 2^31 - 1), the states the generator would be stuck in.
    std::int32_t doubled = static_cast<std::int32_t>(static_cast<std::uint32_t>(seed) * 2u);
    if (doubled == 0 || doubled == -2) {
        state = kUnseededState;
    } else {
        state = seed & 0x7FFFFFFF;
    }
}

int RandomState() {
    return state;
}
void SetRandomState(int newState) {
    state = newState;
}

double RandomReal() {
    int s1 = step();
    int s2 = step();
    return ((s1 & 0x1FFFFFFC) + (s2 & 0x1FFFFFF8) / 134217728.0) / 536870912.0;
}

double RandomReal(double a, double b) {
    double r = RandomReal();
    if (b > a) return a + r * (b - a);
    return b + r * (a - b);
}

int RandomInt(int a, int b) {
    // The difference is taken in 64 bits so that bounds far apart do not overflow.
    std::int64_t d = static_cast<std::int64_t>(b) - a;
    double r = RandomReal();
    if (d <= 0) return static_cast<int>(b + static_cast<std::int64_t>(r * static_cast<double>(1 - d)));
    return static_cast<int>(a + static_cast<std::int64_t>(r * static_cast<double>(d + 1)));
}

float RandomFloat() {
    return static_cast<float>((step() & 0x0FFFFFF0) / 268435456.0);
}

double SinDeg(double degrees) {
    return std::sin(degrees * 0.017453292519943295);
}
double CosDeg(double degrees) {
    return std::cos(degrees * 0.017453292519943295);
}
double ATan2Deg(double y, double x) {
    return std::atan2(y, x) * 57.29577951308232;
}

int TruncInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}
