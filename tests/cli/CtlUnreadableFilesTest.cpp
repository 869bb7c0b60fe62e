// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged state and defaults files, met by the real binary: it must not crash, must keep the
// damaged file (moved aside, bytes intact), start from defaults and say so once.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "TestEnv.hpp"
#include "engine/CTrafficManager.hpp"
#include "platform/ArchiveDecoder.hpp"

#include "CtlProcess.hpp"


namespace {

namespace fs = std::filesystem;
using quorvel::clitest::readFile;
using quorvel::test::TempDir;
using ::testing::HasSubstr;

struct CtlRun {
    int code = -1;
    std::string out;
    std::string err;
};

void writeFile(const fs::path& p, const std::string& bytes)
{
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

int lineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class CtlHome {
public:
    const fs::path& home() const { return dir_.path(); }
    fs::path stateFile() const { return home() / "data/quorvel/statestg"; }
    fs::path defaultsFile() const { return home() / "config/quorvel/defaults.json"; }

    CtlRun ctl(const std::vector<std::string>& args) const
    {
        CtlRun r;
        r.code = quorvel::clitest::runCtl(home(), args, r.out, r.err);
        return r;
    }

    void setCounters(std::uint64_t rx, std::uint64_t tx) const
    {
        std::ofstream(home() / "counters") << "wwan0 " << rx << " " << tx << "\n";
    }

    // A set-up installation whose state holds day records, a sampler, limits, a last location and
    // a place: every kind of object the state file has. Made once by running quorvelctl, then
    // copied.
    void populate() const
    {
        static const CtlHome made;
        static const bool ran = [] {
            made.setCounters(1'000, 1'000);
            EXPECT_EQ(made.ctl({"setup", "--plan", "800", "--start-day", "1", "--used", "12"}).code, 0);
            made.setCounters(51'000, 1'000);
            EXPECT_EQ(made.ctl({"sample", "--at", "52.52,13.405"}).code, 0);
            return true;
        }();
        ASSERT_TRUE(ran);
        fs::copy(made.home(), home(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        ASSERT_TRUE(fs::exists(stateFile()));
        ASSERT_TRUE(fs::exists(defaultsFile()));
    }

    // The files a damaged one was moved to.
    std::vector<fs::path> movedAside(const fs::path& file) const
    {
        std::vector<fs::path> out;
        for (const auto& e : fs::directory_iterator(file.parent_path())) {
            if (e.path().filename().string().starts_with(file.filename().string() + ".unreadable-")) {
                out.push_back(e.path());
            }
        }
        return out;
    }

private:
    TempDir dir_;
};

// Whether the model reads these bytes as a state file.
bool decodes(const std::string& bytes)
{
    quorvel::test::TestEnv env;
    try {
        return quorvel::CTrafficManager::decode(env.env, bytes) != nullptr;
    } catch (const quorvel::ArchiveError&) {
        return false;
    }
}

struct Damage {
    std::string name;
    // Turns the bytes of a good file into damaged ones.
    std::function<std::string(const std::string& good)> apply;
};

// A good state file with the value at a JSON pointer replaced.
Damage set(std::string name, const char* pointer, const char* value)
{
    return {std::move(name), [pointer, value](const std::string& good) {
                nlohmann::json doc = nlohmann::json::parse(good);
                doc[nlohmann::json::json_pointer(pointer)] = nlohmann::json::parse(value);
                return doc.dump();
            }};
}

const std::vector<Damage>& stateDamages()
{
    static const std::vector<Damage> kDamages = {
        {"empty", [](const std::string&) { return std::string(); }},
        {"truncated", [](const std::string& good) { return good.substr(0, good.size() / 2); }},
        {"cut before the last brace", [](const std::string& good) { return good.substr(0, good.rfind('}')); }},
        {"not JSON", [](const std::string&) { return std::string("statestg v1\nplan=800\n"); }},
        {"binary", [](const std::string&) { return std::string("\x00\xff\xfe{\x01\"", 6); }},
        {"a list", [](const std::string&) { return std::string("[1,2,3]"); }},
        {"null", [](const std::string&) { return std::string("null"); }},
        {"an empty object", [](const std::string&) { return std::string("{}"); }},
        set("another archive", "/$archive", R"("other")"),
        set("root of another class", "/$root/$class", R"("CTraffics")"),
        set("root not an object", "/$root", "42"),
        set("plan as text", "/$root/pMonthPlan", R"("lots")"),
        set("negative plan", "/$root/pMonthPlan", "-1"),
        set("fractional plan", "/$root/pMonthPlan", "1.5"),
        set("start day as text", "/$root/pPlanStartDay", R"("first")"),
        set("history as a list", "/$root/pTraffics", "[]"),
        set("months as a number", "/$root/pTraffics/arrMonths", "5"),
        set("month of another class", "/$root/pTraffics/arrMonths/0/$class", R"("CTrafficPoint")"),
        set("day date as text", "/$root/pTraffics/arrMonths/0/arrDaysTraffics/0/Date", R"("yesterday")"),
        set("day date beyond any calendar", "/$root/pTraffics/arrMonths/0/arrDaysTraffics/0/Date",
               "1000000000000000"),
        set("day without a date", "/$root/pTraffics/arrMonths/0/arrDaysTraffics/0/Date", "null"),
        set("negative traffic", "/$root/pTraffics/arrMonths/0/arrDaysTraffics/0/Traffic", "-3"),
        set("traffic beyond 64 bits", "/$root/pTraffics/arrMonths/0/arrDaysTraffics/0/Traffic",
               "18446744073709551616"),
        set("a day of 2^64 - 1 bytes", "/$root/pTraffics/arrMonths/0/arrDaysTraffics/0/Traffic",
               "18446744073709551615"),
        set("Wi-Fi bytes past 2^53", "/$root/pTraffics/arrMonths/0/arrDaysTraffics/0/TrafficWiFi",
               "9007199254740993"),
        set("place bytes of -2^63", "/$root/pTraffics/arrDeltas/0/pDelta", "-9223372036854775808"),
        set("day as a string", "/$root/pTraffics/arrMonths/0/arrDaysTraffics/0", R"("day")"),
        set("summed baseline of -2^63", "/$root/pTraffics/trafficObtainer/PrevTrafficSize", "-9223372036854775808"),
        set("baseline as a fraction", "/$root/pTraffics/trafficObtainer/PrevTrafficSize", "1.5"),
        set("uptime as text", "/$root/pTraffics/trafficObtainer/SystemUpTime", R"("long")"),
        set("location off the Earth", "/$root/pTraffics/pLastLocation/latitude", "300"),
        set("place of another class", "/$root/pTraffics/arrDeltas/0/$class", R"("CLLocation")"),
        set("place bytes as text", "/$root/pTraffics/arrDeltas/0/pDelta", R"("many")"),
        set("place hour out of range", "/$root/pTraffics/arrDeltas/0/pDateComp/hour", "24"),
        set("limits as an object", "/$root/pLimits", R"({"a": 1})"),
        set("limit level as text", "/$root/pLimits/0/pkLevel", R"("high")"),
        set("a plan shape this version does not know", "/$root/pDataPlan/Shape", R"("fortnightly")"),
        set("a plan of every 0 days", "/$root/pDataPlan",
            R"({"$class": "DataPlan", "Shape": "every", "Every": 0, "From": 20270101, "Packs": []})"),
        set("a prepaid plan from a day that does not exist", "/$root/pDataPlan",
            R"({"$class": "DataPlan", "Shape": "prepaid", "From": 20270230, "Until": 20270301, "Packs": []})"),
        set("a prepaid plan ending before it begins", "/$root/pDataPlan",
            R"({"$class": "DataPlan", "Shape": "prepaid", "From": 20270301, "Until": 20270201, "Packs": []})"),
        set("a pack of 0 bytes", "/$root/pDataPlan/Packs",
            R"([{"$class": "AddonPack", "Size": 0, "First": 20270101, "Days": 7}])"),
        set("free hours of no length", "/$root/pDataPlan",
            R"({"$class": "DataPlan", "Packs": [], "FreeStart": 360, "FreeEnd": 360})"),
        set("a day's free share above its bytes", "/$root/pTraffics/arrMonths/0/arrDaysTraffics/0/TrafficFree",
            "9007199254740992"),
    };
    return kDamages;
}

class DamagedStateFile : public ::testing::TestWithParam<std::size_t> {};

TEST_P(DamagedStateFile, IsMovedAsideAndTheRunStartsFromDefaultsSayingSoOnce)
{
    const Damage& damage = stateDamages()[GetParam()];
    CtlHome h;
    h.populate();
    const std::string damaged = damage.apply(readFile(h.stateFile()));
    ASSERT_FALSE(decodes(damaged)) << "not damage the model notices: " << damage.name;
    writeFile(h.stateFile(), damaged);

    h.setCounters(61'000, 1'000);
    const CtlRun r = h.ctl({"status", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const nlohmann::json doc = nlohmann::json::parse(r.out, nullptr, false);
    ASSERT_TRUE(doc.is_object()) << r.out;
    EXPECT_EQ(doc.at("plan"), 800'000'000u) << "the plan in the defaults file still counts";

    const std::vector<fs::path> aside = h.movedAside(h.stateFile());
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(readFile(aside[0]), damaged);
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    EXPECT_THAT(r.err, HasSubstr(aside[0].string()));

    EXPECT_TRUE(decodes(readFile(h.stateFile()))) << "the fresh state was not written";
    const CtlRun again = h.ctl({"status", "--json"});
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.err, "");
    EXPECT_EQ(h.movedAside(h.stateFile()).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedStateFile, ::testing::Range<std::size_t>(0, stateDamages().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             std::string name = stateDamages()[info.param].name;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(DamagedDefaultsFile, IsMovedAsideAndTheSetUpIsAskedForAgain)
{
    const std::vector<Damage> damages = {
        {"empty", [](const std::string&) { return std::string(); }},
        {"truncated", [](const std::string& good) { return good.substr(0, good.size() / 2); }},
        {"not JSON", [](const std::string&) { return std::string("pkeyStartedBefore = no\n"); }},
        {"a list", [](const std::string&) { return std::string("[false]"); }},
        {"a string", [](const std::string&) { return std::string("\"defaults\""); }},
        {"a number", [](const std::string&) { return std::string("0"); }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        CtlHome h;
        h.populate();
        const std::string damaged = damage.apply(readFile(h.defaultsFile()));
        writeFile(h.defaultsFile(), damaged);
        const std::string state = readFile(h.stateFile());

        const CtlRun r = h.ctl({"status"});
        EXPECT_EQ(r.code, 3) << "without its defaults the installation is not set up";
        EXPECT_THAT(r.err, HasSubstr("quorvelctl setup"));
        const std::vector<fs::path> aside = h.movedAside(h.defaultsFile());
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(readFile(aside[0]), damaged);
        EXPECT_EQ(lineCount(r.err), 2) << r.err;  // the file, then how to set up
        EXPECT_THAT(r.err, HasSubstr(aside[0].string()));
        EXPECT_EQ(readFile(h.stateFile()), state) << "nothing may be sampled before the set-up";

        // A new set-up picks up the kept history.
        ASSERT_EQ(h.ctl({"setup", "--plan", "900", "--start-day", "1", "--used", "12"}).code, 0);
        const CtlRun after = h.ctl({"status", "--json"});
        EXPECT_EQ(after.code, 0);
        EXPECT_EQ(after.err, "");
        EXPECT_EQ(h.movedAside(h.defaultsFile()).size(), 1u);
    }
}

TEST(DamagedFiles, BothAtOnceAreEachReportedOnce)
{
    CtlHome h;
    h.populate();
    writeFile(h.stateFile(), "{\"$archive\":");
    writeFile(h.defaultsFile(), "{\"pkeyStartedBefore\":");
    const CtlRun r = h.ctl({"status", "--json"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(h.movedAside(h.defaultsFile()).size(), 1u);
    EXPECT_EQ(lineCount(r.err), 2 + static_cast<int>(h.movedAside(h.stateFile()).size())) << r.err;

    ASSERT_EQ(h.ctl({"setup", "--plan", "900", "--start-day", "1"}).code, 0);
    const CtlRun s = h.ctl({"status", "--json"});
    EXPECT_EQ(s.code, 0);
    EXPECT_EQ(h.movedAside(h.stateFile()).size(), 1u);
    EXPECT_EQ(readFile(h.movedAside(h.stateFile())[0]), "{\"$archive\":");
}

// Defaults of the wrong types: a run must neither crash nor give up.
const std::vector<std::string>& mistypedDefaults()
{
    static const std::vector<std::string> kFiles = {
        R"({"pkeyStartedBefore": "no", "pkeyDataPlanULL": 800000000})",
        R"({"pkeyStartedBefore": false, "pkeyDataPlanULL": "800 MB"})",
        R"({"pkeyStartedBefore": false, "pkeyDataPlanULL": -800000000})",
        R"({"pkeyStartedBefore": false, "pkeyDataPlanULL": 1e300})",
        R"({"pkeyStartedBefore": false, "pkeyAlertDayLimitBool": "yes", "pkeyAlertMonthLimitLong": []})",
        R"({"pkeyStartedBefore": false, "Preferences_NMDispatcher": 5})",
        R"({"pkeyStartedBefore": false, "Preferences_NMDispatcher": {"NM_MONTHOVAL": "x", "NM_DAYNUM": [1]}})",
    };
    return kFiles;
}

TEST(MistypedDefaultsFile, NeitherCrashesNorStopsTheRun)
{
    for (const std::string& defaults : mistypedDefaults()) {
        SCOPED_TRACE(defaults);
        CtlHome h;
        h.populate();
        writeFile(h.defaultsFile(), defaults);
        h.setCounters(3'051'000, 1'000);  // past the plan: the alert history is read and written
        const CtlRun r = h.ctl({"status", "--json"});
        EXPECT_TRUE(r.code == 0 || r.code == 3) << r.code << " " << r.err;
        if (r.code == 0) {
            EXPECT_TRUE(nlohmann::json::parse(r.out, nullptr, false).is_object()) << r.out;
        }
    }
}

// A known key of the wrong type: the file was not written as Quorvel writes it, so it is kept
// aside whole rather than half-read (a mistyped set-up marker would silently ask for the set-up).
TEST(MistypedDefaultsFile, IsMovedAsideSayingSoOnce)
{
    for (const std::string& defaults : mistypedDefaults()) {
        SCOPED_TRACE(defaults);
        CtlHome h;
        h.populate();
        writeFile(h.defaultsFile(), defaults);
        const CtlRun r = h.ctl({"status", "--json"});
        const std::vector<fs::path> aside = h.movedAside(h.defaultsFile());
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(readFile(aside[0]), defaults);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n') - (r.code == 3 ? 1 : 0), 1) << r.err;
        EXPECT_THAT(r.err, HasSubstr(aside[0].string()));
    }
}

}  // namespace
