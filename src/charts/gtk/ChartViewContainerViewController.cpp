// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/gtk/ChartViewContainerViewController.hpp"

#include <cmath>

#include <gtkmm/cssprovider.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/gestureclick.h>
#include <gtkmm/stylecontext.h>

#include "charts/gtk/FChartPageWidget.hpp"
#include "charts/gtk/FYearPageWidget.hpp"
#include "model/Messages.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel {

namespace {

// The screen's background matches the graphs' plot area, so the pages and the dots read as one
// surface; the dots take the light text colour.
void installStyle()
{
    static const bool installed = [] {
        auto provider = Gtk::CssProvider::create();
        provider->load_from_data(R"(
.qv-chart-screen { background-color: rgb(36, 38, 51); }
.qv-chart-screen label.qv-chart-empty { color: #9a9eb2; font-size: 11.25pt; }
.qv-chart-screen .qv-chart-dots { color: #dee0e8; padding: 4px 0 8px 0; }
.qv-chart-screen carousel:focus-visible { outline: 2px solid #99cc33; outline-offset: -3px; }
)");
        Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), provider,
                                                    GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        return true;
    }();
    (void)installed;
}

FChartViewController::Idiom pageIdiom()
{
    return UIDeviceVersion::isPadInterface() ? FChartViewController::Idiom::Tablet : FChartViewController::Idiom::Phone;
}

}  // namespace

ChartViewContainerViewController::ChartViewContainerViewController(ScreenContext& context)
    : context_(context), root_(Gtk::Orientation::VERTICAL, 0)
{
    installStyle();
    root_.add_css_class("qv-chart-screen");

    GtkWidget* carousel = adw_carousel_new();
    scrollView_ = ADW_CAROUSEL(carousel);
    // New pages appear at once: an update must not leave the carousel between two positions.
    adw_carousel_set_reveal_duration(scrollView_, 0);
    adw_carousel_set_allow_scroll_wheel(scrollView_, TRUE);
    gtk_widget_set_vexpand(carousel, TRUE);
    gtk_widget_set_hexpand(carousel, TRUE);
    stack_.add(*Gtk::manage(Glib::wrap(carousel)), "pages");

    emptyNote_.set_text("No traffic recorded yet");
    emptyNote_.add_css_class("qv-chart-empty");
    stack_.add(emptyNote_, "empty");
    stack_.set_vexpand(true);
    root_.append(stack_);

    GtkWidget* dots = adw_carousel_indicator_dots_new();
    pageControl_ = ADW_CAROUSEL_INDICATOR_DOTS(dots);
    adw_carousel_indicator_dots_set_carousel(pageControl_, scrollView_);
    gtk_widget_add_css_class(dots, "qv-chart-dots");
    root_.append(*Gtk::manage(Glib::wrap(dots)));
    installPaging();

    planChangedRegistration_ = context_.center.addObserver(
        std::string(messages::kMonthPlanSettingWasChanged), [this](const Notification& n) { planChanged(n); });
    initSelfItems();
}

ChartViewContainerViewController::~ChartViewContainerViewController()
{
    planChangedRegistration_.reset();
    normalizeViewCount(0);
    placeYearPage(false);
}

// A tap on the dots goes one page towards the side tapped, as a page control does; the arrow
// keys and Page Up/Down page too, with the carousel focusable so the keyboard can reach it.
void ChartViewContainerViewController::installPaging()
{
    GtkWidget* dots = GTK_WIDGET(pageControl_);
    auto tap = Gtk::GestureClick::create();
    tap->signal_released().connect([this](int, double x, double) {
        if (const int step = pageStepForTap(x); step != 0) {
            changePageAnimated(currentPage() + step);
        }
    });
    gtk_widget_add_controller(dots, GTK_EVENT_CONTROLLER(g_object_ref(tap->gobj())));

    gtk_widget_set_focusable(GTK_WIDGET(scrollView_), TRUE);
    auto keys = Gtk::EventControllerKey::create();
    keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType state) {
            if ((state & (Gdk::ModifierType::CONTROL_MASK | Gdk::ModifierType::ALT_MASK)) != Gdk::ModifierType{}) {
                return false;
            }
            const int step = pageStepForKey(key);
            if (step == 0 || stack_.get_visible_child_name() != "pages") {
                return false;
            }
            changePageAnimated(currentPage() + step);
            return true;
        },
        false);
    root_.add_controller(keys);
}

int ChartViewContainerViewController::pageStepForKey(unsigned key)
{
    switch (key) {
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left:
    case GDK_KEY_Page_Up:
    case GDK_KEY_KP_Page_Up:
        return -1;
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right:
    case GDK_KEY_Page_Down:
    case GDK_KEY_KP_Page_Down:
        return 1;
    default:
        return 0;
    }
}

// -1, 0 or 1: which way a tap at x (in the dots' own space) pages. The dots sit centred, one
// pitch per page; a tap on the shown page's dot, or beyond the first or last page, stays.
int ChartViewContainerViewController::pageStepForTap(double x) const
{
    GtkWidget* dots = GTK_WIDGET(pageControl_);
    const int pages = pageCount();
    int minimum = 0, natural = 0;
    gtk_widget_measure(dots, GTK_ORIENTATION_HORIZONTAL, -1, &minimum, &natural, nullptr, nullptr);
    if (pages < 2 || natural <= 0) {
        return 0;
    }
    const double pitch = static_cast<double>(natural) / pages;
    const int shown = currentPage();
    const double shownDot = (gtk_widget_get_width(dots) - natural) / 2.0 + (shown + 0.5) * pitch;
    if (x < shownDot - pitch / 2) {
        return shown > 0 ? -1 : 0;
    }
    return x > shownDot + pitch / 2 && shown + 1 < pages ? 1 : 0;
}

void ChartViewContainerViewController::changePageAnimated(int page)
{
    if (page < 0 || page >= pageCount()) {
        return;
    }
    adw_carousel_scroll_to(scrollView_, adw_carousel_get_nth_page(scrollView_, static_cast<guint>(page)), TRUE);
}

int ChartViewContainerViewController::pageCount() const
{
    return static_cast<int>(adw_carousel_get_n_pages(scrollView_));
}

void ChartViewContainerViewController::placeYearPage(bool wanted)
{
    if (!wanted && yearPage_ != nullptr) {
        adw_carousel_remove(scrollView_, GTK_WIDGET(yearPage_->gobj()));  // the carousel held the only reference
        yearPage_ = nullptr;
    }
    if (wanted && yearPage_ == nullptr) {
        yearPage_ = Gtk::make_managed<FYearPageWidget>();
        adw_carousel_append(scrollView_, GTK_WIDGET(yearPage_->gobj()));
    }
}

void ChartViewContainerViewController::initSelfItems()
{
    if (shownSummary_) {
        updateInterface(shownSummary_);
        return;
    }
    reinitContentArea(1);
    normalizeViewCount(1);
}

void ChartViewContainerViewController::updateInterface(const SharedSummary& summary)
{
    if (!summary) {
        return;
    }
    shownSummary_ = summary;
    updateControls();
}

void ChartViewContainerViewController::updateControls()
{
    if (!shownSummary_) {
        return;
    }
    const int n = static_cast<int>(shownSummary_->getMonthItemsCount());
    reinitContentArea(n);
    // The month pages change at the carousel's end only: the year page goes first, then returns.
    if (static_cast<int>(viewControllers_.size()) != n) {
        placeYearPage(false);
    }
    normalizeViewCount(n);
    placeYearPage(n > 0 && !shownSummary_->yearTotals().empty());
    for (FChartPageWidget* page : viewControllers_) {
        page->updateInterface(shownSummary_);
    }
    if (yearPage_ != nullptr) {
        yearPage_->updateInterface(shownSummary_);
    }
    // Only a summary that has pages counts as the first one: with none there is nothing to show.
    if (!bInited_ && !viewControllers_.empty()) {
        bInited_ = true;
        changePage(static_cast<int>(viewControllers_.size()) - 1);
    }
}

void ChartViewContainerViewController::reinitContentArea(int n)
{
    const int count = n < 0 ? 1 : n;
    stack_.set_visible_child(count == 0 ? "empty" : "pages");
}

void ChartViewContainerViewController::normalizeViewCount(int n)
{
    const auto wanted = static_cast<std::size_t>(std::max(n, 0));
    while (viewControllers_.size() > wanted) {
        FChartPageWidget* last = viewControllers_.back();
        viewControllers_.pop_back();
        adw_carousel_remove(scrollView_, GTK_WIDGET(last->gobj()));  // the carousel held the only reference
    }
    while (viewControllers_.size() < wanted) {
        auto* page = Gtk::make_managed<FChartPageWidget>(pageIdiom());
        adw_carousel_append(scrollView_, GTK_WIDGET(page->gobj()));
        viewControllers_.push_back(page);
    }
    for (std::size_t i = 0; i < viewControllers_.size(); ++i) {
        viewControllers_[i]->setTag(static_cast<int>(i));
    }
}

void ChartViewContainerViewController::planChanged(const Notification& notification)
{
    if (!notification.number) {
        return;
    }
    shownSummary_ = FTrafficDataInformation::withNewPlan(shownSummary_, *notification.number);
    updateControls();
}

void ChartViewContainerViewController::onResetPrevMonthsInfoHandler(const void*)
{
    // The summary is shared with the other screens: only this page's copy loses the months.
    if (shownSummary_ && shownSummary_->parrTrafficMonthsItems() && !shownSummary_->parrTrafficMonthsItems()->empty()) {
        auto copy = std::make_shared<FTrafficDataInformation>(*shownSummary_);
        copy->setMonths(FTrafficDataInformation::Months{shownSummary_->parrTrafficMonthsItems()->back()});
        copy->setYearTotals({});  // the old months' totals went with them; the next summary brings the year
        shownSummary_ = std::move(copy);
    }
    updateControls();
}

void ChartViewContainerViewController::changePage(int page)
{
    if (page < 0 || page >= static_cast<int>(viewControllers_.size())) {
        return;
    }
    const bool waiting = pendingPage_.has_value();
    pendingPage_ = page;
    if (!applyPendingPage() && !waiting) {
        root_.add_tick_callback([this](const Glib::RefPtr<Gdk::FrameClock>&) { return !applyPendingPage(); });
    }
}

// Jumps, without animation, to the pending page once the carousel has given it its place; true
// when nothing is left to do.
bool ChartViewContainerViewController::applyPendingPage()
{
    if (!pendingPage_ || *pendingPage_ >= static_cast<int>(viewControllers_.size())) {
        pendingPage_.reset();
        return true;
    }
    FChartPageWidget* page = viewControllers_[*pendingPage_];
    if (page->get_width() <= 0) {
        return false;
    }
    adw_carousel_scroll_to(scrollView_, GTK_WIDGET(page->gobj()), FALSE);
    if (currentPage() != *pendingPage_) {
        return false;
    }
    pendingPage_.reset();
    return true;
}

int ChartViewContainerViewController::currentPage() const
{
    return static_cast<int>(std::lround(adw_carousel_get_position(scrollView_)));
}

}  // namespace quorvel
