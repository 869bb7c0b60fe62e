#include "engine/CTrafficObtainer.hpp"

#include <array>

#include "engine/Messages.hpp"
#include "model/DateDay.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/InterfaceCounters.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/Uptime.hpp"

namespace quorvel {

CTrafficObtainer::CTrafficObtainer(const Env& env, std::optional<Date> date, std::int64_t startSize, double sWTime)
    : prevShotDate(date ? *date : env.clock.now()), prevTrafficSize(startSize), sysWorkTime(sWTime), env_(&env)
{
}

bool CTrafficObtainer::isCellularInterface(std::string_view name)
{
    // "ww" covers wwan*, the names modems get on Linux; pdp_ip, rmnet and ppp cover the rest.
    static constexpr std::array<std::string_view, 5> kPrefixes = {"pdp_ip", "wwan", "ww", "rmnet", "ppp"};
    for (std::string_view prefix : kPrefixes) {
        if (name.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

std::int64_t CTrafficObtainer::obtainAllTraffic() const
{
    const auto list = env_->counters.read();
    if (!list) {
        return 0;
    }
    std::int64_t received = 0;
    std::int64_t sent = 0;
    for (const InterfaceCounters& c : *list) {
        if (isCellularInterface(c.name)) {
            received += c.rxBytes;
            sent += c.txBytes;
        }
    }
    return received + sent;
}

CTrafficObtainer::Increment CTrafficObtainer::getTrafficIncrementPoint(CTrafficPoint* latest)
{
    const Date now = env_->clock.now();
    const bool newDay = latest == nullptr || DateDay::isNewDay(latest->pDate, now);
    const std::int64_t prev = prevTrafficSize.value_or(0);
    const double storedUptime = sysWorkTime.value_or(0.0);
    const std::int64_t cur = obtainAllTraffic();
    const double uptime = env_->uptime.uptime();
    const Increment unchanged{latest != nullptr ? Increment::Kind::SameRecord : Increment::Kind::Nothing, {}};

    if (prev == kNoBaseline || cur == 0) {
        prevTrafficSize = cur;
        sysWorkTime = uptime;
        return unchanged;
    }
    std::int64_t delta = 0;
    if (uptime < storedUptime) {
        delta = cur;  // restarted since the last sample: every counter began again at 0
    } else if (cur == prev) {
        sysWorkTime = uptime;
        return unchanged;
    } else if (cur > prev) {
        delta = cur - prev;
    } else {
        delta = cur;  // an interface was reset or removed, or a 32-bit counter wrapped
    }
    prevTrafficSize = cur;
    sysWorkTime = uptime;
    prevShotDate = now;

    Increment result;
    if (newDay) {
        result = Increment{Increment::Kind::NewRecord,
                           CTrafficPoint::trafficPointWithDate(now, static_cast<std::uint64_t>(delta))};
    } else {
        latest->addTraffic(static_cast<std::uint64_t>(delta));
        result = Increment{Increment::Kind::SameRecord, {}};
    }
    dataUsageChanged();
    return result;
}

void CTrafficObtainer::ResetObtainerCounter()
{
    prevTrafficSize = obtainAllTraffic();
}

void CTrafficObtainer::dataUsageChanged()
{
    env_->center.post(messages::kDataUsageWasChanged, this);
}

void CTrafficObtainer::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeDate("PrevShotDate", prevShotDate);
    coder.encodeInt64("PrevTrafficSize", prevTrafficSize);
    coder.encodeDouble("SystemUpTime", sysWorkTime);
}

std::unique_ptr<CTrafficObtainer> CTrafficObtainer::initWithCoder(ArchiveDecoder& coder)
{
    QV_REQUIRE(coder.env() != nullptr, "decoding a sampler needs a decoder made with the platform services");
    auto o = std::make_unique<CTrafficObtainer>(*coder.env(), std::nullopt, 0, 0.0);
    o->prevShotDate = coder.decodeDate("PrevShotDate");
    o->prevTrafficSize = coder.decodeInt64("PrevTrafficSize");
    o->sysWorkTime = coder.decodeDouble("SystemUpTime");
    return o;
}

}  // namespace quorvel
