// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/PPAnnotation.hpp"

#include "locations/PinPicture.hpp"
#include "model/DateDay.hpp"
#include "model/FileSize.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

std::unique_ptr<PPAnnotation> PPAnnotation::forDelta(const std::shared_ptr<DeltaTrafficItem>& delta)
{
    const std::int64_t bytes = delta->delta();
    MapCoordinate where;
    if (delta->pLocation) {
        where = {delta->pLocation->latitude, delta->pLocation->longitude};
    }
    auto annotation = std::make_unique<PPAnnotation>(where, titleForBytes(bytes));
    annotation->nData = bytes;
    annotation->pshortDate = shortDateText(delta->pDateComp);
    annotation->pDeltaDataItem = delta;
    return annotation;
}

std::string PPAnnotation::titleForBytes(std::int64_t bytes)
{
    if (bytes == 0) {
        return _("No Data Used");
    }
    // The stored amount wraps like the counters it came from; read it back the same way.
    return Translation::fill(_("%s Data Used"), {FileSize::formatMemoryStringDot1(static_cast<std::uint64_t>(bytes))});
}

std::string PPAnnotation::shortDateText(const std::optional<DateComponents>& date)
{
    if (!date) {
        return {};
    }
    if (!DateDay::getMonthNameByNum(date->month)) {
        return {};
    }
    // The same format as the main screen's day ("%B %-d" is "March 5").
    /* xgettext:no-c-format */
    const std::string day = DateDay::localFormat(date->year, date->month, date->day, _("%B %-d"));
    return Translation::fill(_("Latest Activity - %s"), {day});
}

std::string PPAnnotation::subtitle() const
{
    return pshortDate.empty() ? RegionAnnotation::subtitle() : pshortDate;
}

std::string PPAnnotation::pinPictureName() const
{
    return PinPicture::nameForBytes(nData);
}

}  // namespace quorvel
