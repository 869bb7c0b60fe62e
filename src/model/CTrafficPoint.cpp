#include "model/CTrafficPoint.hpp"

#include "model/DateDay.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

namespace quorvel {

void CTrafficPoint::absorb(const CTrafficPoint& other)
{
    addTraffic(other.getTotalTraffic(), other.getRoamingTraffic());
    if (other.pTraffWf) {
        addTrafficWf(*other.pTraffWf);
    }
    if (other.pTraffEntered) {
        pTraffEntered = getEnteredTraffic() + *other.pTraffEntered;
    }
}

int CTrafficPoint::getDayNumberInMonth() const
{
    return DateDay::getDayNumber(pDate);
}

std::string CTrafficPoint::getMonthName() const
{
    return DateDay::getMonthName(pDate);
}

void CTrafficPoint::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeDate("Date", pDate);
    coder.encodeUInt64("Traffic", pTraff);
    coder.encodeUInt64("TrafficWiFi", pTraffWf);
    coder.encodeUInt64("TrafficRoaming", pTraffRoaming);
    coder.encodeUInt64("TrafficEntered", pTraffEntered);
}

std::unique_ptr<CTrafficPoint> CTrafficPoint::initWithCoder(ArchiveDecoder& coder)
{
    auto p = std::make_unique<CTrafficPoint>();
    const std::optional<Date> date = coder.decodeDate("Date");
    if (!date) {
        coder.fail("Date", "a date");  // every calendar question about the day needs it
    }
    p->pDate = *date;
    p->pTraff = coder.decodeByteCount("Traffic");
    if (!p->pTraff) {
        coder.fail("Traffic", "a count of bytes");  // always written: a day without it was damaged
    }
    p->pTraffWf = coder.decodeByteCount("TrafficWiFi");
    p->pTraffRoaming = coder.decodeByteCount("TrafficRoaming");
    p->pTraffEntered = coder.decodeByteCount("TrafficEntered");
    if (p->getRoamingTraffic() > *p->pTraff || p->getEnteredTraffic() > *p->pTraff) {
        coder.fail("Traffic", "at least its roaming and entered shares");
    }
    return p;
}

}  // namespace quorvel
