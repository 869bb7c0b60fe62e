// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CPlanProtocol.hpp"

#include "model/CTrafficPoint.hpp"

namespace quorvel {

UsageFigures CPlanProtocol::usageFigures() const
{
    UsageFigures::Base base;
    base.plan = getMonthPlan();
    base.used = getDataUsed();
    const CTrafficPoint* today = getTrafficToday();
    base.today = today != nullptr ? today->getTotalTraffic() : 0;
    UsageFigures figures = UsageFigures::compute(base);
    figures.dayPlan = getDayPlan();
    return figures;
}

}  // namespace quorvel
