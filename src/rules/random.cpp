#include "rules/random.h"

#include <chrono>
#include <random>

namespace vellumar {

namespace {

std::mt19937& RandomEngine() {
    static std::mt19937 engine(5489u);
    return engine;
}

} // namespace

void SeedRandom(uint32_t seed) {
    RandomEngine().seed(seed);
}

void SeedRandomFromClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    SeedRandom(
        static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

void SeedRandom(std::optional<uint32_t> seed) {
    if (seed)
        SeedRandom(*seed);
    else
        SeedRandomFromClock();
}

int32_t RandomInt(int32_t n) {
    if (n <= 0) return 0;
    // Rejection keeps every value equally likely.
    const uint32_t range = static_cast<uint32_t>(n);
    const uint32_t limit = UINT32_MAX - (UINT32_MAX % range + 1) % range;
    uint32_t r;
    do r = RandomEngine()();
    while (r > limit);
    return static_cast<int32_t>(r % range);
}

} // namespace vellumar
