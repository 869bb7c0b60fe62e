// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAnnotation.hpp"
#include "plot/CPTLayer.hpp"

#include <memory>
#include <vector>

namespace quorvel {



// A layer that carries annotations: their content layers are its sublayers but are placed by
// the annotations after the common layout.
class CPTAnnotationHostLayer : public CPTLayer {
public:
    using CPTLayer::CPTLayer;
    ~CPTAnnotationHostLayer() override;

    const std::vector<std::unique_ptr<CPTAnnotation>>& annotations() const { return annotations_; }
    CPTAnnotation* addAnnotation(std::unique_ptr<CPTAnnotation> annotation);
    // Removes and destroys the annotation; nothing when it is not on this layer.
    void removeAnnotation(const CPTAnnotation* annotation);
    void removeAllAnnotations();

    std::vector<const CPTLayer*> sublayersExcludedFromAutomaticLayout() const override;
    void layoutSublayers() override;

private:
    std::vector<std::unique_ptr<CPTAnnotation>> annotations_;
};

}  // namespace quorvel
