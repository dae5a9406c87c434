#pragma once

#include <cstdint>

namespace demo {

// splitmix64 with its own mapping to ranges, so that the same seed gives the same database with any
// standard library (the library's distributions are implementation-defined).
class Prng {
public:
    explicit Prng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // 0 <= result < bound; the modulo bias is irrelevant for demo data and keeps the mapping obvious.
    int below(int bound) {
        return bound <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(bound));
    }

    // True with probability percent/100.
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint64_t state_;
};

} // namespace demo
