// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <optional>
#include <vector>

#include <adwaita.h>
#include <gtkmm/box.h>
#include <gtkmm/label.h>
#include <gtkmm/stack.h>

#include "platform/Translation.hpp"
#include "platform/NotificationCenter.hpp"
#include "ui/ScreenContext.hpp"
#include "ui/TabScreen.hpp"
#include "model/SharedSummary.hpp"

namespace quorvel {

class FChartPageWidget;
class FYearPageWidget;

// Tab screen "Chart": one page per billing month, swiped sideways, with dots for the pages, and
// after the current month the year page (the last twelve months' totals). The first summary
// with months shows the current month at once; later summaries
// keep the page the user is on. Before any summary there is one empty page. A tap on the dots,
// the arrow keys and Page Up/Down go to the page before or after.
class ChartViewContainerViewController final : public TabScreen {
public:
    explicit ChartViewContainerViewController(ScreenContext& context);
    ~ChartViewContainerViewController() override;
    ChartViewContainerViewController(const ChartViewContainerViewController&) = delete;
    ChartViewContainerViewController& operator=(const ChartViewContainerViewController&) = delete;

    Gtk::Widget& widget() override { return root_; }
    static constexpr const char* kTitle = N_("Chart");
    std::string title() const override { return kTitle; }
    // A new summary: every page is rebuilt or updated; a null one is ignored.
    void updateInterface(const SharedSummary& summary) override;
    // After previous months were reset: only the current month stays.
    void onResetPrevMonthsInfoHandler(const void* sender) override;

    void updateControls();
    // Prepares room for n pages (a negative count is one page); no page at all shows a note.
    void reinitContentArea(int n);
    // Removes month pages from the end or appends new ones until there are n, and numbers them
    // (with the year page out of the carousel: updateControls places it after them).
    void normalizeViewCount(int n);

    const SharedSummary& shownSummary() const { return shownSummary_; }
    const std::vector<FChartPageWidget*>& viewControllers() const { return viewControllers_; }
    // The year page, in the carousel after the months while a summary has months; else null.
    FYearPageWidget* yearPage() const { return yearPage_; }
    AdwCarousel* scrollView() const { return scrollView_; }
    AdwCarouselIndicatorDots* pageControl() const { return pageControl_; }
    // Whether the note for a summary without months is shown in place of the pages.
    bool showsNoMonthsNote() const { return stack_.get_visible_child_name() == "empty"; }
    // The page shown, rounded to the nearest while a swipe is under way.
    int currentPage() const;
    // -1 for the page before, 1 for the page after, 0 for a key that does not page.
    static int pageStepForKey(unsigned key);
    // Which way a tap on the dots at x (in their own space) pages: -1, 0 or 1.
    int pageStepForTap(double x) const;
    // Slides to that page; out-of-range pages are ignored.
    void changePageAnimated(int page);

private:
    void installPaging();
    void initSelfItems();
    void planChanged(const Notification& notification);
    void changePage(int page);
    bool applyPendingPage();
    // The year page after the month pages while there are any, and none without.
    void placeYearPage(bool wanted);
    int pageCount() const;

    ScreenContext& context_;
    SharedSummary shownSummary_;
    Gtk::Box root_;
    Gtk::Stack stack_;
    Gtk::Label emptyNote_;
    AdwCarousel* scrollView_ = nullptr;             // owned by the stack
    AdwCarouselIndicatorDots* pageControl_ = nullptr;  // owned by root_
    std::vector<FChartPageWidget*> viewControllers_;   // owned by the carousel
    FYearPageWidget* yearPage_ = nullptr;              // owned by the carousel
    bool bInited_ = false;
    // A page to show once the carousel has placed it: before that it cannot scroll to a new page.
    std::optional<int> pendingPage_;
    NotificationCenter::Registration planChangedRegistration_;
};

}  // namespace quorvel
