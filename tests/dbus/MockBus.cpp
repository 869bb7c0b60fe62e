// SPDX-License-Identifier: GPL-3.0-or-later
#include "MockBus.hpp"

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quorvel::test {

namespace {

struct ErrorFree {
    void operator()(GError* e) const { g_error_free(e); }
};
using Error = std::unique_ptr<GError, ErrorFree>;
using Text = std::unique_ptr<gchar, decltype(&g_free)>;

const char* kConfig = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:dir=@DIR@</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
)";

std::string printed(GVariant* value)
{
    Text text(g_variant_print(value, FALSE), g_free);
    return text.get();
}

GVariant* parsed(const std::string& text)
{
    GError* raw = nullptr;
    GVariant* value = g_variant_parse(nullptr, text.c_str(), nullptr, nullptr, &raw);
    Error error(raw);
    if (value == nullptr) {
        ADD_FAILURE() << "bad GVariant text " << text << ": " << error->message;
    }
    return value;
}

// Runs `context` until `done` or the process exits.
struct OwnerWait {
    const char* name;
    bool present;
    bool done = false;
    bool exited = false;
};

void onOwnerChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
                    gpointer data)
{
    auto* wait = static_cast<OwnerWait*>(data);
    const gchar* newOwner = nullptr;
    g_variant_get(parameters, "(&s&s&s)", nullptr, nullptr, &newOwner);
    wait->done = wait->done || ((newOwner[0] != '\0') == wait->present);
}

void onExited(GObject*, GAsyncResult*, gpointer data)
{
    static_cast<OwnerWait*>(data)->exited = true;
}

}  // namespace

GSubprocess* spawn(const std::vector<std::string>& arguments, GSubprocessFlags flags)
{
    std::vector<const gchar*> argv;
    for (const std::string& a : arguments) {
        argv.push_back(a.c_str());
    }
    argv.push_back(nullptr);
    GObjectPtr<GSubprocessLauncher> launcher(g_subprocess_launcher_new(flags));
    // A test program killed half-way leaves no bus or mock behind; a helper started while the
    // test blocks SIGTERM (to read it from a watch) still ends at SIGTERM.
    g_subprocess_launcher_set_child_setup(
        launcher.get(),
        [](gpointer) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
        },
        nullptr, nullptr);
    GError* raw = nullptr;
    GSubprocess* process = g_subprocess_launcher_spawnv(launcher.get(), argv.data(), &raw);
    Error error(raw);
    if (process == nullptr) {
        ADD_FAILURE() << "cannot start " << arguments.front() << ": " << error->message;
    }
    return process;
}

GDBusConnection* startBus(std::vector<std::string> arguments, GObjectPtr<GSubprocess>& daemon, std::string& address)
{
    arguments.insert(arguments.end(), {"--nofork", "--print-address=1"});
    daemon.reset(spawn(arguments, G_SUBPROCESS_FLAGS_STDOUT_PIPE));
    if (!daemon) {
        std::abort();
    }
    GObjectPtr<GDataInputStream> out(g_data_input_stream_new(g_subprocess_get_stdout_pipe(daemon.get())));
    Text printed(g_data_input_stream_read_line(out.get(), nullptr, nullptr, nullptr), g_free);
    if (!printed) {
        std::abort();
    }
    address = printed.get();
    const auto flags = static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                         G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    GDBusConnection* connection = g_dbus_connection_new_for_address_sync(address.c_str(), flags, nullptr, nullptr, nullptr);
    if (connection == nullptr) {
        std::abort();
    }
    return connection;
}

void stop(GSubprocess* process)
{
    if (process != nullptr) {
        g_subprocess_send_signal(process, SIGTERM);
        g_subprocess_wait(process, nullptr, nullptr);
    }
}

PrivateSystemBus& PrivateSystemBus::instance()
{
    static PrivateSystemBus bus;
    return bus;
}

PrivateSystemBus::PrivateSystemBus()
{
    Text dir(g_dir_make_tmp("quorvel-bus-XXXXXX", nullptr), g_free);
    directory_ = dir.get();
    std::string config = kConfig;
    config.replace(config.find("@DIR@"), 5, directory_);
    const std::string configPath = directory_ + "/system.conf";
    std::ofstream(configPath) << config;
    std::string address;
    connection_.reset(startBus({"dbus-daemon", "--config-file=" + configPath}, daemon_, address));
    g_setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), TRUE);
}

PrivateSystemBus::~PrivateSystemBus()
{
    connection_.reset();
    stop(daemon_.get());
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

bool PrivateSystemBus::waitForOwner(const char* busName, bool present, GSubprocess* process)
{
    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);
    OwnerWait wait{busName, present};
    const guint id = g_dbus_connection_signal_subscribe(connection_.get(), "org.freedesktop.DBus",
                                                        "org.freedesktop.DBus", "NameOwnerChanged",
                                                        "/org/freedesktop/DBus", busName, G_DBUS_SIGNAL_FLAGS_NONE,
                                                        onOwnerChanged, &wait, nullptr);
    GObjectPtr<GCancellable> cancel(g_cancellable_new());
    if (process != nullptr) {
        g_subprocess_wait_async(process, cancel.get(), onExited, &wait);
    }
    // Asked after subscribing, so a change in between is not missed.
    GVariant* reply = g_dbus_connection_call_sync(connection_.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "NameHasOwner", g_variant_new("(s)", busName),
                                                  G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    gboolean owned = FALSE;
    if (reply != nullptr) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    wait.done = (owned != FALSE) == present;
    while (!wait.done && !wait.exited) {
        g_main_context_iteration(context, TRUE);
    }
    g_cancellable_cancel(cancel.get());
    g_dbus_connection_signal_unsubscribe(connection_.get(), id);
    while (g_main_context_iteration(context, FALSE)) {
    }
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);
    return wait.done;
}

std::unique_ptr<MockService> MockService::networkManager(bool wwanEnabled)
{
    return std::unique_ptr<MockService>(new MockService(
        "org.freedesktop.NetworkManager",
        {"--template", "networkmanager", "--parameters",
         std::string("{\"WwanEnabled\": ") + (wwanEnabled ? "true" : "false") + "}"}));
}

std::unique_ptr<MockService> MockService::bareNetworkManager()
{
    return plain(kNetworkManagerInterface, kNetworkManagerPath, kNetworkManagerInterface, false);
}

std::unique_ptr<MockService> MockService::plain(const char* busName, const char* path, const char* interface,
                                                bool objectManager)
{
    std::vector<std::string> arguments = {busName, path, interface};
    if (objectManager) {
        arguments.insert(arguments.begin(), "--is-object-manager");
    }
    return std::unique_ptr<MockService>(new MockService(busName, std::move(arguments)));
}

MockService::MockService(std::string busName, std::vector<std::string> arguments) : busName_(std::move(busName))
{
    PrivateSystemBus& bus = PrivateSystemBus::instance();
    // The Debian interpreter: dbusmock is a Debian package, whatever python3 comes first on PATH.
    arguments.insert(arguments.begin(), {"/usr/bin/python3", "-m", "dbusmock", "--system"});
    process_.reset(spawn(arguments, G_SUBPROCESS_FLAGS_STDOUT_SILENCE));
    if (process_ && !bus.waitForOwner(busName_.c_str(), true, process_.get())) {
        ADD_FAILURE() << "dbusmock for " << busName_ << " exited before taking its name";
    }
}

MockService::~MockService()
{
    thaw();
    stop(process_.get());
    PrivateSystemBus::instance().waitForOwner(busName_.c_str(), false);
}

std::string MockService::call(const std::string& path, const char* interface, const char* method,
                              const std::string& arguments)
{
    GVariant* parameters = parsed(arguments);
    GError* raw = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(PrivateSystemBus::instance().connection(), busName_.c_str(),
                                                  path.c_str(), interface, method, parameters, nullptr,
                                                  G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &raw);
    Error error(raw);
    if (parameters != nullptr) {
        g_variant_unref(parameters);
    }
    if (reply == nullptr) {
        return std::string("error: ") + error->message;
    }
    const std::string text = printed(reply);
    g_variant_unref(reply);
    return text;
}

std::string MockService::control(const std::string& path, const char* method, const std::string& arguments)
{
    const std::string reply = call(path, "org.freedesktop.DBus.Mock", method, arguments);
    EXPECT_FALSE(reply.starts_with("error: ")) << method << arguments << ": " << reply;
    return reply;
}

std::string MockService::property(const std::string& path, const char* interface, const char* name)
{
    return call(path, "org.freedesktop.DBus.Properties", "Get",
                std::string("('") + interface + "', '" + name + "')");
}

void MockService::freeze()
{
    g_subprocess_send_signal(process_.get(), SIGSTOP);
    // The signal is only queued; wait until the process has really stopped (a stop is reported to
    // its parent only when asked for, so GLib's own wait for its exit does not see it).
    const pid_t pid = static_cast<pid_t>(std::atoi(g_subprocess_get_identifier(process_.get())));
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, WUNTRACED), pid);
    ASSERT_TRUE(WIFSTOPPED(status));
}

void MockService::thaw()
{
    g_subprocess_send_signal(process_.get(), SIGCONT);
}

std::string MockService::addDevice(const std::string& name, const std::string& properties)
{
    const std::string path = std::string(kNetworkManagerPath) + "/Devices/" + name;
    control(kNetworkManagerPath, "AddObject",
            "('" + path + "', 'org.freedesktop.NetworkManager.Device', " + properties + ", @a(ssss) [])");
    return path;
}

unsigned long PrivateSystemBus::nextConnectionSerial()
{
    GError* raw = nullptr;
    GDBusConnection* probe = g_dbus_connection_new_for_address_sync(
        g_getenv("DBUS_SYSTEM_BUS_ADDRESS"),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &raw);
    EXPECT_NE(probe, nullptr) << (raw != nullptr ? raw->message : "");
    if (probe == nullptr) {
        g_clear_error(&raw);
        return 0;
    }
    const std::string name = g_dbus_connection_get_unique_name(probe);
    g_dbus_connection_close_sync(probe, nullptr, nullptr);
    g_object_unref(probe);
    return std::stoul(name.substr(name.find('.') + 1));
}

}  // namespace quorvel::test
