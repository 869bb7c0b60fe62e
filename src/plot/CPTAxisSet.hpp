// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTCoordinate.hpp"
#include "plot/CPTLayer.hpp"
#include "plot/CPTLineStyle.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

class CPTAxis;

// The layer holding a graph's axes.
class CPTAxisSet : public CPTLayer {
public:
    explicit CPTAxisSet(const CPTRect& frame = {});
    ~CPTAxisSet() override;

    std::vector<CPTAxis*> axes() const;
    void setAxes(std::vector<std::unique_ptr<CPTAxis>> axes);
    // The `index`-th axis along `coordinate`, or nullptr.
    CPTAxis* axisForCoordinate(CPTCoordinate coordinate, std::size_t index) const;
    const std::optional<CPTLineStyle>& borderLineStyle() const { return borderLineStyle_; }
    void setBorderLineStyle(std::optional<CPTLineStyle> style);

    void relabelAxes();
    void setGraph(CPTGraph* graph) override;
    bool drawsContent() const override { return false; }

private:
    std::vector<std::unique_ptr<CPTAxis>> axes_;
    std::optional<CPTLineStyle> borderLineStyle_;
};

}  // namespace quorvel
