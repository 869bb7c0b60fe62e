// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTAxis.hpp"

#include "plot/CPTAxisDelegate.hpp"
#include "plot/CPTAxisLabel.hpp"
#include "plot/CPTAxisLabelGroup.hpp"
#include "plot/CPTAxisTitle.hpp"
#include "plot/CPTMutablePlotRange.hpp"
#include "plot/CPTPlotArea.hpp"
#include "plot/CPTPlotSpace.hpp"
#include "plot/CPTSetIfChanged.hpp"
#include "plot/CPTTextLayer.hpp"
#include "plot/CPTTextMetrics.hpp"
#include "plot/CPTTickLocations.hpp"

#include <algorithm>
#include <cmath>

namespace quorvel {

CPTAxis::CPTAxis(const CPTRect& frame)
    : CPTLayer(frame),
      labelFormatter_([](const Decimal& value) { return value.toFixedString(1); }),
      titleRotation_(std::nan(""))
{
    setNeedsDisplayOnBoundsChange(true);
}

CPTAxis::~CPTAxis() = default;

void CPTAxis::setCoordinate(CPTCoordinate coordinate)
{
    if (CPTSetIfChanged(coordinate_, coordinate)) {
        setNeedsRelabel();
        setNeedsDisplay();
    }
}

void CPTAxis::setPlotSpace(std::shared_ptr<CPTPlotSpace> space)
{
    if (CPTSetIfChanged(plotSpace_, std::move(space))) {
        setNeedsRelabel();
        setNeedsDisplay();
    }
}

void CPTAxis::setLabelingPolicy(CPTAxisLabelingPolicy policy)
{
    if (CPTSetIfChanged(labelingPolicy_, policy)) {
        setNeedsRelabel();
        setNeedsDisplay();
    }
}

void CPTAxis::setMajorIntervalLength(const Decimal& length)
{
    if (CPTSetIfChanged(majorIntervalLength_, length)) {
        setNeedsRelabel();
    }
}

void CPTAxis::setMinorTicksPerInterval(unsigned count)
{
    if (CPTSetIfChanged(minorTicksPerInterval_, count)) {
        setNeedsRelabel();
    }
}

void CPTAxis::setLabelingOrigin(const Decimal& origin)
{
    if (CPTSetIfChanged(labelingOrigin_, origin)) {
        setNeedsRelabel();
    }
}

void CPTAxis::setTickDirection(CPTSign direction)
{
    if (CPTSetIfChanged(tickDirection_, direction)) {
        setNeedsRelabel();
        setNeedsDisplay();
    }
}

void CPTAxis::setMajorTickLength(double length)
{
    if (CPTSetIfChanged(majorTickLength_, length)) {
        setNeedsDisplay();
    }
}

void CPTAxis::setMinorTickLength(double length)
{
    if (CPTSetIfChanged(minorTickLength_, length)) {
        setNeedsDisplay();
    }
}

void CPTAxis::setAxisLineStyle(std::optional<CPTLineStyle> style)
{
    if (CPTSetIfChanged(axisLineStyle_, std::move(style))) {
        setNeedsDisplay();
    }
}

void CPTAxis::setMajorTickLineStyle(std::optional<CPTLineStyle> style)
{
    if (CPTSetIfChanged(majorTickLineStyle_, std::move(style))) {
        setNeedsDisplay();
    }
}

void CPTAxis::setMinorTickLineStyle(std::optional<CPTLineStyle> style)
{
    if (CPTSetIfChanged(minorTickLineStyle_, std::move(style))) {
        setNeedsDisplay();
    }
}

void CPTAxis::setMajorGridLineStyle(std::optional<CPTLineStyle> style)
{
    if (CPTSetIfChanged(majorGridLineStyle_, std::move(style))) {
        if (plotArea_ != nullptr) {
            plotArea_->updateAxisSetLayers();
        }
        setNeedsDisplay();
    }
}

void CPTAxis::setMinorGridLineStyle(std::optional<CPTLineStyle> style)
{
    if (CPTSetIfChanged(minorGridLineStyle_, std::move(style))) {
        if (plotArea_ != nullptr) {
            plotArea_->updateAxisSetLayers();
        }
        setNeedsDisplay();
    }
}

void CPTAxis::setLabelTextStyle(std::optional<CPTTextStyle> style)
{
    if (style == labelTextStyle_) {
        return;
    }
    labelTextStyle_ = std::move(style);
    if (labelTextStyle_) {
        for (auto& label : axisLabels_) {
            if (auto* text = dynamic_cast<CPTTextLayer*>(label->contentLayer())) {
                text->setTextStyle(*labelTextStyle_);
            }
        }
    }
    setNeedsLayout();
}

void CPTAxis::setMinorTickLabelTextStyle(std::optional<CPTTextStyle> style)
{
    if (CPTSetIfChanged(minorTickLabelTextStyle_, std::move(style))) {
        setNeedsRelabel();
    }
}

void CPTAxis::setLabelFormatter(LabelFormatter formatter)
{
    labelFormatter_ = std::move(formatter);
    labelFormatterChanged_ = true;
    setNeedsRelabel();
}

void CPTAxis::setMinorTickLabelFormatter(LabelFormatter formatter)
{
    minorTickLabelFormatter_ = std::move(formatter);
    setNeedsRelabel();
}

void CPTAxis::setLabelOffset(double offset)
{
    if (offset == labelOffset_) {
        return;
    }
    labelOffset_ = offset;
    for (auto& label : axisLabels_) {
        label->setOffset(offset);
    }
    positionLabels(axisLabels_, false);
}

void CPTAxis::setMinorTickLabelOffset(double offset)
{
    if (CPTSetIfChanged(minorTickLabelOffset_, offset)) {
        setNeedsLayout();
    }
}

void CPTAxis::setLabelRotation(double radians)
{
    if (CPTSetIfChanged(labelRotation_, radians)) {
        for (auto& label : axisLabels_) {
            label->setRotation(radians);
        }
        setNeedsLayout();
    }
}

void CPTAxis::setLabelAlignment(CPTAlignment alignment)
{
    if (CPTSetIfChanged(labelAlignment_, alignment)) {
        setNeedsRelabel();
    }
}

void CPTAxis::setLabelExclusionRanges(std::vector<CPTPlotRange> ranges)
{
    if (CPTSetIfChanged(labelExclusionRanges_, std::move(ranges))) {
        setNeedsRelabel();
    }
}

void CPTAxis::setVisibleRange(std::optional<CPTPlotRange> range)
{
    if (CPTSetIfChanged(visibleRange_, std::move(range))) {
        setNeedsRelabel();
        setNeedsDisplay();
    }
}

void CPTAxis::setTitle(std::optional<std::string> title)
{
    if (title == title_) {
        return;
    }
    title_ = std::move(title);
    if (!title_) {
        axisTitle_.reset();
    } else if (axisTitle_) {
        static_cast<CPTTextLayer*>(axisTitle_->contentLayer())->setText(*title_);
    }
    setNeedsLayout();
}

void CPTAxis::setTitleTextStyle(std::optional<CPTTextStyle> style)
{
    if (style == titleTextStyle_) {
        return;
    }
    titleTextStyle_ = std::move(style);
    if (axisTitle_ && titleTextStyle_) {
        static_cast<CPTTextLayer*>(axisTitle_->contentLayer())->setTextStyle(*titleTextStyle_);
    }
    setNeedsLayout();
}

void CPTAxis::setTitleOffset(double offset)
{
    if (CPTSetIfChanged(titleOffset_, offset)) {
        if (axisTitle_) {
            axisTitle_->setOffset(offset);
        }
        positionTitle();
    }
}

void CPTAxis::setTitleRotation(double radians)
{
    if (radians != titleRotation_ && !(std::isnan(radians) && std::isnan(titleRotation_))) {
        titleRotation_ = radians;
        if (axisTitle_) {
            axisTitle_->setRotation(radians);
        }
        positionTitle();
    }
}

Decimal CPTAxis::titleLocation() const
{
    if (!titleLocation_.isNaN()) {
        return titleLocation_;
    }
    const auto range = plotSpace_ ? plotSpace_->plotRangeForCoordinate(coordinate_) : std::nullopt;
    if (!range) {
        return Decimal();
    }
    if (plotSpace_->scaleTypeForCoordinate(coordinate_) == CPTScaleType::Log && range->locationDouble() > 0.0 &&
        range->endDouble() >= 0.0) {
        const double logMiddle = (std::log10(range->locationDouble()) + std::log10(range->endDouble())) / 2.0;
        return Decimal::fromDouble(std::pow(10.0, logMiddle));
    }
    return range->midPoint();
}

void CPTAxis::setTitleLocation(const Decimal& location)
{
    if (!(location == titleLocation_)) {
        titleLocation_ = location;
        setNeedsLayout();
    }
}

CPTAxisTitle* CPTAxis::axisTitle()
{
    if (!axisTitle_ && title_) {
        axisTitle_ = std::make_unique<CPTAxisTitle>(*title_, titleTextStyle_.value_or(CPTTextStyle::textStyle()));
        axisTitle_->setRotation(titleRotation_);
        axisTitle_->setOffset(titleOffset_);
        installTitleLayer();
    }
    return axisTitle_.get();
}

void CPTAxis::setMajorTickLocations(std::set<Decimal> locations)
{
    majorTickLocations_ = std::move(locations);
    ++tickVersion_;
    fixedTickInputs_.reset();
    setNeedsRelabel();
}

void CPTAxis::setMinorTickLocations(std::set<Decimal> locations)
{
    minorTickLocations_ = std::move(locations);
    ++tickVersion_;
    fixedTickInputs_.reset();
    setNeedsRelabel();
}

void CPTAxis::setAxisLabels(Labels labels)
{
    Labels old = std::move(axisLabels_);  // destroyed on return: their layers leave the group
    // A new label showing what the old one at its tick showed takes over the old, drawn layer.
    const auto textOf = [](const auto& l) {
        return l ? dynamic_cast<const CPTTextLayer*>(l->contentLayer()) : nullptr;
    };
    // A new label is not in the graph yet, so it was measured with the fixed metrics; the shown
    // one with the graph's. Its size is compared as the graph measures it.
    const CPTTextMetrics& metrics = textMetrics();
    for (auto& label : labels) {
        const auto same = std::find_if(old.begin(), old.end(), [&](const auto& previous) {
            const CPTTextLayer* shown = textOf(previous);
            const CPTTextLayer* text = textOf(label);
            return shown != nullptr && text != nullptr && previous->tickLocation() == label->tickLocation() &&
                   shown->text() == text->text() && shown->textStyle() == text->textStyle() &&
                   shown->bounds().size == CPTTextLayer::sizeThatFits(metrics, text->text(), text->textStyle());
        });
        if (same != old.end()) {
            label->exchangeContentLayer(**same);
        }
    }
    axisLabels_ = std::move(labels);
    installLabelLayers(axisLabels_);
    setNeedsLayout();
}

void CPTAxis::installLabelLayers(const Labels& labels)
{
    if (plotArea_ == nullptr || labels.empty()) {
        return;
    }
    CPTAxisLabelGroup* group = plotArea_->ensureAxisLabelGroup();
    for (const auto& label : labels) {
        CPTLayer* layer = label->contentLayer();
        if (layer != nullptr && layer->superlayer() != group) {
            group->addSublayer(layer);
        }
    }
}

void CPTAxis::installTitleLayer()
{
    if (plotArea_ == nullptr || !axisTitle_ || axisTitle_->contentLayer() == nullptr) {
        return;
    }
    CPTAxisLabelGroup* group = plotArea_->ensureAxisTitleGroup();
    if (axisTitle_->contentLayer()->superlayer() != group) {
        group->addSublayer(axisTitle_->contentLayer());
    }
}

void CPTAxis::setPlotArea(CPTPlotArea* plotArea)
{
    if (plotArea == plotArea_) {
        return;
    }
    for (const Labels* labels : {&axisLabels_, &minorTickAxisLabels_}) {
        for (const auto& label : *labels) {
            if (label->contentLayer() != nullptr) {
                label->contentLayer()->removeFromSuperlayer();
            }
        }
    }
    if (axisTitle_ && axisTitle_->contentLayer() != nullptr) {
        axisTitle_->contentLayer()->removeFromSuperlayer();
    }
    plotArea_ = plotArea;
    installLabelLayers(axisLabels_);
    installLabelLayers(minorTickAxisLabels_);
    installTitleLayer();
    setNeedsRelabel();
    setNeedsDisplay();
}

void CPTAxis::setNeedsRelabel()
{
    // Layout relabels, and redraws the axis only if the ticks or their mapping moved.
    needsRelabel_ = true;
    setNeedsLayout();
}

CPTAxis::DrawnGeometry CPTAxis::currentGeometry() const
{
    using enum CPTCoordinate;
    return {tickVersion_,
            plotSpace_ ? plotSpace_->plotRangeForCoordinate(X) : std::nullopt,
            plotSpace_ ? plotSpace_->plotRangeForCoordinate(Y) : std::nullopt,
            plotSpace_ ? plotSpace_->scaleTypeForCoordinate(X) : CPTScaleType::Linear,
            plotSpace_ ? plotSpace_->scaleTypeForCoordinate(Y) : CPTScaleType::Linear,
            plotArea_ ? CPTRect{plotArea_->convertPointToLayer(plotArea_->bounds().origin, this),
                                plotArea_->bounds().size}
                      : CPTRect{}};
}

CPTCoordinate CPTAxis::orthogonalCoordinate() const
{
    return coordinate_ == CPTCoordinate::X ? CPTCoordinate::Y : CPTCoordinate::X;
}

std::optional<CPTPlotRange> CPTAxis::visibleAxisRange() const
{
    if (!plotSpace_) {
        return std::nullopt;
    }
    auto range = plotSpace_->plotRangeForCoordinate(coordinate_);
    if (range && visibleRange_) {
        CPTMutablePlotRange limited(*range);
        limited.intersectionPlotRange(&*visibleRange_);
        return CPTPlotRange(limited);
    }
    return range;
}

void CPTAxis::relabel()
{
    if (!plotSpace_) {
        return;
    }
    if (delegate_ != nullptr && !delegate_->axisShouldRelabel(*this)) {
        needsRelabel_ = false;
        return;
    }
    const auto range = visibleAxisRange();
    switch (labelingPolicy_) {
    case CPTAxisLabelingPolicy::FixedInterval: {
        // Relabelling without a change of what places the ticks keeps them (decimal work saved).
        TickInputs inputs{range, majorIntervalLength_, labelingOrigin_, minorTicksPerInterval_, labelExclusionRanges_};
        if (!(fixedTickInputs_ == inputs)) {
            CPTTickLocations ticks = CPTTickLocations::fixedInterval(range, majorIntervalLength_, labelingOrigin_,
                                                                     minorTicksPerInterval_);
            ticks.exclude(labelExclusionRanges_);
            majorTickLocations_ = std::move(ticks.major);
            minorTickLocations_ = std::move(ticks.minor);
            ++tickVersion_;
            fixedTickInputs_ = std::move(inputs);
        }
        updateAxisLabelsAtLocations(majorTickLocations_, std::nullopt, true);
        updateAxisLabelsAtLocations(minorTickLocations_, std::nullopt, false);
        break;
    }
    case CPTAxisLabelingPolicy::LocationsProvided:
        updateAxisLabelsAtLocations(majorTickLocations_, range, true);
        updateAxisLabelsAtLocations(minorTickLocations_, range, false);
        break;
    case CPTAxisLabelingPolicy::None:
        positionLabels(axisLabels_, true);
        positionLabels(minorTickAxisLabels_, true);
        break;
    }
    needsRelabel_ = false;
    if (delegate_ != nullptr) {
        delegate_->axisDidRelabel(*this);
    }
}

void CPTAxis::updateAxisLabelsAtLocations(const std::set<Decimal>& locations,
                                          const std::optional<CPTPlotRange>& range, bool major)
{
    if (delegate_ != nullptr) {
        const bool proceed = major ? delegate_->axisShouldUpdateAxisLabelsAtLocations(*this, locations)
                                   : delegate_->axisShouldUpdateMinorAxisLabelsAtLocations(*this, locations);
        if (!proceed) {
            return;  // the delegate made the labels itself
        }
    }
    makeLabels(locations, range, major);
}

void CPTAxis::makeLabels(const std::set<Decimal>& locations, const std::optional<CPTPlotRange>& range, bool major)
{
    const auto& style = major ? labelTextStyle_ : minorTickLabelTextStyle_;
    const auto& formatter = major ? labelFormatter_ : minorTickLabelFormatter_;
    Labels& current = major ? axisLabels_ : minorTickAxisLabels_;
    Labels made;
    if (!locations.empty() && style && formatter) {
        const double tickLength = major ? majorTickLength_ : minorTickLength_;
        const double offset = (major ? labelOffset_ : minorTickLabelOffset_) +
                              (tickDirection_ == CPTSign::None ? tickLength / 2.0 : tickLength);
        for (const Decimal& location : locations) {
            if (range && !range->contains(location)) {
                continue;
            }
            auto reused = std::find_if(current.begin(), current.end(), [&location](const auto& label) {
                return label && label->tickLocation() == location;
            });
            std::unique_ptr<CPTAxisLabel> label;
            if (reused != current.end()) {
                label = std::move(*reused);
                if (labelFormatterChanged_) {
                    if (auto* text = dynamic_cast<CPTTextLayer*>(label->contentLayer())) {
                        text->setText(formatter(location));
                        text->setTextStyle(*style);
                    }
                }
            } else {
                label = std::make_unique<CPTAxisLabel>(formatter(location), *style);
            }
            label->setRotation(major ? labelRotation_ : 0.0);
            label->setOffset(offset);
            label->setAlignment(major ? labelAlignment_ : CPTAlignment::Center);
            label->setTickLocation(location);
            made.push_back(std::move(label));
        }
    }
    if (major) {
        labelFormatterChanged_ = false;
        setAxisLabels(std::move(made));
    } else {
        Labels old = std::move(minorTickAxisLabels_);
        minorTickAxisLabels_ = std::move(made);
        installLabelLayers(minorTickAxisLabels_);
        setNeedsLayout();
    }
}

void CPTAxis::positionLabels(Labels& labels, bool hideOutsideRange)
{
    const auto range = visibleAxisRange();
    for (auto& label : labels) {
        CPTLayer* layer = label->contentLayer();
        if (layer == nullptr) {
            continue;
        }
        if (hideOutsideRange) {
            layer->setHidden(!range || !range->contains(label->tickLocation()));
        }
        const CPTPoint point = convertPointToLayer(viewPointForCoordinateDecimalNumber(label->tickLocation()),
                                                   layer->superlayer());
        label->positionRelativeToViewPoint(point, orthogonalCoordinate(), tickDirection_);
    }
}

void CPTAxis::positionTitle()
{
    CPTAxisTitle* title = axisTitle();
    if (title == nullptr || title->contentLayer() == nullptr) {
        return;
    }
    installTitleLayer();
    const CPTPoint point = convertPointToLayer(viewPointForCoordinateDecimalNumber(titleLocation()),
                                               title->contentLayer()->superlayer());
    title->positionRelativeToViewPoint(point, orthogonalCoordinate(), tickDirection_);
}

void CPTAxis::layoutSublayers()
{
    CPTLayer::layoutSublayers();
    if (needsRelabel_) {
        relabel();
    }
    positionLabels(axisLabels_, false);
    positionLabels(minorTickAxisLabels_, false);
    positionTitle();
    // The line and ticks follow the tick locations, the plot space's mapping and the plot area.
    DrawnGeometry geometry = currentGeometry();
    if (!(geometry == drawnGeometry_)) {
        drawnGeometry_ = std::move(geometry);
        setNeedsDisplay();
        if (plotArea_ != nullptr) {
            plotArea_->setGridLinesNeedDisplay();
        }
    }
}

}  // namespace quorvel
