// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTRecordingContext.hpp"

#include "plot/CPTAssertionFailure.hpp"
#include "plot/CPTBackingStore.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvel {

namespace {

using Element = CPTRecordedOperation::PathElement;

Element element(Element::Kind kind, std::vector<CPTPoint> points = {})
{
    Element e;
    e.kind = kind;
    e.points = std::move(points);
    return e;
}

// Backing store of the recording context: another recording context, kept per layer.
class RecordingBackingStore : public CPTBackingStore {
public:
    RecordingBackingStore(const CPTRect& bounds, double scale, bool opaque, Space space)
        : bounds_(bounds), scale_(scale), opaque_(opaque), space_(space)
    {
        clear();
    }
    CPTContext& context() override { return *context_; }
    const CPTRect& bounds() const override { return bounds_; }
    double scale() const override { return scale_; }
    bool isOpaque() const override { return opaque_; }
    Space space() const override { return space_; }
    // Recorded geometry stays in the bounds' own space, whichever way its y runs.
    void clear() override
    {
        const auto toImage = CPTAffineTransform::scaling(scale_, scale_).after(
            CPTAffineTransform::translation(-bounds_.origin.x, -bounds_.origin.y));
        context_ = std::make_unique<CPTRecordingContext>(toImage);
    }

private:
    CPTRect bounds_;
    double scale_;
    bool opaque_;
    Space space_;
    std::unique_ptr<CPTRecordingContext> context_;
};

}  // namespace

CPTRecordingContext::CPTRecordingContext(const CPTAffineTransform& baseTransform)
{
    state_.transform = baseTransform;
}

std::vector<CPTRecordedOperation> CPTRecordingContext::operations(CPTRecordedOperation::Kind kind) const
{
    std::vector<CPTRecordedOperation> selected;
    std::copy_if(operations_.begin(), operations_.end(), std::back_inserter(selected),
                 [kind](const CPTRecordedOperation& op) { return op.kind == kind; });
    return selected;
}

std::vector<std::string> CPTRecordingContext::texts() const
{
    std::vector<std::string> result;
    for (const auto& op : operations(CPTRecordedOperation::Kind::Text)) {
        result.push_back(op.text);
    }
    return result;
}

void CPTRecordingContext::saveGState()
{
    stack_.push_back(state_);
}

void CPTRecordingContext::restoreGState()
{
    CPTAssertionFailure::check(!stack_.empty(), "restoreGState without a matching saveGState", "CPTRecordingContext");
    state_ = stack_.back();
    stack_.pop_back();
}

void CPTRecordingContext::concatCTM(const CPTAffineTransform& transform)
{
    state_.transform = state_.transform.after(transform);
}

void CPTRecordingContext::beginPath()
{
    path_.clear();
    hasCurrentPoint_ = false;
}

void CPTRecordingContext::addElement(Element added)
{
    path_.push_back(std::move(added));
}

void CPTRecordingContext::moveTo(const CPTPoint& point)
{
    addElement(element(Element::Kind::Move, {point}));
    hasCurrentPoint_ = true;
}

void CPTRecordingContext::lineTo(const CPTPoint& point)
{
    addElement(element(hasCurrentPoint_ ? Element::Kind::Line : Element::Kind::Move, {point}));
    hasCurrentPoint_ = true;
}

void CPTRecordingContext::curveTo(const CPTPoint& control1, const CPTPoint& control2, const CPTPoint& end)
{
    addElement(element(Element::Kind::Curve, {control1, control2, end}));
    hasCurrentPoint_ = true;
}

void CPTRecordingContext::addArc(const CPTPoint& centre, double radius, double startAngle, double endAngle,
                                 bool clockwise)
{
    Element added = element(Element::Kind::Arc, {centre});
    added.radius = radius;
    added.startAngle = startAngle;
    added.endAngle = endAngle;
    added.clockwise = clockwise;
    addElement(added);
    hasCurrentPoint_ = true;
}

void CPTRecordingContext::closePath()
{
    addElement(element(Element::Kind::Close, {}));
}

void CPTRecordingContext::addRect(const CPTRect& rect)
{
    Element added = element(Element::Kind::Rect, {});
    added.rect = rect;
    addElement(added);
    hasCurrentPoint_ = false;
}

void CPTRecordingContext::addEllipseInRect(const CPTRect& rect)
{
    Element added = element(Element::Kind::Ellipse, {});
    added.rect = rect;
    addElement(added);
    hasCurrentPoint_ = false;
}

CPTRect CPTRecordingContext::pathBoundingBox() const
{
    double minX = std::numeric_limits<double>::infinity();
    double minY = minX;
    double maxX = -minX;
    double maxY = -minX;
    const auto include = [&](const CPTPoint& p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    };
    for (const auto& element : path_) {
        if (element.kind == Element::Kind::Rect || element.kind == Element::Kind::Ellipse) {
            include({element.rect.minX(), element.rect.minY()});
            include({element.rect.maxX(), element.rect.maxY()});
        } else if (element.kind == Element::Kind::Arc) {
            const CPTPoint c = element.points[0];
            include({c.x - element.radius, c.y - element.radius});
            include({c.x + element.radius, c.y + element.radius});
        } else {
            std::for_each(element.points.begin(), element.points.end(), include);
        }
    }
    if (minX > maxX) {
        return {};
    }
    return CPTRect::make(minX, minY, maxX - minX, maxY - minY);
}

CPTRecordedOperation CPTRecordingContext::begin(CPTRecordedOperation::Kind kind) const
{
    CPTRecordedOperation op;
    op.kind = kind;
    op.transform = state_.transform;
    op.path = path_;
    return op;
}

void CPTRecordingContext::fillPath(bool evenOdd)
{
    auto op = begin(CPTRecordedOperation::Kind::Fill);
    op.evenOdd = evenOdd;
    op.color = state_.fillColor;
    operations_.push_back(std::move(op));
    beginPath();
}

void CPTRecordingContext::strokePath()
{
    auto op = begin(CPTRecordedOperation::Kind::Stroke);
    op.color = state_.strokeColor;
    op.lineWidth = state_.lineWidth;
    op.lineCap = state_.lineCap;
    op.lineJoin = state_.lineJoin;
    op.miterLimit = state_.miterLimit;
    op.dashLengths = state_.dash;
    operations_.push_back(std::move(op));
    beginPath();
}

void CPTRecordingContext::clip(bool evenOdd)
{
    auto op = begin(CPTRecordedOperation::Kind::Clip);
    op.evenOdd = evenOdd;
    operations_.push_back(std::move(op));
    beginPath();
}

void CPTRecordingContext::clipToRect(const CPTRect& rect)
{
    auto op = begin(CPTRecordedOperation::Kind::Clip);
    op.path.clear();
    op.rect = rect;
    operations_.push_back(std::move(op));
}

void CPTRecordingContext::drawLinearGradient(const CPTGradient& gradient, const CPTPoint& start, const CPTPoint& end)
{
    auto op = begin(CPTRecordedOperation::Kind::Gradient);
    op.path.clear();
    op.gradient = gradient;
    op.start = start;
    op.end = end;
    operations_.push_back(std::move(op));
}

void CPTRecordingContext::drawText(const std::string& text, const CPTRect& box, const CPTTextStyle& style)
{
    auto op = begin(CPTRecordedOperation::Kind::Text);
    op.path.clear();
    op.text = text;
    op.rect = box;
    op.textStyle = style;
    op.color = style.color().value_or(CPTColor::clearColor());
    operations_.push_back(std::move(op));
}

std::unique_ptr<CPTBackingStore> CPTRecordingContext::newBackingStore(const CPTRect& bounds, double scale, bool opaque,
                                                                      CPTBackingStore::Space space)
{
    return std::make_unique<RecordingBackingStore>(bounds, scale, opaque, space);
}

void CPTRecordingContext::drawBackingStore(const CPTBackingStore& store, const CPTRect& bounds)
{
    auto op = begin(CPTRecordedOperation::Kind::Image);
    op.path.clear();
    op.rect = bounds;
    op.image = &store;
    operations_.push_back(std::move(op));
}

}  // namespace quorvel
