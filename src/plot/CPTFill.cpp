#include "plot/CPTFill.hpp"

#include "plot/CPTContext.hpp"

namespace quorvel {

void CPTFill::fillRect(const CPTRect& rect, CPTContext& context) const
{
    if (const auto* gradient = this->gradient()) {
        gradient->fillRect(rect, context);
        return;
    }
    context.saveGState();
    context.setFillColor(*color());
    context.beginPath();
    context.addRect(rect);
    context.fillPath();
    context.restoreGState();
}

void CPTFill::fillPathInContext(CPTContext& context) const
{
    if (const auto* gradient = this->gradient()) {
        gradient->fillPathInContext(context);
        return;
    }
    context.saveGState();
    context.setFillColor(*color());
    context.fillPath();
    context.restoreGState();
}

}  // namespace quorvel
