// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/ChartScale.hpp"

#include <array>

namespace quorvel {

ChartScale ChartScale::getChartScale(std::uint64_t bytes)
{
    // 2^64 bytes reach the seventh unit, so the list has one beyond petabytes.
    static constexpr std::array<const char*, 7> kUnits = {"B", "KB", "MB", "GB", "TB", "PB", "EB"};
    struct Row {
        double below;  // the row applies while c < below (c <= 1000 for the last)
        std::int64_t maximum;
        unsigned interval;
        unsigned minor;
    };
    static constexpr std::array<Row, 9> kRows = {Row{2, 3, 1, 4},       Row{5, 6, 1, 1},     Row{10, 10, 2, 1},
                                                 Row{20, 20, 5, 4},     Row{50, 50, 10, 1},  Row{100, 100, 20, 1},
                                                 Row{200, 200, 50, 4},  Row{500, 500, 100, 1}, Row{1000, 1000, 200, 1}};
    double c = static_cast<double>(bytes);
    ChartScale s;
    std::size_t k = 0;
    while (c > 1000.0) {
        c /= 1000.0;
        s.divisor *= 1000;
        ++k;
    }
    if (k < kUnits.size()) {
        s.unit = kUnits[k];
    }
    const Row* row = &kRows.back();
    for (const Row& r : kRows) {
        if (c < r.below) {
            row = &r;
            break;
        }
    }
    s.maximum = static_cast<std::int64_t>(static_cast<double>(row->maximum) * 1.1);
    s.majorInterval = row->interval;
    s.minorTicks = row->minor;
    return s;
}

}  // namespace quorvel
