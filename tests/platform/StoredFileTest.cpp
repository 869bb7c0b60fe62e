// SPDX-License-Identifier: GPL-3.0-or-later
// Persisted files: atomic replacement, noticing another writer, moving unreadable files aside,
// and the user defaults that merge another process's changes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/Log.hpp"
#include "platform/StoredFile.hpp"
#include "platform/UserDefaults.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

struct LogCapture {
    LogCapture() : previous(Log::setSink([this](const std::string& l) { lines.push_back(l); })) {}
    ~LogCapture() { Log::setSink(std::move(previous)); }
    std::vector<std::string> lines;
    Log::Sink previous;
};

TEST(StoredFile, WritesAtomicallyWithPrivateModeAndNoticesOtherWriters)
{
    test::TempDir dir;
    StoredFile mine(dir.path() / "sub" / "state");
    EXPECT_FALSE(mine.read().has_value());
    ASSERT_TRUE(mine.write("one"));
    struct stat st{};
    ASSERT_EQ(::stat((dir.path() / "sub" / "state").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_FALSE(mine.changedSinceLastSync());

    StoredFile theirs(dir.path() / "sub" / "state");
    EXPECT_EQ(theirs.read(), "one");
    ASSERT_TRUE(theirs.write("two"));
    EXPECT_TRUE(mine.changedSinceLastSync());
    EXPECT_EQ(mine.read(), "two");
    EXPECT_FALSE(mine.changedSinceLastSync());

    std::filesystem::remove(dir.path() / "sub" / "state");
    EXPECT_TRUE(mine.changedSinceLastSync()) << "a vanished file is a change too";
    int leftovers = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path() / "sub")) {
        leftovers += e.path().filename().string().find(".tmp-") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(leftovers, 0);
}

TEST(StoredFile, AFileThatCannotBeOpenedIsNeverWrittenOverUntilItCanBeReadAgain)
{
    test::TempDir dir;
    const auto path = dir.path() / "state";
    std::filesystem::create_directory(path);
    LogCapture log;
    StoredFile f(path);
    EXPECT_FALSE(f.read().has_value());
    EXPECT_TRUE(f.blocked());
    ASSERT_TRUE(f.problem().has_value());
    EXPECT_NE(f.problem()->find("Is a directory"), std::string::npos);
    EXPECT_FALSE(f.write("fresh"));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(log.lines.size(), 1u);

    std::filesystem::remove(path);
    StoredFile(path).write("theirs");
    EXPECT_EQ(f.read(), "theirs");
    EXPECT_FALSE(f.blocked());
    EXPECT_FALSE(f.problem().has_value());
    EXPECT_TRUE(f.write("mine"));
}

TEST(StoredFile, AnOversizedFileIsMovedAsideUnreadAndAMissingOneIsNoProblem)
{
    test::TempDir dir;
    const auto path = dir.path() / "state";
    StoredFile f(path);
    EXPECT_FALSE(f.read().has_value());
    EXPECT_FALSE(f.blocked());
    EXPECT_FALSE(f.problem().has_value());

    std::filesystem::resize_file((StoredFile(path).write("x"), path), StoredFile::kMaxBytes + 1);
    LogCapture log;
    EXPECT_FALSE(f.read().has_value());
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find(".unreadable-"), std::string::npos);
    EXPECT_TRUE(f.write("fresh"));

    std::filesystem::resize_file(path, StoredFile::kMaxBytes);  // at the limit it is still read
    EXPECT_EQ(f.read()->size(), static_cast<std::size_t>(StoredFile::kMaxBytes));

    // What it would refuse to read it never writes: the file on disk stays as it was.
    EXPECT_TRUE(f.write("kept"));
    EXPECT_FALSE(f.write(std::string(static_cast<std::size_t>(StoredFile::kMaxBytes) + 1, 'x')));
    EXPECT_EQ(*StoredFile(path).read(), "kept");
    EXPECT_TRUE(f.problem().has_value());
}

TEST(StoredFile, RewritesOnlyWhatDiffersFromItsOwnVersionOnDisk)
{
    test::TempDir dir;
    const auto path = dir.path() / "state";
    const auto inode = [&] {
        struct stat st{};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    };
    StoredFile mine(path);
    ASSERT_TRUE(mine.write("same"));
    const auto first = inode();
    ASSERT_TRUE(mine.write("same"));
    EXPECT_EQ(inode(), first) << "the same bytes again are left on disk as they are";
    ASSERT_TRUE(mine.write("other"));
    EXPECT_NE(inode(), first);
    EXPECT_EQ(StoredFile(path).read(), "other");

    // Another version on disk, even with the bytes this one holds, or a mode that is not private:
    // written again, so that what is on disk is what was meant.
    StoredFile(path).write("theirs");
    ASSERT_TRUE(mine.write("other"));
    EXPECT_EQ(StoredFile(path).read(), "other");
    ::chmod(path.c_str(), 0644);
    ASSERT_TRUE(mine.write("other"));
    struct stat st{};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // What was read counts as this one's version too.
    StoredFile reader(path);
    ASSERT_EQ(reader.read(), "other");
    const auto read = inode();
    ASSERT_TRUE(reader.write("other"));
    EXPECT_EQ(inode(), read);
}

TEST(StoredFile, AFailedWriteIsLoggedOncePerStreakAndReportedFalse)
{
    test::TempDir dir;
    StoredFile(dir.path() / "plain").write("not a directory");
    LogCapture log;
    StoredFile f(dir.path() / "plain" / "state");  // its directory is a file: even root fails
    EXPECT_FALSE(f.write("x"));
    EXPECT_FALSE(f.write("y"));
    EXPECT_EQ(log.lines.size(), 1u);
    std::filesystem::remove(dir.path() / "plain");
    EXPECT_TRUE(f.write("z"));
    EXPECT_EQ(log.lines.size(), 1u) << "a success ends the streak silently";
}

TEST(StoredFile, MovesAnUnreadableFileAsideKeepingItsBytes)
{
    test::TempDir dir;
    LogCapture log;
    StoredFile f(dir.path() / "state");
    f.write("garbage");
    f.moveAside("not JSON");
    f.write("again");
    f.moveAside("not JSON");
    EXPECT_FALSE(f.exists());
    std::vector<std::string> kept;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        kept.push_back(StoredFile(e.path()).read().value_or(""));
    }
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (std::vector<std::string>{"again", "garbage"}));
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_NE(log.lines[0].find("not JSON"), std::string::npos);
}

// Temporary files beside one of ours that no writer holds: a killed writer's, one of any age.
TEST(StoredFile, ASaveRemovesTheTemporaryFilesOfDeadWritersButNotOfALiveOne)
{
    test::TempDir dir;
    const auto path = dir.path() / "defaults.json";
    const auto stale = dir.path() / "defaults.json.tmp-Ab12Cd";
    const auto live = dir.path() / "defaults.json.tmp-Ef34Gh";
    const auto other = dir.path() / "statestg.tmp-Ij56Kl";
    for (const auto& p : {stale, live, other}) {
        std::ofstream(p) << "half";
    }
    const int writer = ::open(live.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0) << "as a writer holds its temporary file";
    StoredFile f(path);
    ASSERT_TRUE(f.write("one"));
    EXPECT_FALSE(std::filesystem::exists(stale)) << "gone at once, not only after a minute";
    EXPECT_TRUE(std::filesystem::exists(live)) << "a write under way keeps its file";
    EXPECT_TRUE(std::filesystem::exists(other)) << "another file's temporaries are not ours";
    ::close(writer);
    std::ofstream(stale) << "half again";  // killed while this process keeps running
    ASSERT_TRUE(f.write("two"));
    EXPECT_FALSE(std::filesystem::exists(stale)) << "every save sweeps, not only the first";
    EXPECT_FALSE(std::filesystem::exists(live));
    EXPECT_EQ(f.read(), "two");
}

TEST(StoredFile, AFifoInPlaceOfTheFileIsRefusedWithoutWaitingAndKept)
{
    test::TempDir dir;
    const auto path = dir.path() / "statestg";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    LogCapture log;
    StoredFile f(path);
    EXPECT_FALSE(f.read().has_value());  // without O_NONBLOCK this waits for a writer for ever
    EXPECT_TRUE(f.blocked());
    ASSERT_TRUE(f.problem().has_value());
    EXPECT_NE(f.problem()->find("not a regular file"), std::string::npos) << *f.problem();
    EXPECT_FALSE(f.write("fresh"));
    EXPECT_TRUE(std::filesystem::is_fifo(path));
}

TEST(StoredFile, RefusedWritesLeaveTheFileAndSayWhy)
{
    test::TempDir dir;
    const auto path = dir.path() / "statestg";
    LogCapture log;
    StoredFile f(path);
    ASSERT_TRUE(f.write("one"));
    f.refuseWrites("cannot lock it");
    EXPECT_FALSE(f.write("two"));
    ASSERT_TRUE(f.problem().has_value());
    EXPECT_NE(f.problem()->find("cannot lock it"), std::string::npos);
    f.refuseWrites(std::nullopt);
    EXPECT_TRUE(f.write("three"));
    EXPECT_EQ(f.read(), "three");
}

// What a change touched goes to disk only with the state it belongs to: at the hold's commit, or
// once the withheld values are released after a later save.
TEST(UserDefaults, AHoldWritesAtItsCommitAndWithholdsWhatWasNotCommitted)
{
    test::TempDir dir;
    const auto path = dir.path() / "defaults.json";
    UserDefaults d(path);
    d.setObject("kept", 1);
    ASSERT_TRUE(d.synchronize());
    {
        UserDefaults::Hold hold(d);
        d.setObject("plan", 3000);
        d.removeObject("kept");
        EXPECT_TRUE(d.synchronize());
        UserDefaults::Hold inner(d);
        EXPECT_TRUE(inner.commit()) << "the outer hold decides";
        EXPECT_FALSE(UserDefaults(path).hasKey("plan")) << "nothing on disk while held";
    }
    EXPECT_EQ(d.unsigned64ForKey("plan"), 3000u) << "the process keeps what it was told";
    EXPECT_FALSE(d.hasKey("kept"));
    d.setObject("later", true);
    ASSERT_TRUE(d.synchronize());
    {
        UserDefaults other(path);
        EXPECT_FALSE(other.hasKey("plan")) << "withheld from the file";
        EXPECT_EQ(other.unsigned64ForKey("kept"), 1u);
        EXPECT_EQ(other.boolForKey("later"), true) << "other keys go out as always";
        other.setObject("theirs", 2);
        ASSERT_TRUE(other.synchronize());
    }
    d.reloadIfChanged();
    EXPECT_EQ(d.unsigned64ForKey("plan"), 3000u) << "another process's save does not undo it";
    EXPECT_EQ(d.unsigned64ForKey("theirs"), 2u);
    ASSERT_TRUE(d.releaseWithheld());
    const UserDefaults after(path);
    EXPECT_EQ(after.unsigned64ForKey("plan"), 3000u);
    EXPECT_FALSE(after.hasKey("kept"));
    EXPECT_EQ(after.unsigned64ForKey("theirs"), 2u);
    {
        UserDefaults::Hold hold(d);
        d.setObject("plan", 4000);
        d.synchronize();
        EXPECT_TRUE(hold.commit());
    }
    EXPECT_EQ(UserDefaults(path).unsigned64ForKey("plan"), 4000u);
}

TEST(UserDefaults, KeepsTypesAndMergesAnotherProcessesChanges)
{
    test::TempDir dir;
    const auto file = dir.path() / "defaults.json";
    UserDefaults a(file);
    a.setObject("plan", 2'000'000'000u);
    a.setObject("flag", true);
    a.setObject("text", "x");
    ASSERT_TRUE(a.synchronize());

    UserDefaults b(file);
    EXPECT_EQ(b.unsigned64ForKey("plan"), 2'000'000'000u);
    EXPECT_EQ(b.boolForKey("flag"), true);
    EXPECT_EQ(b.boolForKey("text"), std::nullopt);
    EXPECT_EQ(b.unsigned64ForKey("flag"), std::nullopt);
    b.setObject("fromB", 1);
    b.synchronize();

    a.setObject("fromA", 2);  // unsynchronised when b's write arrives
    a.reloadIfChanged();
    EXPECT_TRUE(a.hasKey("fromB"));
    EXPECT_TRUE(a.hasKey("fromA")) << "local changes survive a reload";
    a.removeObject("plan");
    a.synchronize();
    UserDefaults c(file);
    EXPECT_TRUE(c.hasKey("fromA"));
    EXPECT_TRUE(c.hasKey("fromB"));
    EXPECT_FALSE(c.hasKey("plan"));
}

TEST(UserDefaults, AFileThatIsNotAJsonObjectIsMovedAsideOnce)
{
    for (const char* bad : {"", "[1,2]", "{\"a\":", "\xff\xfe", "42"}) {
        test::TempDir dir;
        LogCapture log;
        const auto file = dir.path() / "defaults.json";
        StoredFile(file).write(bad);
        UserDefaults d(file);
        EXPECT_FALSE(d.hasKey("a")) << bad;
        EXPECT_EQ(log.lines.size(), 1u) << bad;
        EXPECT_FALSE(std::filesystem::exists(file)) << bad;
        d.setObject("a", 1);
        EXPECT_TRUE(d.synchronize());
        EXPECT_EQ(UserDefaults(file).objectForKey("a")->get<int>(), 1);
    }
}

}  // namespace
}  // namespace quorvel
