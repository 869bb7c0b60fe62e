// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>

#include "engine/AppActions.hpp"

namespace quorvel {

class CTrafficManager;

// The application controller as the shell drives it; screens see only its actions.
class GlobalAppProtocol : public AppActions {
public:
    virtual void CreateTraffManager() = 0;
    virtual void SaveState() = 0;
    virtual void initPrefs() = 0;
    virtual void SavePrefs() = 0;
    virtual void checkTraffic() = 0;  // does nothing
    virtual void setThresholdKoeff(double k, double dkDay) = 0;
    virtual CTrafficManager* pmodule() const = 0;
    virtual void setPmodule(std::unique_ptr<CTrafficManager> manager) = 0;
};

}  // namespace quorvel
