// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/PPAnnotation.hpp"

#include "locations/PinPicture.hpp"
#include "model/DateDay.hpp"
#include "model/FileSize.hpp"

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
        return "No Data Used";
    }
    // The stored amount wraps like the counters it came from; read it back the same way.
    return FileSize::formatMemoryStringDot1(static_cast<std::uint64_t>(bytes)) + " Data Used";
}

std::string PPAnnotation::shortDateText(const std::optional<DateComponents>& date)
{
    if (!date) {
        return {};
    }
    const std::optional<std::string> month = DateDay::getMonthNameByNum(date->month);
    if (!month) {
        return {};
    }
    return "Latest Activity - " + *month + " " + std::to_string(date->day);
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
