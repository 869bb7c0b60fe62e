// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CTrafficPoint.hpp"

#include "model/DateDay.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"

namespace quorvel {

void CTrafficPoint::absorb(const CTrafficPoint& other)
{
    addTraffic(other.getTotalTraffic(), other.getRoamingTraffic(), other.getFreeTraffic());
    if (other.traffWf_) {
        addTrafficWf(*other.traffWf_);
    }
    if (other.traffEntered_) {
        traffEntered_ = getEnteredTraffic() + *other.traffEntered_;
    }
}

CTrafficPoint CTrafficPoint::withShares(Date date, std::uint64_t bytes, std::uint64_t roaming, std::uint64_t entered,
                                        std::uint64_t free, std::uint64_t wifi)
{
    QV_REQUIRE(roaming <= bytes && entered <= bytes && free <= bytes, "withShares: no share above the day's bytes");
    CTrafficPoint p(date, bytes);
    const auto given = [](std::uint64_t n) { return n != 0 ? std::optional<std::uint64_t>(n) : std::nullopt; };
    p.traffRoaming_ = given(roaming);
    p.traffEntered_ = given(entered);
    p.traffFree_ = given(free);
    p.traffWf_ = given(wifi);
    return p;
}

bool CTrafficPoint::sameAmounts(const CTrafficPoint& other) const
{
    return getTotalTraffic() == other.getTotalTraffic() && getRoamingTraffic() == other.getRoamingTraffic() &&
           getEnteredTraffic() == other.getEnteredTraffic() && getFreeTraffic() == other.getFreeTraffic() &&
           getTotalTrafficWf() == other.getTotalTrafficWf();
}

int CTrafficPoint::getDayNumberInMonth() const
{
    return DateDay::getDayNumber(date_);
}

std::string CTrafficPoint::getMonthName() const
{
    return DateDay::getMonthName(date_);
}

void CTrafficPoint::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeDate("Date", date_);
    coder.encodeUInt64("Traffic", traff_);
    coder.encodeUInt64("TrafficWiFi", traffWf_);
    coder.encodeUInt64("TrafficRoaming", traffRoaming_);
    coder.encodeUInt64("TrafficEntered", traffEntered_);
    coder.encodeUInt64("TrafficFree", traffFree_);
}

std::unique_ptr<CTrafficPoint> CTrafficPoint::initWithCoder(ArchiveDecoder& coder)
{
    auto p = std::make_unique<CTrafficPoint>();
    const std::optional<Date> date = coder.decodeDate("Date");
    if (!date) {
        coder.fail("Date", "a date");  // every calendar question about the day needs it
    }
    p->date_ = *date;
    p->traff_ = coder.decodeByteCount("Traffic");
    if (!p->traff_) {
        coder.fail("Traffic", "a count of bytes");  // always written: a day without it was damaged
    }
    p->traffWf_ = coder.decodeByteCount("TrafficWiFi");
    p->traffRoaming_ = coder.decodeByteCount("TrafficRoaming");
    p->traffEntered_ = coder.decodeByteCount("TrafficEntered");
    p->traffFree_ = coder.decodeByteCount("TrafficFree");
    if (p->getRoamingTraffic() > *p->traff_ || p->getEnteredTraffic() > *p->traff_ || p->getFreeTraffic() > *p->traff_) {
        coder.fail("Traffic", "at least its roaming, entered and free shares");
    }
    return p;
}

}  // namespace quorvel
