// SPDX-License-Identifier: GPL-3.0-or-later
// `import --vnstat`: a database laid out by the real vnStat (its daemon's --initdb, interfaces
// added by vnstat), filled with a year of one interface's days and months and a second
// interface's, read into the history: the kept months as days, the older ones as totals, the
// other interface left out, nothing counted twice; and every database that is not one changes
// nothing.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CtlProcess.hpp"
#include "TestEnv.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::clitest::readFile;
using quorvel::clitest::runCtl;
using quorvel::clitest::runProcess;
using quorvel::test::TempDir;

// Fills the database: wwan0 has a day of (100 + n) MB received and n MB sent for each of the
// last 365 days (n days back), and each month's sum as a month row plus 1 MB that the kept days
// do not hold; eth0 has 6 GB every day.
constexpr const char* kFill = R"(
import datetime, sqlite3, sys
db = sqlite3.connect(sys.argv[1])
ids = dict(db.execute('SELECT name, id FROM interface'))
today = datetime.date.today()
months = {}
for n in range(365):
    d = today - datetime.timedelta(days=n)
    rx, tx = (100 + n) * 10**6, n * 10**6
    db.execute('INSERT INTO day (interface, date, rx, tx) VALUES (?, ?, ?, ?)', (ids['wwan0'], d.isoformat(), rx, tx))
    db.execute('INSERT INTO day (interface, date, rx, tx) VALUES (?, ?, ?, ?)', (ids['eth0'], d.isoformat(), 5 * 10**9, 10**9))
    key = d.replace(day=1).isoformat()
    months[key] = months.get(key, 0) + rx + tx
for key, bytes in months.items():
    db.execute('INSERT INTO month (interface, date, rx, tx) VALUES (?, ?, ?, ?)', (ids['wwan0'], key, bytes + 10**6, 0))
db.commit()
)";

struct CtlVnstat : ::testing::Test {
    TempDir vnstat;
    TempDir home;
    std::string out, err;

    fs::path database() const { return vnstat.path() / "vnstat.db"; }
    fs::path stateFile() const { return home.path() / "data/quorvel/statestg"; }

    void SetUp() override
    {
        if (!fs::exists("/usr/sbin/vnstatd")) {
            GTEST_SKIP() << "vnStat is not installed";
        }
        const fs::path config = vnstat.path() / "vnstat.conf";
        std::ofstream(config) << "DatabaseDir \"" << vnstat.path().string() << "\"\nUseLogging 0\n";
        ASSERT_EQ(runProcess({"/usr/sbin/vnstatd", "--config", config.string(), "--initdb"}, {}, out, err), 0) << err;
        for (const char* name : {"wwan0", "eth0"}) {
            ASSERT_EQ(runProcess({"vnstat", "--config", config.string(), "--add", "-i", name, "--force"}, {}, out, err), 0)
                << err;
        }
        sql(kFill);
        std::ofstream(home.path() / "counters") << "wwan0 1000 1000\n";
        ASSERT_EQ(runCtl(home.path(), {"setup", "--plan", "5000", "--start-day", "1"}, out, err), 0) << err;
    }
    // A Python script on the database (its path the script's first argument).
    void sql(const std::string& script)
    {
        ASSERT_EQ(runProcess({"python3", "-c", script, database().string()}, {}, out, err), 0) << err;
    }
    nlohmann::json exported()
    {
        EXPECT_EQ(runCtl(home.path(), {"export", "--json"}, out, err), 0) << err;
        return nlohmann::json::parse(out);
    }
};

TEST_F(CtlVnstat, TheKeptMonthsComeInAsDaysTheOlderAsTotalsTheOtherInterfaceNot)
{
    ASSERT_EQ(runCtl(home.path(), {"import", "--vnstat", database().string(), "--interface", "wwan0"}, out, err), 0)
        << err;
    const nlohmann::json after = exported();
    ASSERT_EQ(after.at("months").size(), 3u);
    const nlohmann::json& today = after.at("months").back().at("days").back();
    EXPECT_EQ(today.at("bytes"), 100'000'000u) << "received plus sent, today being n = 0";
    std::uint64_t largest = 0;
    for (const auto& month : after.at("months")) {
        for (const auto& day : month.at("days")) {
            largest = std::max(largest, day.at("bytes").get<std::uint64_t>());
        }
    }
    EXPECT_LT(largest, 6'000'000'000u) << "eth0's days stay out";

    // The months before the kept three: their month rows, which say more than their kept days.
    const nlohmann::json& totals = after.at("month_totals");
    ASSERT_GE(totals.size(), 9u);
    ASSERT_LE(totals.size(), 10u);
    EXPECT_EQ(totals.back().at("used_bytes").get<std::uint64_t>() % 1'000'000, 0u);
    const std::string month = totals.back().at("month").get<std::string>();
    sql("import sqlite3, sys\ndb = sqlite3.connect(sys.argv[1])\n"
        "print(db.execute(\"SELECT rx + tx FROM month WHERE interface = 1 AND date = '" + month + "-01'\").fetchone()[0])");
    EXPECT_EQ(totals.back().at("used_bytes"), std::stoull(out));

    // Again: nothing counted twice.
    ASSERT_EQ(runCtl(home.path(), {"import", "--vnstat", database().string(), "--interface", "wwan0"}, out, err), 0);
    EXPECT_NE(out.find(" 0 days added, 0 days with a larger amount"), std::string::npos) << out;
    EXPECT_EQ(exported(), after);

    // The year page draws the twelve months.
    const fs::path png = home.path() / "year.png";
    ASSERT_EQ(runCtl(home.path(), {"chart", "--year", "--output", png.string()}, out, err), 0) << err;
    EXPECT_GT(fs::file_size(png), 1000u);
}

TEST_F(CtlVnstat, ADatabaseThatIsNotOneOfVnstatChangesNothing)
{
    const std::string before = readFile(stateFile());
    const auto refused = [&](const std::vector<std::string>& args, const std::string& what) {
        std::vector<std::string> argv = {"import", "--vnstat"};
        argv.insert(argv.end(), args.begin(), args.end());
        EXPECT_EQ(runCtl(home.path(), argv, out, err), 1) << what << ": " << out;
        EXPECT_NE(err.find("nothing was changed"), std::string::npos) << what << ": " << err;
        EXPECT_TRUE(readFile(stateFile()) == before) << what << " changed the state";
    };
    const std::string db = database().string();
    refused({db}, "two interfaces and none named");
    refused({db, "--interface", "wlan0"}, "an interface not in it");
    refused({(vnstat.path() / "missing.db").string(), "--interface", "wwan0"}, "a missing database");
    EXPECT_FALSE(fs::exists(vnstat.path() / "missing.db")) << "opened read-only, never made";
    std::ofstream(vnstat.path() / "text.db") << "date,bytes\n";
    refused({(vnstat.path() / "text.db").string()}, "not a database");

    // Held by a writer that does not let go: locked.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        ::dup2(ready[1], 1);
        ::execlp("python3", "python3", "-c",
                 "import signal, sqlite3, sys\ndb = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                 "db.execute('BEGIN EXCLUSIVE')\nprint('held', flush=True)\nsignal.pause()",
                 db.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(ready[1]);
    char line[8] = {};
    ASSERT_GT(::read(ready[0], line, sizeof line), 0);
    refused({db, "--interface", "wwan0"}, "a locked database");
    ::kill(holder, SIGTERM);
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]);

    // Hand-edited: another version, a negative or overflowing count, a day in the future, a
    // table of another schema. Each on a copy, so that each is the only fault.
    const std::vector<std::pair<std::string, std::string>> edits = {
        {"another version", "UPDATE info SET value = '2' WHERE name = 'dbversion'"},
        {"a negative count", "UPDATE day SET rx = -5 WHERE interface = 1 AND id = (SELECT MAX(id) FROM day WHERE interface = 1)"},
        {"a count past 2^53", "UPDATE day SET rx = 9007199254740993 WHERE interface = 1 AND id = (SELECT MIN(id) FROM day WHERE interface = 1)"},
        {"a day in the future", "INSERT INTO day (interface, date, rx, tx) VALUES (1, '2999-01-01', 1, 1)"},
        {"another schema", "DROP TABLE month; CREATE TABLE month (id INTEGER PRIMARY KEY, when_ TEXT)"},
        {"no vnStat tables", "DROP TABLE info"},
    };
    for (const auto& [what, statement] : edits) {
        const fs::path copy = vnstat.path() / "edited.db";
        fs::copy_file(database(), copy, fs::copy_options::overwrite_existing);
        ASSERT_EQ(runProcess({"python3", "-c",
                              "import sqlite3, sys\ndb = sqlite3.connect(sys.argv[1])\ndb.executescript(sys.argv[2])\n"
                              "db.commit()",
                              copy.string(), statement},
                             {}, out, err),
                  0)
            << what << ": " << err;
        refused({copy.string(), "--interface", "wwan0"}, what);
    }
}

}  // namespace
