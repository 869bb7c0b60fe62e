// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A private system bus for this test program, and NetworkManager or ModemManager played by
// python3-dbusmock on it. Waits are for events on the bus (a name appearing or going), never for
// a length of time.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quorvel::test {

struct ObjectUnref {
    void operator()(gpointer p) const { g_object_unref(p); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, ObjectUnref>;

// Starts a helper program that ends with the test program; fails the test (and returns null)
// when it cannot be started.
GSubprocess* spawn(const std::vector<std::string>& arguments, GSubprocessFlags flags);
// A dbus-daemon started with `arguments` (it prints its address once it listens), and a
// connection to it; aborts the test program when either fails.
GDBusConnection* startBus(std::vector<std::string> arguments, GObjectPtr<GSubprocess>& daemon, std::string& address);
// SIGTERM, then waits for it to end.
void stop(GSubprocess* process);

// A dbus-daemon of its own, started on first use and stopped at exit; DBUS_SYSTEM_BUS_ADDRESS
// points at it for the whole program.
class PrivateSystemBus {
public:
    static PrivateSystemBus& instance();
    ~PrivateSystemBus();
    GDBusConnection* connection() const { return connection_.get(); }
    // Blocks until `busName` has an owner (`present`) or none; false when `process` exits first.
    bool waitForOwner(const char* busName, bool present, GSubprocess* process = nullptr);
    // The serial of the unique name the bus gives a new connection now (":1.<serial>"): the
    // difference between two of them is the number of connections made in between.
    static unsigned long nextConnectionSerial();

private:
    PrivateSystemBus();
    std::string directory_;
    GObjectPtr<GSubprocess> daemon_;
    GObjectPtr<GDBusConnection> connection_;
};

// Tests that talk to the system bus: the private one is up before the first test, so that no
// test ever reaches the machine's own bus.
class SystemBusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { PrivateSystemBus::instance(); }
};

inline constexpr const char* kNetworkManagerPath = "/org/freedesktop/NetworkManager";
inline constexpr const char* kNetworkManagerInterface = "org.freedesktop.NetworkManager";

// One dbusmock process owning a service name; stopped (and its name gone) when destroyed.
class MockService {
public:
    // NetworkManager from dbusmock's template, with WwanEnabled as given.
    static std::unique_ptr<MockService> networkManager(bool wwanEnabled = true);
    // NetworkManager as a bare manager object: none of its methods or properties.
    static std::unique_ptr<MockService> bareNetworkManager();
    // A bare object at `path` with `interface`; `objectManager` adds GetManagedObjects there.
    static std::unique_ptr<MockService> plain(const char* busName, const char* path, const char* interface,
                                              bool objectManager);
    ~MockService();

    // Calls a method of dbusmock's control interface on the object at `path`; the arguments are
    // GVariant text ("('eth0', uint32 8)"). Fails the test on an error; returns the reply.
    std::string control(const std::string& path, const char* method, const std::string& arguments);
    // Calls a method of the service itself and returns its reply as GVariant text, or the error.
    std::string call(const std::string& path, const char* interface, const char* method,
                     const std::string& arguments);
    std::string property(const std::string& path, const char* interface, const char* name);
    // Stops the process without ending it, so it owns its name and answers nothing; and back.
    void freeze();
    void thaw();
    // NetworkManager only: a device object named `name` with the given Device properties (GVariant
    // text of an a{sv}); GetDevices lists it. Returns its path.
    std::string addDevice(const std::string& name, const std::string& properties);

private:
    MockService(std::string busName, std::vector<std::string> arguments);
    std::string busName_;
    GObjectPtr<GSubprocess> process_;
};

}  // namespace quorvel::test
