// The files of the background watcher: its login entry and its one-per-user lock.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TestEnv.hpp"
#include "platform/AutostartEntry.hpp"
#include "platform/InstanceLock.hpp"
#include "platform/StoredFile.hpp"

namespace {

using quorvel::AutostartEntry;
using quorvel::InstanceLock;
using quorvel::test::TempDir;

TEST(AutostartEntry, ExecWordsKeepAnyPathOneArgument)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/usr/bin/quorvelctl", "/usr/bin/quorvelctl"},
        {"/home/me/My Apps/quorvelctl", "\"/home/me/My Apps/quorvelctl\""},
        {"/opt/a\"b/q", "\"/opt/a\\\"b/q\""},
        {"/opt/$HOME/q", "\"/opt/\\$HOME/q\""},
        {"/opt/a\\b/q", "\"/opt/a\\\\b/q\""},
        {"/opt/`x`/q", "\"/opt/\\`x\\`/q\""},
        {"/opt/100%/q", "/opt/100%%/q"},  // a lone % would be a field code
        {"/opt/(x)/q", "\"/opt/(x)/q\""},
        {"", "\"\""},
    };
    for (const auto& [word, expected] : cases) {
        EXPECT_EQ(AutostartEntry::execWord(word), expected) << word;
    }
    // The file's own string escaping comes on top: a backslash is written twice again.
    EXPECT_NE(AutostartEntry::contents("/opt/a\\b/q").find("\nExec=\"/opt/a\\\\\\\\b/q\" watch\n"), std::string::npos);
}

TEST(AutostartEntry, InstallAndRemoveAreIdempotent)
{
    TempDir dir;
    const AutostartEntry entry(dir.path() / "autostart" / "w.desktop");
    EXPECT_FALSE(entry.present());
    EXPECT_TRUE(entry.remove());
    ASSERT_TRUE(entry.install("/usr/bin/quorvelctl"));
    ASSERT_TRUE(entry.install("/usr/bin/quorvelctl"));
    EXPECT_TRUE(entry.present());
    EXPECT_EQ(quorvel::StoredFile(dir.path() / "autostart" / "w.desktop").read(),
              AutostartEntry::contents("/usr/bin/quorvelctl"));
    EXPECT_TRUE(entry.remove());
    EXPECT_FALSE(entry.present());
}

TEST(InstanceLock, OneHolderAtATimeAndFreedWithIt)
{
    TempDir dir;
    const auto file = dir.path() / "sub" / "watch.lock";
    {
        const InstanceLock first(file);
        EXPECT_EQ(first.state(), InstanceLock::State::Held);
        // A second open of the file is another holder, as another process would be.
        const InstanceLock second(file);
        EXPECT_EQ(second.state(), InstanceLock::State::HeldElsewhere);
    }
    const InstanceLock again(file);
    EXPECT_EQ(again.state(), InstanceLock::State::Held);

    // Below a plain file no lock file can be made: not mistaken for another holder.
    ASSERT_TRUE(quorvel::StoredFile(dir.path() / "plain").write("x"));
    const InstanceLock nowhere(dir.path() / "plain" / "watch.lock");
    EXPECT_EQ(nowhere.state(), InstanceLock::State::Unavailable);
}

}  // namespace
