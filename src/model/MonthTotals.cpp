// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/MonthTotals.hpp"

#include <algorithm>

namespace quorvel {

const MonthTotal* MonthTotals::find(int monthKey) const
{
    const auto at = std::find_if(totals_.begin(), totals_.end(), [&](const MonthTotal& t) { return t.key() == monthKey; });
    return at != totals_.end() ? &*at : nullptr;
}

bool MonthTotals::keep(const MonthTotal& total)
{
    const auto at = std::lower_bound(totals_.begin(), totals_.end(), total.key(),
                                     [](const MonthTotal& t, int key) { return t.key() < key; });
    if (at == totals_.end() || at->key() != total.key()) {
        totals_.insert(at, total);
        return true;
    }
    if (!total.exceeds(*at)) {
        return false;
    }
    *at = total;
    return true;
}

void MonthTotals::forgetOlderThanTenYears(const MonthTotal& current)
{
    const int oldest = current.keyPlusMonths(-kKeptMonths);
    std::erase_if(totals_, [&](const MonthTotal& t) { return t.key() < oldest; });
}

std::vector<MonthTotal> MonthTotals::lastTwelve(const MonthTotal& current, const std::vector<MonthTotal>& held) const
{
    std::vector<MonthTotal> out;
    for (int n = -11; n <= 0; ++n) {
        const int key = current.keyPlusMonths(n);
        if (key / 100 < 1970) {
            continue;  // a clock at the epoch has no year behind it
        }
        const auto same = std::find_if(held.begin(), held.end(), [&](const MonthTotal& t) { return t.key() == key; });
        const MonthTotal* kept = find(key);
        out.push_back(same != held.end() ? *same : kept != nullptr ? *kept : MonthTotal(key / 100, key % 100, 0, 0, 0, std::nullopt));
    }
    return out;
}

}  // namespace quorvel
