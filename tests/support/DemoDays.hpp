// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The days of a realistic history, for the demo state and the screens' tests.
#include <cstdint>
#include <stdexcept>

#include "engine/CTraffics.hpp"
#include "model/DateDay.hpp"
#include "platform/Calendar.hpp"

namespace quorvel::test {

// Books one day record at 09:00 on every day from the first of the month two months back up to
// `now` into an empty history; the i-th day gets bytes(i).
template <class Bytes>
void bookDemoDays(CTraffics& history, Date now, Bytes bytes)
{
    if (!history.months().empty()) {
        throw std::logic_error("the demo days go into an empty history");
    }
    DateComponents c = Calendar::components(now);
    c.day = 1;
    c.month -= 2;
    c.hour = 9;
    int i = 0;
    for (Date d = *Calendar::date(c); !DateDay::isLaterDate(now, d); d = d.plusSeconds(86400), ++i) {
        history.addNewTrafficPoint(CTrafficPoint::trafficPointWithDate(d, bytes(i)));
    }
    history.sampler().resetObtainerCounter();
}

}  // namespace quorvel::test
