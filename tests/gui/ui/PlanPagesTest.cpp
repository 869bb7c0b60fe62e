// SPDX-License-Identifier: GPL-3.0-or-later
// "Plan Period" and "Data Packs" at phone width over a real application controller: a shape
// chosen and saved reaches the stored plan, refused fields are told on the page and change
// nothing, the rollover and free-hours switches, and packs added, listed and removed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <adwaita.h>

#include "SettingsFixture.hpp"
#include "ui/settings/gtk/FPrefPacksViewController.hpp"
#include "ui/settings/gtk/FPrefPlanViewController.hpp"
#include "ui/settings/gtk/FPrefTableViewController.hpp"

namespace quorvel::settingstest {
namespace {

using ::testing::HasSubstr;
using Kind = PlanShape::Kind;
using PlanPage = FPrefPlanViewController;
using Settings = FPrefTableViewController;

constexpr int kPhoneWidth = 360;

class PlanPagesTest : public SettingsFixture {
protected:
    CTrafficManager& model() { return *app->pmodule(); }
    // The settings at phone width with the page of `row` pushed from the plan section.
    template <class Page>
    Page& pushed(Settings::PlanRow row)
    {
        settings_ = &make<Settings>(*context, prompts.prompts());
        show(settings_->widget(), kPhoneWidth, 720);
        settings_->tableViewDidSelectRow(Settings::kPlan, row);
        auto* page = dynamic_cast<Page*>(settings_->navigation().top());
        EXPECT_NE(page, nullptr);
        EXPECT_TRUE(guitest::runUntilSlidIn(page->widget(), settings_->widget()));
        return *page;
    }
    static void type(AdwEntryRow* row, const char* text) { FPrefAdwPage::setText(row, text); }
    static bool shown(AdwEntryRow* row) { return gtk_widget_get_visible(GTK_WIDGET(row)); }
    std::string planRowText() { return settings_->table().row(Settings::kPlan, Settings::kPlanPeriod).text(); }

    Settings* settings_ = nullptr;
};

TEST_F(PlanPagesTest, EveryNDaysFromADateIsStoredAndRefusedFieldsChangeNothing)
{
    PlanPage& page = pushed<PlanPage>(Settings::kPlanPeriod);
    EXPECT_EQ(page.widget().get_width(), kPhoneWidth) << "the page fits a phone without growing the window";
    EXPECT_TRUE(shown(page.field(PlanPage::kStartDay)));
    EXPECT_FALSE(shown(page.field(PlanPage::kEveryDays)));

    page.chooseKind(Kind::Every);
    EXPECT_FALSE(shown(page.field(PlanPage::kStartDay)));
    EXPECT_TRUE(shown(page.field(PlanPage::kEveryDays)));
    EXPECT_TRUE(shown(page.field(PlanPage::kFrom)));
    EXPECT_FALSE(shown(page.field(PlanPage::kUntil)));
    type(page.field(PlanPage::kEveryDays), "28");
    type(page.field(PlanPage::kFrom), "2026-02-24");
    page.saveButton().activate();  // a button clicks once its pressed look has shown
    ASSERT_TRUE(guitest::runUntil([&] { return model().planShape().kind() == Kind::Every; }));
    EXPECT_EQ(model().planShape(), PlanShape::every(28, LocalDay(2026, 2, 24)));
    EXPECT_FALSE(page.periodRefusal().get_visible());
    EXPECT_EQ(model().currentPeriod().first(), LocalDay(2026, 2, 24));
    EXPECT_EQ(model().currentPeriod().last(), LocalDay(2026, 3, 23));

    const struct {
        Kind kind;
        const char* days;
        const char* from;
        const char* until;
        const char* told;
    } refused[] = {
        {Kind::Every, "28", "2027-02-30", "", "date that exists"},
        {Kind::Every, "0", "2026-03-01", "", "1 to 366"},
        {Kind::Every, "367", "2026-03-01", "", "1 to 366"},
        {Kind::Every, "28", "", "", "date that exists"},
        {Kind::Prepaid, "", "2026-03-10", "2026-03-09", "before the first"},
        {Kind::Prepaid, "", "2026-03-10", "10.04.2026", "date that exists"},
    };
    for (const auto& r : refused) {
        page.chooseKind(r.kind);
        type(page.field(PlanPage::kEveryDays), r.days);
        type(page.field(PlanPage::kFrom), r.from);
        type(page.field(PlanPage::kUntil), r.until);
        EXPECT_FALSE(page.savePeriod()) << r.days << " " << r.from << " " << r.until;
        EXPECT_TRUE(page.periodRefusal().get_visible()) << r.from;
        EXPECT_THAT(page.periodRefusal().get_text(), HasSubstr(r.told)) << r.from << " " << r.until;
        EXPECT_EQ(model().planShape(), PlanShape::every(28, LocalDay(2026, 2, 24))) << "nothing changed";
        if (r.kind == Kind::Prepaid) {
            guitest::waitFrames(settings_->widget());
            guitest::keepScreenshot(guitest::picture(settings_->widget()), "plan-page-refused");
        }
    }

    page.chooseKind(Kind::Daily);
    EXPECT_FALSE(page.periodRefusal().get_visible()) << "a new choice clears the old refusal";
    page.saveButton().activate();
    ASSERT_TRUE(guitest::runUntil([&] { return model().planShape() == PlanShape::daily(); }));
    settings_->reloadData();
    EXPECT_EQ(planRowText(), "Plan Period - Daily");
}

TEST_F(PlanPagesTest, BackOnAMonthlyPlanTheStartDayRowFollows)
{
    PlanPage& page = pushed<PlanPage>(Settings::kPlanPeriod);
    page.chooseKind(Kind::Prepaid);
    type(page.field(PlanPage::kFrom), "2026-03-01");
    type(page.field(PlanPage::kUntil), "2026-05-31");
    ASSERT_TRUE(page.savePeriod());
    EXPECT_TRUE(model().currentPeriod().contains(LocalDay(2026, 5, 31)));

    page.chooseKind(Kind::Monthly);
    type(page.field(PlanPage::kStartDay), "32");
    EXPECT_FALSE(page.savePeriod());
    type(page.field(PlanPage::kStartDay), "12");
    ASSERT_TRUE(page.savePeriod());
    EXPECT_EQ(model().planShape(), PlanShape::monthly(12));
    EXPECT_EQ(model().getPlanStartDay(), 12);
    settings_->reloadData();
    EXPECT_EQ(settings_->table().row(Settings::kPlan, Settings::kPlanStartDay).text(), "Plan Start Day - 12");
    EXPECT_EQ(planRowText(), "Plan Period - Monthly from day 12");
}

TEST_F(PlanPagesTest, RolloverAndFreeHoursSwitches)
{
    PlanPage& page = pushed<PlanPage>(Settings::kPlanPeriod);
    EXPECT_FALSE(page.rolloverSwitch().get_active());
    page.rolloverSwitch().set_active(true);
    EXPECT_TRUE(model().dataPlan().rolloverOn());

    type(page.freeStart(), "23:00");
    type(page.freeEnd(), "23:00");
    page.freeHoursSwitch().set_active(true);
    EXPECT_FALSE(model().dataPlan().freeHours().has_value()) << "an empty window is refused";
    EXPECT_FALSE(page.freeHoursSwitch().get_active()) << "the switch shows what is stored";
    EXPECT_THAT(page.freeRefusal().get_text(), HasSubstr("same time"));
    type(page.freeEnd(), "6:00");
    page.freeHoursSwitch().set_active(true);
    EXPECT_THAT(page.freeRefusal().get_text(), HasSubstr("HH:MM"));
    EXPECT_FALSE(model().dataPlan().freeHours().has_value());

    type(page.freeEnd(), "06:00");
    page.freeHoursSwitch().set_active(true);
    ASSERT_TRUE(model().dataPlan().freeHours().has_value());
    EXPECT_EQ(*model().dataPlan().freeHours(), (DataPlan::FreeHours{23 * 60, 6 * 60})) << "crossing midnight";
    EXPECT_FALSE(page.freeRefusal().get_visible());

    // While on, a changed end time is taken with the row's apply button.
    type(page.freeEnd(), "07:30");
    g_signal_emit_by_name(page.freeEnd(), "apply");
    EXPECT_EQ(model().dataPlan().freeHours()->end, 7 * 60 + 30);

    page.freeHoursSwitch().set_active(false);
    page.rolloverSwitch().set_active(false);
    EXPECT_FALSE(model().dataPlan().freeHours().has_value());
    EXPECT_FALSE(model().dataPlan().rolloverOn());
}

TEST_F(PlanPagesTest, PacksAreAddedListedFromOneAndRemoved)
{
    auto& page = pushed<FPrefPacksViewController>(Settings::kPlanPacks);
    EXPECT_EQ(page.widget().get_width(), kPhoneWidth);
    EXPECT_TRUE(page.listed().empty());
    EXPECT_EQ(FPrefAdwPage::text(page.fromField()), "2026-03-10") << "from today unless another day is typed";

    const struct {
        const char* size;
        const char* days;
        const char* from;
        const char* told;
    } refused[] = {{"0", "7", "2026-03-10", "megabytes"},
                   {"abc", "7", "2026-03-10", "megabytes"},
                   {"500", "0", "2026-03-10", "1 to 3660"},
                   {"500", "7", "2026-13-01", "date that exists"}};
    for (const auto& r : refused) {
        type(page.sizeField(), r.size);
        type(page.daysField(), r.days);
        type(page.fromField(), r.from);
        EXPECT_FALSE(page.addPack()) << r.size << " " << r.days << " " << r.from;
        EXPECT_THAT(page.refusal().get_text(), HasSubstr(r.told));
        EXPECT_TRUE(model().dataPlan().packs().empty());
    }

    type(page.sizeField(), "500");
    type(page.daysField(), "7");
    type(page.fromField(), "");
    ASSERT_TRUE(page.addPack());
    EXPECT_FALSE(page.refusal().get_visible());
    type(page.sizeField(), "1000");
    type(page.daysField(), "30");
    type(page.fromField(), "2026-03-01");
    ASSERT_TRUE(page.addPack());
    ASSERT_EQ(model().dataPlan().packs().size(), 2u);
    EXPECT_EQ(model().dataPlan().packs()[0], AddonPack(500'000'000, LocalDay(2026, 3, 10), 7));
    ASSERT_EQ(page.listed().size(), 2u);
    EXPECT_EQ(page.listed()[0].title, "1");
    EXPECT_EQ(page.listed()[0].subtitle, "500 MB · 500 MB left · until 2026-03-16");
    EXPECT_EQ(page.listed()[1].subtitle, "1 GB · 1 GB left · until 2026-03-30");
    guitest::waitFrames(settings_->widget());
    guitest::keepScreenshot(guitest::picture(settings_->widget()), "plan-packs");

    page.removeButton(0).activate();
    ASSERT_TRUE(guitest::runUntil([&] { return page.listed().size() == 1; }));
    EXPECT_EQ(page.listed()[0].title, "1") << "numbered again from 1";
    EXPECT_EQ(model().dataPlan().packs()[0].size(), 1'000'000'000u);
    settings_->reloadData();
    EXPECT_EQ(settings_->table().row(Settings::kPlan, Settings::kPlanPacks).text(), "Data Packs - 1");
}

}  // namespace
}  // namespace quorvel::settingstest
