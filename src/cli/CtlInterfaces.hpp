// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <iosfwd>
#include <string>

#include "cli/CtlArguments.hpp"
#include "cli/CtlProblem.hpp"

namespace quorvel {

class CAppController;

// `quorvelctl interfaces`: every interface with whether it is counted, why, and its counters;
// --count, --ignore, --auto NAME and --metered on|off change what is counted. Every value is
// checked before anything changes; the changes are made under the one-writer lock.
class CtlInterfaces {
public:
    // Exit code 0, or 1 for a refused value (nothing changed). `app` is made on demand, after
    // the values were checked.
    template <class StartApp>
    static int run(const CtlArguments& a, std::ostream& out, std::ostream& err, StartApp&& startApp)
    {
        std::string refused;
        if (!valuesFit(a, refused)) {
            return CtlProblem::refuse(err, refused);
        }
        return apply(a, startApp(), out);
    }

    // Whether the text can name a network interface (what the kernel accepts as a name).
    static bool isInterfaceName(const std::string& name);

private:
    static bool valuesFit(const CtlArguments& a, std::string& refused);
    static int apply(const CtlArguments& a, CAppController& app, std::ostream& out);
    static void list(CAppController& app, bool json, std::ostream& out);
};

}  // namespace quorvel
