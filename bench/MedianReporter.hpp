// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shows the runs as usual and keeps each benchmark's time per iteration, so that a benchmark
// program can print its ratios, measured in the same run, once the runs are done.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace quorvel::bench {

class MedianReporter final : public benchmark::ConsoleReporter {
public:
    enum class Clock { Real, Cpu };
    explicit MedianReporter(Clock clock = Clock::Real) : clock_(clock) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Iteration && !r.error_occurred && r.iterations > 0) {
                const double total = clock_ == Clock::Real ? r.real_accumulated_time : r.cpu_accumulated_time;
                seconds_[r.run_name.function_name].push_back(total / static_cast<double>(r.iterations));
            }
        }
    }
    // Seconds per iteration of the benchmark function `name` (median over repetitions), 0 if it did not run.
    double median(const std::string& name)
    {
        std::vector<double>& v = seconds_[name];
        if (v.empty()) {
            return 0.0;
        }
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }

private:
    Clock clock_;
    std::map<std::string, std::vector<double>> seconds_;
};

}  // namespace quorvel::bench
