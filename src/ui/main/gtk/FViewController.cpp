// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/gtk/FViewController.hpp"

#include <adwaita.h>

#include <gtkmm/box.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/grid.h>
#include <gtkmm/separator.h>
#include <gtkmm/stylecontext.h>

#include "engine/AppActions.hpp"
#include "model/Messages.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/MainScreenFigures.hpp"
#include "platform/Clock.hpp"
#include "platform/Translation.hpp"
#include "ui/main/AllowanceParts.hpp"
#include "ui/gtk/AccessibleText.hpp"
#include "ui/gtk/ImageStore.hpp"
#include "ui/gtk/SystemStyle.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel {

namespace {

// The screen's look, installed once for the display. Text sizes are in points, which follow the
// desktop's text scaling (pixels would not). The colours are the style's named ones, so the
// screen follows the light and dark styles and high contrast. Advice in the accent or in the soft
// grey, the percentage and the three plan figures leading. A panel's frame takes a point of its
// padding, so that the figures keep their places in every style.
void installStyle()
{
    static const bool installed = [] {
        SystemStyle::install();
        const std::string css = R"(
.qv-data-screen { background-color: @quorvel_page; color: @quorvel_strong_text; }
.qv-data-screen label { color: @quorvel_text; }
.qv-data-screen label.qv-caption { color: @quorvel_dim_text; font-size: 8.25pt; font-weight: 700; letter-spacing: 1px; }
.qv-data-screen label.qv-row-caption { color: @quorvel_soft_text; font-size: 11.25pt; }
.qv-data-screen label.qv-date { font-size: 13.5pt; font-weight: 700; }
.qv-data-screen label.qv-percent { font-size: 48pt; font-weight: 800; }
.qv-data-screen label.qv-percent.qv-large { font-size: 72pt; }
.qv-data-screen label.qv-percent-sign { font-size: 21pt; font-weight: 700; color: @quorvel_dim_text; }
.qv-data-screen label.qv-percent-sign.qv-large { font-size: 30pt; }
.qv-data-screen label.qv-hero-value { font-size: 18pt; font-weight: 800; }
.qv-data-screen label.qv-hero-value.qv-large { font-size: 25.5pt; }
.qv-data-screen label.qv-value { font-size: 12.75pt; font-weight: 700; }
.qv-data-screen label.qv-value.qv-large { font-size: 16.5pt; }
.qv-data-screen label.qv-row-value { font-size: 11.25pt; font-weight: 700; }
.qv-data-screen label.qv-advice.qv-large { font-size: 12.75pt; }
.qv-data-screen label.qv-advice { font-size: 11.25pt; font-weight: 700; color: @quorvel_soft_text; }
.qv-data-screen label.qv-advice.qv-emphasised { color: @quorvel_accent_text; }
.qv-data-screen label.qv-expired { font-size: 12.75pt; font-weight: 800; color: @quorvel_accent_text; }
.qv-data-screen .qv-panel { padding: 11px 15px; background-color: @quorvel_surface; border: 1px solid @quorvel_rule;
                            border-radius: 12px; }
.qv-data-screen .qv-panel.qv-large { padding: 17px 27px; }
.qv-data-screen separator.qv-rule { background-color: @quorvel_rule; min-height: 1px; margin: 4px 0; }
.qv-data-screen .qv-setup-note { padding: 11px 15px; background-color: @quorvel_surface; border: 1px solid @quorvel_rule;
                                 border-radius: 12px; }
.qv-data-screen label.qv-setup-text { color: @quorvel_strong_text; font-size: 11.25pt; font-weight: 700; }
.qv-data-screen button.suggested-action label { color: @accent_fg_color; }
.qv-data-screen button.qv-detail-button { padding: 0; margin: 0; min-width: 0; min-height: 0; background: none;
                                          border: none; box-shadow: none; outline-offset: 2px; }
)";
        auto provider = Gtk::CssProvider::create();
        provider->load_from_data(css);
        Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), provider,
                                                    GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        return true;
    }();
    (void)installed;
}

Gtk::Label* newLabel(std::initializer_list<const char*> classes, float xalign = 0.0f, const std::string& text = {})
{
    auto* label = Gtk::make_managed<Gtk::Label>(text);
    for (const char* c : classes) {
        label->add_css_class(c);
    }
    label->set_xalign(xalign);
    return label;
}

Gtk::Label* caption(const std::string& text, float xalign = 0.0f)
{
    return newLabel({"qv-caption"}, xalign, Translation::tr(text));
}

// A caption over its figure.
Gtk::Box* tile(const std::string& title, Gtk::Label* value, float xalign = 0.0f)
{
    auto* box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 2);
    box->append(*caption(title, xalign));
    value->set_xalign(xalign);
    box->append(*value);
    box->set_hexpand(true);
    return box;
}

// A caption on the left, its figure on the right.
Gtk::Box* row(const std::string& title, Gtk::Label* value)
{
    auto* box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 12);
    auto* name = newLabel({"qv-row-caption"}, 0.0f, Translation::tr(title));
    name->set_hexpand(true);
    box->append(*name);
    value->set_xalign(1.0f);
    box->append(*value);
    return box;
}

Gtk::Separator* rule()
{
    auto* separator = Gtk::make_managed<Gtk::Separator>(Gtk::Orientation::HORIZONTAL);
    separator->add_css_class("qv-rule");
    return separator;
}

// Three figures side by side, in equal columns.
Gtk::Box* threeTiles(std::initializer_list<std::pair<const char*, Gtk::Label*>> figures)
{
    auto* box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 12);
    box->set_homogeneous(true);
    for (const auto& [title, value] : figures) {
        box->append(*tile(title, value));
    }
    return box;
}

}  // namespace

FViewController::FViewController(ScreenContext& context) : context_(context)
{
    installStyle();
    root_.add_css_class("qv-data-screen");
    root_.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    createOutlets();
    if (UIDeviceVersion::isPadInterface()) {
        buildTabletLayout();
    } else {
        buildPhoneLayout();
    }
    pdetailView->set_visible(false);
    planChangedRegistration_ = context_.center.addObserver(
        std::string(messages::kMonthPlanSettingWasChanged), [this](const Notification& n) { planChanged(n); });
    updateControls();
}

FViewController::~FViewController()
{
    detailStateConnection_.disconnect();
}

void FViewController::createOutlets()
{
    const bool tablet = UIDeviceVersion::isPadInterface();
    const auto heroValue = [tablet] {
        auto* label = newLabel({"qv-hero-value"});
        if (tablet) {
            label->add_css_class("qv-large");
        }
        return label;
    };
    const auto value = [tablet] {
        auto* label = newLabel({"qv-value"});
        if (tablet) {
            label->add_css_class("qv-large");
        }
        return label;
    };
    const auto rowValue = [tablet, &value] { return tablet ? value() : newLabel({"qv-row-value"}); };
    ptPlan = heroValue();
    ptUsed = heroValue();
    ptLeft = heroValue();
    // On a tablet both panels lead with the same three figures; the detail panel adds the rest.
    ptPlan2 = tablet ? heroValue() : value();
    ptUsed2 = tablet ? heroValue() : value();
    ptLeft2 = tablet ? heroValue() : value();
    ptUsedToday = rowValue();
    ptUsedDaily = rowValue();
    ptLeftDaily = rowValue();
    ptCyclePassed = rowValue();
    ptCycleLeft = rowValue();
    ptDataUsageEstimation = rowValue();
    ptRoaming = newLabel({"qv-row-value"});
    ptDateLong = newLabel({"qv-date"});
    ptPercUsed = newLabel({"qv-percent"}, 1.0f);
    ptAdvise = newLabel({"qv-advice"}, 0.5f);
    ptAdvise->set_wrap(true);
    ptAdvise->set_justify(Gtk::Justification::CENTER);
    ptProgress = Gtk::make_managed<ProgressView>(tablet ? 60 : 40);
    ptPeriod = newLabel({"qv-row-caption"});
    ptPeriod->set_wrap(true);
    ptExpired = newLabel({"qv-expired"}, 0.5f, AllowanceParts::kExpired);
    ptExpired->set_visible(false);

    btnDetail = Gtk::make_managed<Gtk::Button>();
    btnDetail->add_css_class("qv-detail-button");
    btnDetail->set_tooltip_text(_("Show more figures"));
    AccessibleText::name(*btnDetail, _("Show more figures"));
    btnDetail->set_valign(Gtk::Align::CENTER);
    btnDetailPicture_ = Gtk::make_managed<Gtk::Picture>();
    btnDetailPicture_->set_can_shrink(true);
    btnDetailPicture_->set_size_request(44, 32);
    btnDetail->set_child(*btnDetailPicture_);
    setButtonImage(kMenuImage);
    btnDetail->signal_clicked().connect(sigc::mem_fun(*this, &FViewController::showNavBar));
    detailStateConnection_ = btnDetail->signal_state_flags_changed().connect([this](Gtk::StateFlags) {
        showPressedImage((btnDetail->get_state_flags() & Gtk::StateFlags::ACTIVE) == Gtk::StateFlags::ACTIVE);
    });

    psummaryView = Gtk::make_managed<View9Parts>(Gtk::Orientation::VERTICAL, 10);
    pdetailView = Gtk::make_managed<View9Parts>(Gtk::Orientation::VERTICAL, tablet ? 14 : 8);
    pallowanceView = Gtk::make_managed<View9Parts>(Gtk::Orientation::VERTICAL, 8);
    pallowanceView->set_visible(false);
    if (tablet) {
        for (Gtk::Widget* w : {static_cast<Gtk::Widget*>(psummaryView), static_cast<Gtk::Widget*>(pdetailView),
                               static_cast<Gtk::Widget*>(pallowanceView), static_cast<Gtk::Widget*>(ptAdvise)}) {
            w->add_css_class("qv-large");
        }
    }
    buildSummaryPanel(tablet);
    buildDetailPanel(tablet);
}

Gtk::Widget& FViewController::buildHeader()
{
    auto* header = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 12);
    auto* date = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 0);
    date->append(*caption(N_("TODAY")));
    date->append(*ptDateLong);
    date->append(*ptPeriod);
    date->set_hexpand(true);
    header->append(*date);
    header->append(*btnDetail);
    return *header;
}

// The share used: the big number, a sign beside it and what it means underneath.
Gtk::Widget& FViewController::buildPercentage(bool large)
{
    auto* box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 0);
    auto* number = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    number->set_halign(Gtk::Align::CENTER);
    auto* sign = newLabel({"qv-percent-sign"}, 0.0f, "%");
    if (large) {
        ptPercUsed->add_css_class("qv-large");
        sign->add_css_class("qv-large");
    }
    ptPercUsed->set_valign(Gtk::Align::BASELINE);
    sign->set_valign(Gtk::Align::BASELINE);
    number->append(*ptPercUsed);
    number->append(*sign);
    box->append(*number);
    box->append(*caption(N_("OF THE DATA PLAN USED"), 0.5f));
    return *box;
}

void FViewController::buildSummaryPanel(bool tablet)
{
    if (tablet) {
        psummaryView->append(*threeTiles({{N_("DATA PLAN"), ptPlan}, {N_("USED"), ptUsed}, {N_("LEFT"), ptLeft}}));
        return;
    }
    psummaryView->append(*row(N_("Data plan"), ptPlan));
    psummaryView->append(*rule());
    psummaryView->append(*row(N_("Used"), ptUsed));
    psummaryView->append(*rule());
    psummaryView->append(*row(N_("Left"), ptLeft));
}

void FViewController::buildDetailPanel(bool tablet)
{
    pdetailView->append(*threeTiles({{N_("DATA PLAN"), ptPlan2}, {N_("USED"), ptUsed2}, {N_("LEFT"), ptLeft2}}));
    pdetailView->append(*rule());
    if (tablet) {
        pdetailView->append(*threeTiles(
            {{N_("USED TODAY"), ptUsedToday}, {N_("AVERAGE PER DAY"), ptUsedDaily}, {N_("LEFT PER DAY"), ptLeftDaily}}));
        pdetailView->append(*threeTiles(
            {{N_("DAYS PASSED"), ptCyclePassed}, {N_("DAYS LEFT"), ptCycleLeft}, {N_("MONTH ESTIMATE"), ptDataUsageEstimation}}));
        roamingRow = row(N_("Roaming"), ptRoaming);
        pdetailView->append(*roamingRow);
        return;
    }
    pdetailView->append(*row(N_("Used today"), ptUsedToday));
    pdetailView->append(*row(N_("Average per day"), ptUsedDaily));
    pdetailView->append(*row(N_("Left per day"), ptLeftDaily));
    pdetailView->append(*row(N_("Days passed"), ptCyclePassed));
    pdetailView->append(*row(N_("Days left"), ptCycleLeft));
    pdetailView->append(*row(N_("Estimate for the month"), ptDataUsageEstimation));
    roamingRow = row(N_("Roaming"), ptRoaming);
    pdetailView->append(*roamingRow);
}

Gtk::Box& FViewController::buildFigures(bool tablet)
{
    auto* content = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, tablet ? 22 : 14);
    // On a tablet the clamp centres the figures in wide windows; its margins only count in a
    // narrow one, which must go down to a half-tiled laptop screen (683 px).
    content->set_margin_start(tablet ? 20 : 16);
    content->set_margin_end(tablet ? 20 : 16);
    content->set_margin_top(tablet ? 24 : 14);
    content->set_margin_bottom(tablet ? 24 : 16);
    content->append(buildSetUpNote());
    content->append(buildHeader());
    content->append(buildPercentage(tablet));
    content->append(*ptExpired);
    content->append(*ptProgress);
    content->append(*ptAdvise);
    content->append(*psummaryView);
    content->append(*pdetailView);
    content->append(*pallowanceView);
    return *content;
}

// Before the first start's set-up is answered nothing is counted: the screen says so and offers
// the set-up again.
Gtk::Widget& FViewController::buildSetUpNote()
{
    setUpNote_ = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 10);
    setUpNote_->add_css_class("qv-setup-note");
    auto* text = newLabel({"qv-setup-text"}, 0.5f, _("Quorvel counts nothing until it is set up."));
    text->set_wrap(true);
    text->set_justify(Gtk::Justification::CENTER);
    setUpNote_->append(*text);
    auto* button = Gtk::make_managed<Gtk::Button>(_("Set Up"));
    button->add_css_class("suggested-action");
    button->add_css_class("pill");
    button->set_halign(Gtk::Align::CENTER);
    button->signal_clicked().connect([this] { context_.app.runSetUp(); });
    setUpNote_->append(*button);
    return *setUpNote_;
}

void FViewController::buildPhoneLayout()
{
    root_.set_child(buildFigures(false));
}

void FViewController::buildTabletLayout()
{
    Gtk::Box& content = buildFigures(true);
    // Wide windows keep the figures together instead of spreading them to the edges.
    auto* clamp = Gtk::manage(Glib::wrap(adw_clamp_new()));
    adw_clamp_set_maximum_size(ADW_CLAMP(clamp->gobj()), 960);
    adw_clamp_set_tightening_threshold(ADW_CLAMP(clamp->gobj()), 960);
    adw_clamp_set_child(ADW_CLAMP(clamp->gobj()), GTK_WIDGET(content.gobj()));
    root_.set_child(*clamp);
}

void FViewController::updateInterface(const SharedSummary& summary)
{
    if (!summary) {
        return;
    }
    shownSummary_ = summary;
    updateControls();
}

void FViewController::viewWillAppear()
{
    updateControls();
}

void FViewController::planChanged(const Notification& notification)
{
    if (notification.number) {
        shownSummary_ = FTrafficDataInformation::withNewPlan(shownSummary_, *notification.number);
    }
    updateControls();
}

void FViewController::updateControls()
{
    static const FTrafficDataInformation kNothingYet;
    const FTrafficDataInformation& info = shownSummary_ ? *shownSummary_ : kNothingYet;
    const MainScreenFigures f = MainScreenFigures::fromSummary(info, context_.clock.now());
    ptPlan->set_text(f.plan);
    ptPlan2->set_text(f.plan);
    ptUsed->set_text(f.used);
    ptUsed2->set_text(f.used);
    ptLeft->set_text(f.left);
    ptLeft2->set_text(f.left);
    ptUsedToday->set_text(f.usedToday);
    ptUsedDaily->set_text(f.usedDaily);
    ptLeftDaily->set_text(f.leftDaily);
    ptCyclePassed->set_text(f.cyclePassed);
    ptCycleLeft->set_text(f.cycleLeft);
    ptDataUsageEstimation->set_text(f.estimation);
    ptRoaming->set_text(f.roaming);
    roamingRow->set_visible(!f.roaming.empty());
    ptPercUsed->set_text(f.percentUsed);
    ptDateLong->set_text(f.dateLong);
    ptProgress->setDProgr(f.progress);
    ptProgress->setDMarker(f.marker);
    ptProgress->setStrProgrText(f.progressText);
    ptProgress->setStrMarkerText(f.markerText);
    AccessibleText::describe(*ptProgress, Translation::fill(_("%s of %s used, %s left"), {f.used, f.plan, f.cycleLeft}));
    ptAdvise->set_text(Translation::tr(f.advice));
    if (f.adviceEmphasised) {
        ptAdvise->add_css_class("qv-emphasised");
    } else {
        ptAdvise->remove_css_class("qv-emphasised");
    }
    showPlanFacts(info);
    setUpNote_->set_visible(context_.app.isFirstStart());
}

void FViewController::showPlanFacts(const FTrafficDataInformation& info)
{
    const std::optional<PlanFacts>& facts = info.planFacts();
    const AllowanceParts a = AllowanceParts::of(facts.value_or(PlanFacts{}), LocalDay::of(context_.clock.now()));
    ptPeriod->set_text(facts ? Translation::fill(_("Period %s"), {a.period()}) : "");
    ptPeriod->set_visible(facts.has_value());
    ptExpired->set_visible(a.expired());
    // Rebuilt each time: packs come and go, and there are only a few rows.
    while (Gtk::Widget* child = pallowanceView->get_first_child()) {
        pallowanceView->remove(*child);
    }
    if (!a.parts().empty()) {
        pallowanceView->append(*caption(N_("ALLOWANCE")));
    }
    for (std::size_t i = 0; i < a.parts().size(); ++i) {
        if (i > 0) {
            pallowanceView->append(*rule());
        }
        pallowanceView->append(*row(a.parts()[i].title, newLabel({"qv-row-value"}, 1.0f, a.parts()[i].value)));
    }
    pallowanceView->set_visible(!a.parts().empty());
}

void FViewController::showNavBar()
{
    if (!psummaryView->get_visible()) {
        psummaryView->set_visible(true);
        pdetailView->set_visible(false);
        setButtonImage(kMenuImage);
        btnDetail->set_tooltip_text(_("Show more figures"));
        AccessibleText::name(*btnDetail, _("Show more figures"));
    } else {
        psummaryView->set_visible(false);
        pdetailView->set_visible(true);
        setButtonImage(kMenuImageActive);
        btnDetail->set_tooltip_text(_("Show fewer figures"));
        AccessibleText::name(*btnDetail, _("Show fewer figures"));
    }
}

void FViewController::setButtonImage(const std::string& name)
{
    btnDetailImage_ = name;
    showPressedImage(false);
}

// While pressed the button shows the highlighted picture, otherwise its normal one.
void FViewController::showPressedImage(bool pressed)
{
    const ImageStore::Image* image = ImageStore::image(pressed ? kMenuImageActive : btnDetailImage_);
    Glib::RefPtr<Gdk::Paintable> paintable;
    if (image != nullptr) {
        paintable = image->texture;
    }
    if (btnDetailPicture_->get_paintable() != paintable) {
        btnDetailPicture_->set_paintable(paintable);
    }
}

}  // namespace quorvel
