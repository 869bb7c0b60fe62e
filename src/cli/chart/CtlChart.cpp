// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/chart/CtlChart.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <stdexcept>

#include "charts/FChartViewController.hpp"
#include "charts/FYearChartViewController.hpp"
#include "cli/CtlProblem.hpp"
#include "model/BillingPeriod.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "platform/Clock.hpp"
#include "platform/Translation.hpp"
#include "plot/cairo/CPTCairoRenderer.hpp"
#include "plot/cairo/CPTPangoTextMetrics.hpp"

namespace quorvel {

namespace {

template <class T>
std::optional<T> number(std::string_view text)
{
    T value{};
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// `message` is a translated text whose "%s" takes the refused value.
bool refuse(std::ostream& err, const char* message, const std::string& value)
{
    CtlProblem::say(err, Translation::fill(message, {value}));
    return false;
}

// The summary of a state that has no billing month yet, given the current billing month without
// any day, so that its page shows the period it is about.
std::shared_ptr<FTrafficDataInformation> withCurrentMonth(const FTrafficDataInformation& summary)
{
    Date first{};
    Date last{};
    int days = 0;
    if (const std::optional<PlanFacts>& facts = summary.planFacts()) {
        // The period the summary's figures belong to, whatever the plan's shape.
        first = facts->periodFirst.noon();
        last = facts->periodLast.noon();
        days = static_cast<int>(facts->periodFirst.daysUntil(facts->periodLast) + 1);
    } else {
        const int s = static_cast<int>(std::clamp<std::uint64_t>(summary.pBillStartDay().value_or(1), 1, 31));
        const Date today = SystemClock().now();
        first = BillingPeriod::getFirstBillingDayForDate(today, s);
        last = BillingPeriod::getLastBillingDayForStartDay(first, s);
        days = BillingPeriod::getDayCountInBillingMonth(today, first, s);
    }
    auto month = std::make_shared<MonthTraffic>(first, summary.pDataPlan());
    month->setLastDate(last);
    month->setDaysCount(days);
    auto shown = std::make_shared<FTrafficDataInformation>(summary);
    shown->setMonths(FTrafficDataInformation::Months{std::move(month)});
    return shown;
}

}  // namespace

bool CtlChart::parse(const CtlArguments& a, std::ostream& err)
{
    const char* idiomEnv = std::getenv("QUORVEL_IDIOM");
    const std::string idiom = a.value("--idiom").value_or(idiomEnv != nullptr ? idiomEnv : "phone");
    if (idiom != "phone" && idiom != "tablet") {
        return refuse(err, _("invalid idiom '%s'"), idiom);
    }
    tablet_ = idiom == "tablet";
    year_ = a.has("--year");
    if (tablet_) {
        width_ = 1024;
        height_ = 700;
    }
    if (auto m = a.value("--month")) {
        month_ = number<long>(*m);
        if (!month_ || *month_ < 0) {
            return refuse(err, _("invalid month index '%s'"), *m);
        }
    }
    const std::string graph = a.value("--graph").value_or("both");
    if (graph != "both" && graph != "cumulative" && graph != "daily") {
        return refuse(err, _("invalid graph '%s'"), graph);
    }
    cumulative_ = graph != "daily";
    daily_ = graph != "cumulative";
    if (auto size = a.value("--size")) {
        const auto x = size->find('x');
        const auto w = x == std::string::npos ? std::nullopt : number<double>(std::string_view(*size).substr(0, x));
        const auto h = x == std::string::npos ? std::nullopt : number<double>(std::string_view(*size).substr(x + 1));
        if (!w || !h || !std::isfinite(*w) || !std::isfinite(*h) || *w < 100 || *h < 100 || *w > 10000 ||
            *h > 10000) {
            return refuse(err, _("invalid size '%s'"), *size);
        }
        width_ = *w;
        height_ = *h;
    }
    if (auto s = a.value("--scale")) {
        const auto v = number<double>(*s);
        if (!v || !std::isfinite(*v) || *v <= 0 || *v > 8) {
            return refuse(err, _("invalid scale '%s'"), *s);
        }
        scale_ = *v;
    }
    output_ = *a.value("--output");
    const auto dot = output_.find_last_of('.');
    const std::string ext = dot == std::string::npos ? "" : output_.substr(dot + 1);
    if (ext != "png" && ext != "svg" && ext != "pdf") {
        return refuse(err, _("invalid output file (use .png, .svg or .pdf) '%s'"), output_);
    }
    if (ext == "png") {
        const double columns = std::ceil(width_ * scale_);
        const double rows = std::ceil(height_ * scale_);
        if (columns * rows > kMaxPixels || columns > kMaxSide || rows > kMaxSide) {
            const auto whole = [](double v) { return std::to_string(static_cast<long long>(v)); };
            CtlProblem::say(err, Translation::fill(_("a %s x %s pixel image is too large: at most %s pixels and %s on "
                                                     "a side (lower --size or --scale)"),
                                                   {whole(columns), whole(rows), whole(kMaxPixels), whole(kMaxSide)}));
            return false;
        }
    }
    return true;
}

int CtlChart::render(const SharedSummary& summary, std::ostream& out,
                     std::ostream& err) const
{
    if (year_) {
        return renderYear(summary, out, err);
    }
    // Titles are placed from text measured as it will be drawn, at the image's scale.
    prepareTextScale();
    FChartViewController page(tablet_ ? FChartViewController::Idiom::Tablet : FChartViewController::Idiom::Phone,
                              CPTPangoTextMetrics::instance());
    if (summary) {
        const SharedSummary shown =
            summary->getMonthItemsCount() == 0 && month_.value_or(0) == 0 ? withCurrentMonth(*summary) : summary;
        const auto count = static_cast<long>(shown->getMonthItemsCount());
        const long index = month_.value_or(count - 1);
        if (index < 0 || index >= count) {
            CtlProblem::say(err, Translation::fill(_("there is no billing month %s (the stored months give %s)"),
                                                   {std::to_string(index), std::to_string(count)}));
            return 1;
        }
        page.tag = static_cast<int>(index);
        page.updateInterface(shown);
    } else {
        page.updateControls();  // the empty page with its first scales
    }
    std::vector<CPTCairoRenderer::PlacedHost> hosts;
    if (cumulative_ && daily_) {
        page.layoutInPage(width_, height_);
        hosts = {{&page.pchartView, 0, 0}, {&page.pbarView, 0, page.pbarView.frame().origin.y}};
    } else {
        CPTGraphHostingView& only = cumulative_ ? page.pchartView : page.pbarView;
        only.setFrame(CPTRect::make(0, 0, width_, height_));
        page.fitTitles();
        hosts = {{&only, 0, 0}};
    }
    return write(hosts, out, err);
}

void CtlChart::prepareTextScale() const
{
    if (output_.ends_with(".png")) {  // vector files are drawn at their own scale
        CPTPangoTextMetrics::prepareForImageScale(scale_);
    }
}

int CtlChart::renderYear(const SharedSummary& summary, std::ostream& out, std::ostream& err) const
{
    prepareTextScale();
    FYearChartViewController page(CPTPangoTextMetrics::instance());
    page.updateInterface(summary);  // before the set-up: the empty page
    page.layoutInPage(width_, height_);
    return write({{&page.view, 0, 0}}, out, err);
}

int CtlChart::write(const std::vector<CPTCairoRenderer::PlacedHost>& hosts, std::ostream& out, std::ostream& err) const
{
    try {
        CPTCairoRenderer::writeHostsToFile(hosts, output_, width_, height_, scale_);
    } catch (const std::exception& e) {
        CtlProblem::say(err, e.what());
        return 1;
    }
    out << Translation::fill(_("Wrote %s"), {output_}) << "\n";
    return 0;
}

}  // namespace quorvel
