// SPDX-License-Identifier: GPL-3.0-or-later
// Files quorvelctl cannot open or save, met by the real binary as another user: they are left
// exactly as they are, and every run says why and exits 4. Typing errors change nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "TestEnv.hpp"

#include "CtlProcess.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::clitest::readFile;
using quorvel::test::TempDir;
using ::testing::HasSubstr;

constexpr int kNobody = 65534;

struct CtlResult {
    int code = -1;
    std::string out;
    std::string err;
};

// A small tmpfs mounted over a folder, holding what the folder held and filled to the last
// byte: every later write there fails with ENOSPC. Unmounted at the end, uncovering the folder.
class FullFolder {
public:
    explicit FullFolder(const fs::path& folder) : folder_(folder)
    {
        std::vector<std::pair<fs::path, std::string>> files;
        for (const auto& e : fs::directory_iterator(folder)) {
            files.emplace_back(e.path().filename(), readFile(e.path()));
        }
        mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=256k,mode=0700") == 0;
        if (!mounted_) {
            return;
        }
        for (const auto& [name, bytes] : files) {
            std::ofstream(folder / name, std::ios::binary) << bytes;
        }
        std::ofstream filler(folder / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
        }
    }
    ~FullFolder()
    {
        if (mounted_) {
            ::umount2(folder_.c_str(), MNT_DETACH);
        }
    }
    FullFolder(const FullFolder&) = delete;
    FullFolder& operator=(const FullFolder&) = delete;
    bool mounted() const { return mounted_; }

private:
    fs::path folder_;
    bool mounted_ = false;
};

class FileAccess : public ::testing::Test {
protected:
    fs::path state() const { return home_.path() / "data/quorvel/statestg"; }
    fs::path defaults() const { return home_.path() / "config/quorvel/defaults.json"; }

    // quorvelctl as root, or as the unprivileged user `nobody` (permissions then count).
    CtlResult ctl(const std::vector<std::string>& args, bool asNobody = false) const
    {
        return ctlAfter({}, args, asNobody);
    }
    // A run that must end by itself: killed after 2 s, when it would wait for ever.
    CtlResult ctlUnlessItHangs(const std::vector<std::string>& args) const
    {
        return ctlAfter({"timeout", "--signal=KILL", "2"}, args, false);
    }
    CtlResult ctlAfter(std::vector<std::string> argv, const std::vector<std::string>& args, bool asNobody) const
    {
        if (asNobody) {
            argv.insert(argv.end(), {"setpriv", "--reuid=" + std::to_string(kNobody),
                                     "--regid=" + std::to_string(kNobody), "--clear-groups"});
        }
        argv.push_back(QUORVEL_CTL);
        argv.insert(argv.end(), args.begin(), args.end());
        CtlResult r;
        r.code = quorvel::clitest::runProcess(argv, quorvel::clitest::ctlEnvironment(home_.path()), r.out, r.err);
        return r;
    }
    void setUpAsRoot() const
    {
        std::ofstream(home_.path() / "counters") << "wwan0 1000 1000\n";
        ASSERT_EQ(ctl({"setup", "--plan", "800", "--start-day", "1", "--used", "501"}).code, 0);
    }
    // Hands the whole installation to nobody, then `root` back to root with mode 0600.
    void ownedByNobodyExcept(const std::vector<fs::path>& rootOnly) const
    {
        ::chown(home_.path().c_str(), kNobody, kNobody);
        for (const auto& e : fs::recursive_directory_iterator(home_.path())) {
            ::chown(e.path().c_str(), kNobody, kNobody);
        }
        for (const fs::path& p : rootOnly) {
            ::chown(p.c_str(), 0, 0);
            fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write);
        }
    }
    std::size_t filesBeside(const fs::path& p) const
    {
        std::size_t n = 0;
        for (const auto& e : fs::directory_iterator(p.parent_path())) {
            n += e.path().filename().string().starts_with(p.filename().string() + ".unreadable") ? 1 : 0;
        }
        return n;
    }
    void SetUp() override
    {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "running as another user needs root";
        }
    }

    TempDir home_;
};

TEST_F(FileAccess, AStateFileOnlyRootCanReadIsKeptAndEveryCommandExits4)
{
    setUpAsRoot();
    const std::string bytes = readFile(state());
    ownedByNobodyExcept({state()});
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"sample"}, {"status", "--json"}, {"set", "used", "20"},
                                               {"setup", "--plan", "900", "--start-day", "3"}, {"export"}}) {
        SCOPED_TRACE(args[0]);
        const CtlResult r = ctl(args, true);
        EXPECT_EQ(r.code, 4);
        EXPECT_THAT(r.err, HasSubstr(state().string()));
        EXPECT_THAT(r.err, HasSubstr("Permission denied"));
        EXPECT_EQ(r.out, "") << "nothing is reported as done";
        EXPECT_EQ(readFile(state()), bytes);
        EXPECT_EQ(filesBeside(state()), 0u);
    }
    EXPECT_THAT(readFile(defaults()), HasSubstr("800000000")) << "the defaults were not touched either";
}

TEST_F(FileAccess, ADefaultsFileOnlyRootCanReadIsKeptAndTheSetUpIsNotAskedAgain)
{
    setUpAsRoot();
    const std::string bytes = readFile(defaults());
    ownedByNobodyExcept({defaults()});
    const CtlResult r = ctl({"status"}, true);
    EXPECT_EQ(r.code, 4) << r.err;
    EXPECT_THAT(r.err, HasSubstr(defaults().string()));
    EXPECT_THAT(r.err, ::testing::Not(HasSubstr("quorvelctl setup")));
    EXPECT_EQ(ctl({"setup", "--plan", "900", "--start-day", "3"}, true).code, 4);
    EXPECT_EQ(readFile(defaults()), bytes);
    EXPECT_EQ(filesBeside(defaults()), 0u);
}

TEST_F(FileAccess, AFolderInPlaceOfTheStateFileIsReportedOnEveryRun)
{
    setUpAsRoot();
    fs::remove(state());
    fs::create_directory(state());
    for (int run = 0; run < 2; ++run) {
        const CtlResult r = ctl({"status"});
        EXPECT_EQ(r.code, 4) << run;
        EXPECT_THAT(r.err, HasSubstr("Is a directory")) << run;
    }
    EXPECT_TRUE(fs::is_directory(state()));
}

TEST_F(FileAccess, ASetUpIntoAReadOnlyDataFolderSaysSoAndExits4EveryTime)
{
    fs::create_directories(state().parent_path());
    std::ofstream(home_.path() / "counters") << "wwan0 1000 1000\n";
    ownedByNobodyExcept({});
    fs::permissions(state().parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    const CtlResult r = ctl({"setup", "--plan", "800", "--start-day", "1", "--used", "500"}, true);
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.out, "") << "nothing was saved, so nothing is reported as set up";
    EXPECT_THAT(r.err, HasSubstr("cannot write"));
    const CtlResult again = ctl({"set", "used", "20"}, true);
    EXPECT_EQ(again.code, 4);
    EXPECT_THAT(again.err, HasSubstr("cannot write")) << "a later run says it again";
    EXPECT_FALSE(fs::exists(state()));
}

TEST_F(FileAccess, AFullDataFolderLeavesTheDefaultsAsTheyWereAndEveryChangeExits4)
{
    setUpAsRoot();
    const std::string defaultsBytes = readFile(defaults());
    const FullFolder full(state().parent_path());
    ASSERT_TRUE(full.mounted()) << "mounting a tmpfs needs root";
    const std::string stateBytes = readFile(state());
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"set", "plan", "3000"},
             {"limits", "--day", "off"},
             {"limits", "--month", "off", "--overbound", "off"},
             {"set", "start-day", "9"},
             {"setup", "--plan", "900", "--start-day", "3"}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const CtlResult r = ctl(args);
        EXPECT_EQ(r.code, 4);
        EXPECT_THAT(r.err, HasSubstr("No space left on device"));
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(readFile(defaults()), defaultsBytes) << "nothing lands in the defaults";
        EXPECT_EQ(readFile(state()), stateBytes);
    }
    const CtlResult limits = ctl({"limits"});
    EXPECT_EQ(limits.code, 0) << limits.err;
    EXPECT_THAT(limits.out, HasSubstr("Daily limit on, monthly limit on, data limit exceeding on"));
    EXPECT_THAT(limits.out, HasSubstr("Daily limit at 100% of a day's share of the plan: "));
}

TEST_F(FileAccess, AFifoInPlaceOfEitherFileEndsEveryCommandWith4AndIsKept)
{
    setUpAsRoot();
    for (const fs::path& file : {state(), defaults()}) {
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = readFile(file);
        fs::remove(file);
        ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"status"}, {"set", "plan", "3000"}, {"limits"}, {"watch"}}) {
            SCOPED_TRACE(args[0]);
            const CtlResult r = ctlUnlessItHangs(args);
            EXPECT_EQ(r.code, 4) << "137 means it waited on the FIFO";
            EXPECT_THAT(r.err, HasSubstr(file.string() + ": not a regular file"));
            EXPECT_TRUE(fs::is_fifo(file));
        }
        fs::remove(file);
        std::ofstream(file, std::ios::binary) << bytes;
    }
}

// Under umask 000 the folders Quorvel makes are still its user's alone; one that was there
// (as ~/.config is) keeps its mode.
TEST_F(FileAccess, TheFoldersMadeAreTheUsersAloneWhateverTheUmask)
{
    const fs::path config = home_.path() / "config";
    fs::create_directory(config);
    fs::permissions(config, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    const mode_t previous = ::umask(0);
    setUpAsRoot();
    ::umask(previous);
    const auto modeOf = [](const fs::path& p) { return fs::status(p).permissions() & fs::perms::all; };
    for (const fs::path& made : {config / "autostart", config / "quorvel", home_.path() / "data",
                                 home_.path() / "data/quorvel"}) {
        EXPECT_EQ(modeOf(made), fs::perms::owner_all) << made;
    }
    EXPECT_EQ(modeOf(config), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    EXPECT_EQ(modeOf(state()), fs::perms::owner_read | fs::perms::owner_write);
}

// A lock file swapped for a symbolic link must not lock, create or truncate what it points to.
TEST_F(FileAccess, ASymbolicLinkInPlaceOfALockIsRefusedAndItsTargetLeftAlone)
{
    setUpAsRoot();
    const std::string stateBytes = readFile(state());
    const std::string defaultsBytes = readFile(defaults());
    const fs::path target = home_.path() / "target";
    const fs::path dangling = home_.path() / "not-there";
    std::ofstream(target) << "someone else's\n";
    const fs::path folder = state().parent_path();
    for (const auto& [lock, link, args] :
         std::vector<std::tuple<std::string, fs::path, std::vector<std::string>>>{
             {"statestg.lock", target, {"set", "plan", "3000"}},
             {"statestg.lock", dangling, {"status"}},
             {"watch.lock", target, {"watch"}},
             {"watch.lock", dangling, {"watch"}}}) {
        SCOPED_TRACE(lock + " -> " + link.string());
        fs::remove(folder / lock);
        fs::create_symlink(link, folder / lock);
        const CtlResult r = ctlUnlessItHangs(args);
        EXPECT_EQ(r.code, 4);
        EXPECT_THAT(r.err, HasSubstr((folder / lock).string() + ": a symbolic link, not a lock file"));
        EXPECT_EQ(readFile(target), "someone else's\n");
        EXPECT_FALSE(fs::exists(dangling)) << "nothing is created through the link";
        EXPECT_TRUE(fs::is_symlink(folder / lock));
        EXPECT_EQ(readFile(state()), stateBytes);
        EXPECT_EQ(readFile(defaults()), defaultsBytes);
        fs::remove(folder / lock);
    }
}

TEST_F(FileAccess, AnOversizedStateFileIsMovedAsideAtOnce)
{
    setUpAsRoot();
    std::string huge(2 << 20, ' ');
    huge.insert(0, readFile(state()));
    std::ofstream(state(), std::ios::trunc) << huge;
    const CtlResult r = ctl({"status", "--json"});
    EXPECT_EQ(r.code, 0);
    EXPECT_THAT(r.err, HasSubstr("larger than"));
    EXPECT_EQ(filesBeside(state()), 1u);
    EXPECT_LT(fs::file_size(state()), 100'000u) << "a fresh state was written";
}

TEST_F(FileAccess, TypingErrorsExit1AndChangeNothing)
{
    setUpAsRoot();
    const std::string stateBytes = readFile(state());
    const std::string defaultsBytes = readFile(defaults());
    const std::vector<std::vector<std::string>> typos = {
        {"set", "used", "5O0"},       {"set", "used", "1,5x"},        {"set", "used", "abc"},
        {"set", "used", ""},          {"set", "used", "+5"},          {"set", "used", "-5"},
        {"set", "used", "1e3"},       {"set", "plan", "0"},           {"set", "plan", " 800"},
        {"set", "start-day", "1S"},   {"set", "start-day", "abc"},    {"set", "start-day", "32"},
        {"set", "start-day", "1.0"},  {"setup", "--plan", "900", "--start-day", "2", "--used", "5O0"},
        {"setup", "--start-day", "2", "--plan", "9OO"},               {"setup", "--plan", "900", "--start-day", "0"},
    };
    for (const auto& args : typos) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const CtlResult r = ctl(args);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_THAT(r.err, HasSubstr("'" + args.back() + "'"));
        EXPECT_EQ(readFile(state()), stateBytes);
        EXPECT_EQ(readFile(defaults()), defaultsBytes);
    }
    const CtlResult ok = ctl({"set", "used", "1.5"});
    EXPECT_EQ(ok.code, 0);
    EXPECT_EQ(ok.out, "Used this month: 1.5 MB\n");
}

}  // namespace
