// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "cli/CtlArguments.hpp"
#include "model/DataPlan.hpp"
#include "model/LocalDay.hpp"

namespace quorvel {

class CAppController;

// `quorvelctl plan` and `quorvelctl addon`: the plan's shape, size, rollover and free hours, and
// the packs bought on top. Every value is checked before anything changes; a change is made in
// one step under the one-writer lock.
class CtlPlan {
public:
    using StartApp = std::function<CAppController&()>;
    // Exit code 0, or 1 for a refused value (nothing changed). `today` dates a pack without --from.
    static int plan(const CtlArguments& a, std::ostream& out, std::ostream& err, const StartApp& start);
    static int addon(const CtlArguments& a, std::ostream& out, std::ostream& err, const StartApp& start);


private:
    static void show(CAppController& app, bool json, std::ostream& out);
    static void listPacks(CAppController& app, bool json, std::ostream& out);
};

}  // namespace quorvel
