#pragma once
#include <cstdint>
#include <memory>

namespace quorvel {

class CTrafficManager;

// How screens reach the application controller.
class GlobalAppProtocol {
public:
    virtual ~GlobalAppProtocol() = default;

    virtual void CreateTraffManager() = 0;
    virtual void SaveState() = 0;
    virtual void initPrefs() = 0;
    virtual void SavePrefs() = 0;
    virtual void checkTraffic() = 0;  // does nothing
    virtual void setThresholdKoeff(double k, double dkDay) = 0;
    virtual void onResetLocations(const void* sender) = 0;
    virtual void onResetPrevMonthsInfo(const void* sender) = 0;
    virtual void onResetThisMonthDataInfo(std::uint64_t used) = 0;
    virtual void onResetPlanValue(std::uint64_t plan) = 0;
    virtual void onResetPlanStartDay(std::int32_t day) = 0;
    virtual void resetFirstStart() = 0;
    virtual CTrafficManager* pmodule() const = 0;
    virtual void setPmodule(std::unique_ptr<CTrafficManager> manager) = 0;
};

}  // namespace quorvel
