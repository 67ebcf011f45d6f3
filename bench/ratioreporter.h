#pragma once
// The console report of Google Benchmark, keeping each run's time (and its
// bytes-per-second counter, when it sets one) so that a program can print
// the ratios it is after once every benchmark has run.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Wall time suits what waits on the disk; processor time is steadier on
    // a loaded machine for what only computes.
    enum class Clock { Real, Cpu };
    explicit RatioReporter(Clock clock) : m_clock(clock) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            m_seconds[run.benchmark_name()] =
                m_clock == Clock::Real ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
            if (run.counters.count("bytes_per_second"))
                m_bytesPerSecond[run.benchmark_name()] = run.counters.at("bytes_per_second");
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The time of `over` divided by that of `under`; -1 when either did not run.
    double ratio(const std::string& over, const std::string& under) const
    {
        const auto a = m_seconds.find(over), b = m_seconds.find(under);
        if (a == m_seconds.end() || b == m_seconds.end() || b->second <= 0)
            return -1.0;
        return a->second / b->second;
    }
    // The bytes-per-second counter of a run; -1 when it has none.
    double bytesPerSecond(const std::string& name) const
    {
        const auto it = m_bytesPerSecond.find(name);
        return it == m_bytesPerSecond.end() ? -1.0 : it->second;
    }

private:
    Clock m_clock;
    std::map<std::string, double> m_seconds;
    std::map<std::string, double> m_bytesPerSecond;
};
