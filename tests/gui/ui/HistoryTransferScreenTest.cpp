// SPDX-License-Identifier: GPL-3.0-or-later
// The settings' "Import History…" and "Export History…" over a real controller: the file picked
// (a chooser of the test's in place of the system's), the question with what the import would
// change, nothing changed before the answer nor by a refused file, vnStat's database asked for
// its interface, and the backup written where it was asked to go and read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include <gtkmm/adjustment.h>
#include <gtkmm/scrolledwindow.h>

#include <nlohmann/json.hpp>

#include "SettingsFixture.hpp"
#include "engine/HistoryExport.hpp"
#include "ui/settings/gtk/FPrefTableViewController.hpp"

namespace quorvel::settingstest {
namespace {

namespace fs = std::filesystem;
using Settings = FPrefTableViewController;
using Purpose = FPrefHistoryTransfer::Purpose;

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class HistoryTransferScreenTest : public SettingsFixture {
protected:
    void SetUp() override
    {
        SettingsFixture::SetUp();
        settings = &make<Settings>(*context, prompts.prompts());
        settings->historyTransfer().setChooser(
            [this](Gtk::Window*, Purpose purpose, const std::string& suggested, FPrefHistoryTransfer::Chosen chosen) {
                asked.push_back({purpose, suggested});
                chosen(picked);
            });
    }

    // Each day's bytes in the history, by date.
    std::map<std::string, std::uint64_t> days() const
    {
        std::map<std::string, std::uint64_t> out;
        const nlohmann::ordered_json backup = HistoryExport::json(*app);
        for (const auto& month : backup["months"]) {
            for (const auto& day : month["days"]) {
                out[day["date"].get<std::string>()] = day["bytes"].get<std::uint64_t>();
            }
        }
        return out;
    }
    void bookDay(int month, int day, std::uint64_t bytes)
    {
        app->withStateLock([&](CTrafficManager& m) {
            m.history().addNewTrafficPoint(CTrafficPoint::trafficPointWithDate(test::localDate(2026, month, day), bytes));
        });
    }
    fs::path file(const std::string& name, const std::string& text) const
    {
        const fs::path path = t.dir.path() / name;
        std::ofstream(path) << text;
        return path;
    }
    std::string heading() const
    {
        AdwMessageDialog* d = settings->historyTransfer().dialog();
        return d != nullptr ? adw_message_dialog_get_heading(d) : "";
    }
    std::string body() const
    {
        AdwMessageDialog* d = settings->historyTransfer().dialog();
        return d != nullptr ? adw_message_dialog_get_body(d) : "";
    }
    void respond(const char* response) { answer(settings->historyTransfer().dialog(), response); }
    void selectImport()
    {
        settings->tableViewDidSelectRow(Settings::kHistory, Settings::kImportHistory);
    }

    Settings* settings = nullptr;
    std::optional<std::string> picked;
    std::vector<std::pair<Purpose, std::string>> asked;
};

TEST_F(HistoryTransferScreenTest, AnImportAsksWithWhatItWouldChangeAndNeverCountsADayTwice)
{
    bookDay(3, 2, 900'000'000);
    const fs::path csv = file("days.csv", "date,cellular_bytes\n2026-02-03,2000000000\n2026-03-02,500000000\n");
    picked = csv.string();
    const auto before = days();

    selectImport();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, Purpose::Import);
    EXPECT_EQ(heading(), "Import History?");
    EXPECT_NE(body().find("1 day added"), std::string::npos) << body();
    EXPECT_NE(body().find("1 day kept as recorded"), std::string::npos) << body();
    EXPECT_NE(body().find("2026-03-02: the recorded 900 MB over the imported 500 MB"), std::string::npos) << body();
    respond("cancel");
    EXPECT_EQ(days(), before) << "nothing changes before the answer";
    EXPECT_EQ(settings->historyTransfer().dialog(), nullptr);

    selectImport();
    respond("import");
    EXPECT_EQ(heading(), "History Imported");
    EXPECT_EQ(days().at("2026-02-03"), 2'000'000'000u);
    EXPECT_EQ(days().at("2026-03-02"), 900'000'000u) << "the larger measured amount stays";
    respond("close");

    selectImport();
    EXPECT_EQ(heading(), "Nothing to Import");
    EXPECT_EQ(body(), "Every day in this file is already recorded.");
    respond("close");
    EXPECT_EQ(days().size(), 2u);
}

TEST_F(HistoryTransferScreenTest, AFileThatIsNotAHistorySaysWhyAndChangesNothing)
{
    bookDay(3, 2, 900'000'000);
    const std::string stateBefore = slurp(t.paths.stateFile);
    for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
             {"cut.json", "{\"months\": [{\"month\": \"March 2026\", \"days\": [{\"date\": \"2026-03-0"},
             {"future.csv", "date,cellular_bytes\n2026-03-11,5\n"},
             {"negative.csv", "date,cellular_bytes\n2026-03-01,-5\n"}}) {
        picked = file(name, text).string();
        selectImport();
        EXPECT_EQ(heading(), "Cannot Import") << name;
        EXPECT_EQ(body().rfind("This file cannot be imported: ", 0), 0u) << body();
        EXPECT_NE(body().find("Nothing was changed."), std::string::npos) << body();
        respond("close");
    }
    picked = (t.dir.path() / "missing.json").string();
    selectImport();
    EXPECT_EQ(heading(), "Cannot Import");
    respond("close");
    picked.reset();  // the chooser cancelled
    selectImport();
    EXPECT_EQ(settings->historyTransfer().dialog(), nullptr);
    EXPECT_EQ(slurp(t.paths.stateFile), stateBefore);
}

TEST_F(HistoryTransferScreenTest, VnstatsDatabaseIsAskedForTheInterfaceThatCarriedMobileData)
{
    if (!fs::exists("/usr/sbin/vnstatd")) {
        GTEST_SKIP() << "vnStat is not installed";
    }
    const fs::path dir = t.dir.path() / "vnstat";
    fs::create_directories(dir);
    std::ofstream(dir / "vnstat.conf") << "DatabaseDir \"" << dir.string() << "\"\nUseLogging 0\n";
    const std::string config = (dir / "vnstat.conf").string();
    const std::string fill = "import sqlite3, sys\ndb = sqlite3.connect(sys.argv[1])\n"
                             "ids = dict(db.execute('SELECT name, id FROM interface'))\n"
                             "row = \"INSERT INTO day (interface, date, rx, tx) VALUES (?, '2026-03-01', ?, ?)\"\n"
                             "db.execute(row, (ids['wwan0'], 300, 20))\n"
                             "db.execute(row, (ids['eth0'], 9000, 0))\n"
                             "db.commit()\n";
    std::ofstream(dir / "fill.py") << fill;
    ASSERT_EQ(std::system(("/usr/sbin/vnstatd --config '" + config + "' --initdb >/dev/null && vnstat --config '" + config +
                           "' --add -i wwan0 --force >/dev/null && vnstat --config '" + config +
                           "' --add -i eth0 --force >/dev/null && python3 '" + (dir / "fill.py").string() + "' '" +
                           (dir / "vnstat.db").string() + "'")
                              .c_str()),
              0);
    picked = (dir / "vnstat.db").string();

    selectImport();
    EXPECT_EQ(heading(), "Which Interface?");
    AdwMessageDialog* d = settings->historyTransfer().dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(adw_message_dialog_get_response_label(d, "interface-0"), "eth0");
    EXPECT_STREQ(adw_message_dialog_get_response_label(d, "interface-1"), "wwan0");
    respond("interface-1");
    EXPECT_EQ(heading(), "Import History?");
    EXPECT_NE(body().find("1 day added"), std::string::npos) << body();
    respond("import");
    EXPECT_EQ(days().at("2026-03-01"), 320u) << "received and sent of wwan0, not eth0's";
    respond("close");
}

TEST_F(HistoryTransferScreenTest, TheExportedBackupIsWhereItWasAskedToGoAndReadsBackWhole)
{
    bookDay(2, 14, 123'456'789);
    bookDay(3, 1, 42);
    picked = (t.dir.path() / "backup.json").string();
    settings->tableViewDidSelectRow(Settings::kHistory, Settings::kExportHistory);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(Purpose::Export, std::string("quorvel-history-2026-03-10.json")));
    EXPECT_EQ(heading(), "History Exported");
    EXPECT_EQ(body(), "Saved to " + *picked + ".");
    respond("close");
    const nlohmann::json backup = nlohmann::json::parse(slurp(*picked));
    EXPECT_EQ(backup["settings"]["plan"], app->pmodule()->getMonthPlan());

    // Read back into the same history: every day is there already.
    selectImport();
    EXPECT_EQ(heading(), "Nothing to Import");
    respond("close");

    // A folder that is a file cannot take it: said, and nothing written.
    std::ofstream(t.dir.path() / "plain") << "x";
    picked = (t.dir.path() / "plain" / "backup.json").string();
    settings->tableViewDidSelectRow(Settings::kHistory, Settings::kExportHistory);
    EXPECT_EQ(heading(), "Cannot Export");
    EXPECT_EQ(body().rfind("The backup cannot be written: ", 0), 0u) << body();
    respond("close");
}

TEST_F(HistoryTransferScreenTest, TheRowsAndTheQuestionAsPeopleSeeThem)
{
    show(settings->widget(), 360, 720);
    auto& scroller = dynamic_cast<Gtk::ScrolledWindow&>(settings->table().widget());
    const auto adjustment = scroller.get_vadjustment();
    adjustment->set_value(adjustment->get_upper() - adjustment->get_page_size());
    guitest::waitFrames(settings->widget());
    guitest::keepScreenshot(guitest::picture(settings->widget()), "settings-history-phone");
    const std::vector<std::string> shown = guitest::labelTexts(settings->widget());
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Import History…"), shown.end());

    bookDay(3, 2, 900'000'000);
    picked = file("days.csv", "date,cellular_bytes\n2026-02-03,2000000000\n2026-03-02,500000000\n").string();
    selectImport();
    AdwMessageDialog* question = settings->historyTransfer().dialog();
    ASSERT_NE(question, nullptr);
    Gtk::Widget& dialog = *Glib::wrap(GTK_WIDGET(question));
    ASSERT_TRUE(guitest::runUntil([&] { return dialog.get_mapped() && dialog.get_width() > 0; }));
    guitest::waitFrames(dialog);
    guitest::keepScreenshot(guitest::picture(dialog), "import-question-phone");
    EXPECT_EQ(adw_message_dialog_get_default_response(question), std::string("import"));
    EXPECT_EQ(adw_message_dialog_get_close_response(question), std::string("cancel")) << "Escape changes nothing";
    respond("cancel");
}

}  // namespace
}  // namespace quorvel::settingstest
