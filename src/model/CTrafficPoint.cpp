// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CTrafficPoint.hpp"

#include "model/DateDay.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

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
