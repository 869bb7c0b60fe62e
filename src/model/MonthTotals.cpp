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

}  // namespace quorvel
