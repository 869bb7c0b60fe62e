// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A session bus of this test program's own, for the programs it starts (never in its own
// environment), and names owned on it the way the window owns its application id.
#include <gio/gio.h>

#include <string>

#include "MockBus.hpp"

namespace quorvel::test {

class PrivateSessionBus {
public:
    // Started on first use, stopped at exit.
    static PrivateSessionBus& instance();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    const std::string& address() const { return address_; }
    // Takes `name` as its only owner (fails the test when someone else has it), and gives it back;
    // both are done when they return.
    void own(const std::string& name);
    void release(const std::string& name);

private:
    PrivateSessionBus();
    // The bus daemon's reply code to `method` on `name`.
    guint32 call(const char* method, GVariant* parameters);

    std::string directory_;
    std::string address_;
    GObjectPtr<GSubprocess> daemon_;
    GObjectPtr<GDBusConnection> connection_;
};

}  // namespace quorvel::test
