#include "memorize/seededdraws.h"

#include "platform/exception.h"

#include <chrono>
#include <limits>

SeededDraws SeededDraws::fromClock()
{
    return SeededDraws(std::uint64_t(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

std::int64_t SeededDraws::operator()(std::int64_t count)
{
    if (count < 1)
        throw Exception("cannot draw a word index from an empty range");
    const std::uint64_t range = std::uint64_t(count);
    if (range != m_range) {
        // The largest multiple of range that fits; values at or above it
        // would favour the low indices.
        constexpr std::uint64_t top = std::numeric_limits<std::uint64_t>::max();
        m_range = range;
        m_limit = top - top % range;
    }
    std::uint64_t x = m_engine();
    while (x >= m_limit)
        x = m_engine();
    return std::int64_t(x % range) + 1;
}
