// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/picture.h>
#include <gtkmm/scrolledwindow.h>

#include "platform/Translation.hpp"
#include "platform/NotificationCenter.hpp"
#include "ui/main/gtk/ProgressView.hpp"
#include "ui/ScreenContext.hpp"
#include "ui/TabScreen.hpp"
#include "ui/main/gtk/View9Parts.hpp"
#include "model/SharedSummary.hpp"

namespace quorvel {

// Tab screen "Data": the current billing month at a glance. Plan, used and left on whichever of
// the two framed panels is shown (the detail panel adds today, the daily figures, the days and
// the estimate), the share of the plan used, today's date, the usage gauge and one line of
// advice. Everything comes from the last usage summary it was handed; a plan change in the
// settings shows at once. Under the date the period's dates; beside the figures what the
// allowance is made of (plan, rollover, packs) when it is more than the plan. Phones get a single column, tablets a wider two-column arrangement.
class FViewController final : public TabScreen {
public:
    static constexpr const char* kMenuImage = "button_menu@2x.png";
    static constexpr const char* kMenuImageActive = "button_menu_a@2x.png";

    explicit FViewController(ScreenContext& context);
    ~FViewController() override;
    FViewController(const FViewController&) = delete;
    FViewController& operator=(const FViewController&) = delete;

    Gtk::Widget& widget() override { return root_; }
    static constexpr const char* kTitle = N_("Data");
    std::string title() const override { return kTitle; }
    // A new summary from the controller; a null one is ignored.
    void updateInterface(const SharedSummary& summary) override;
    void viewWillAppear() override;

    // Fills every label and feeds the gauge from the summary held (zeros before the first one).
    void updateControls();
    // The panel button: shows the other panel and swaps the button's picture.
    void showNavBar();
    const SharedSummary& shownSummary() const { return shownSummary_; }
    // The button's picture in its normal state.
    const std::string& btnDetailImage() const { return btnDetailImage_; }

    // The screen's parts, owned by the widget tree under widget().
    Gtk::Label* ptPlan = nullptr;
    Gtk::Label* ptUsed = nullptr;
    Gtk::Label* ptLeft = nullptr;
    Gtk::Label* ptUsedToday = nullptr;
    Gtk::Label* ptUsedDaily = nullptr;
    Gtk::Label* ptLeftDaily = nullptr;
    Gtk::Label* ptCyclePassed = nullptr;
    Gtk::Label* ptCycleLeft = nullptr;
    Gtk::Label* ptDataUsageEstimation = nullptr;
    Gtk::Label* ptRoaming = nullptr;
    Gtk::Widget* roamingRow = nullptr;  // shown only when some of the month's use was roaming
    View9Parts* psummaryView = nullptr;
    View9Parts* pdetailView = nullptr;
    Gtk::Label* ptDateLong = nullptr;
    Gtk::Label* ptPercUsed = nullptr;
    ProgressView* ptProgress = nullptr;
    Gtk::Label* ptPlan2 = nullptr;
    Gtk::Label* ptUsed2 = nullptr;
    Gtk::Label* ptLeft2 = nullptr;
    Gtk::Label* ptAdvise = nullptr;
    Gtk::Button* btnDetail = nullptr;
    Gtk::Label* ptPeriod = nullptr;     // the billing period's first and last day
    Gtk::Label* ptExpired = nullptr;    // "Plan expired", shown only for an ended prepaid plan
    View9Parts* pallowanceView = nullptr;  // the allowance's parts, when more than the plan

private:
    void createOutlets();
    // The figures in one column, spaced for the phone or the tablet.
    Gtk::Box& buildFigures(bool tablet);
    void buildPhoneLayout();
    void buildTabletLayout();
    Gtk::Widget& buildHeader();
    Gtk::Widget& buildSetUpNote();
    Gtk::Widget& buildPercentage(bool large);
    void buildSummaryPanel(bool tablet);
    void buildDetailPanel(bool tablet);
    void showPlanFacts(const FTrafficDataInformation& info);
    void planChanged(const Notification& notification);
    void setButtonImage(const std::string& name);
    void showPressedImage(bool pressed);

    ScreenContext& context_;
    SharedSummary shownSummary_;
    Gtk::ScrolledWindow root_;
    Gtk::Box* setUpNote_ = nullptr;  // shown until the first start's set-up is answered
    Gtk::Picture* btnDetailPicture_ = nullptr;
    // The button belongs to the widget tree, which may outlive this screen while the window is
    // taken apart; its state changes must not reach a screen that is gone.
    sigc::connection detailStateConnection_;
    std::string btnDetailImage_ = kMenuImage;
    NotificationCenter::Registration planChangedRegistration_;
};

}  // namespace quorvel
