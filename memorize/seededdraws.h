#pragma once
// The press's random source: uniform word indices from a 64-bit Mersenne
// twister. The mapping to 1..count is our own (rejection of the biased top),
// so that one seed gives the same draws with every compiler and library.

#include <cstdint>
#include <random>

class SeededDraws {
public:
    explicit SeededDraws(std::uint64_t seed) : m_engine(seed) {}
    // Seeded from the clock, as the window does at every press.
    static SeededDraws fromClock();

    std::int64_t operator()(std::int64_t count);

private:
    std::mt19937_64 m_engine;
    // The rejection limit of the last count asked for: a press asks for the
    // same count every time, and the division is worth keeping.
    std::uint64_t m_range = 0;
    std::uint64_t m_limit = 0;
};
