// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTGridLineGroup.hpp"

#include "plot/CPTAxis.hpp"
#include "plot/CPTAxisSet.hpp"
#include "plot/CPTPlotArea.hpp"

namespace quorvel {

CPTGridLineGroup::CPTGridLineGroup(CPTPlotArea* plotArea, bool major) : plotArea_(plotArea), major_(major)
{
    setNeedsDisplayOnBoundsChange(true);
}

void CPTGridLineGroup::renderAsVectorInContext(CPTContext& context)
{
    if (isHidden() || plotArea_ == nullptr || plotArea_->axisSet() == nullptr) {
        return;
    }
    for (CPTAxis* axis : plotArea_->axisSet()->axes()) {
        axis->drawGridLinesInContext(context, major_, this);
    }
}

}  // namespace quorvel
