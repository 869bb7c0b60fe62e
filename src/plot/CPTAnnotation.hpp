// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTPoint.hpp"

#include <memory>

namespace quorvel {

class CPTAnnotationHostLayer;
class CPTLayer;

// A layer placed on a host layer by a rule of its own rather than by automatic layout.
class CPTAnnotation {
public:
    CPTAnnotation() = default;
    virtual ~CPTAnnotation();
    CPTAnnotation(const CPTAnnotation&) = delete;
    CPTAnnotation& operator=(const CPTAnnotation&) = delete;

    CPTLayer* contentLayer() const { return contentLayer_.get(); }
    void setContentLayer(std::unique_ptr<CPTLayer> layer);
    CPTAnnotationHostLayer* annotationHostLayer() const { return host_; }
    // Set by the host when the annotation is added or removed.
    void setAnnotationHostLayer(CPTAnnotationHostLayer* host);

    const CPTPoint& displacement() const { return displacement_; }
    void setDisplacement(const CPTPoint& displacement);
    const CPTPoint& contentAnchorPoint() const { return contentAnchorPoint_; }
    void setContentAnchorPoint(const CPTPoint& anchor);
    double rotation() const { return rotation_; }
    void setRotation(double radians);

    virtual void positionContentLayer() = 0;

private:
    std::unique_ptr<CPTLayer> contentLayer_;
    CPTAnnotationHostLayer* host_ = nullptr;
    CPTPoint displacement_;
    CPTPoint contentAnchorPoint_{0.5, 0.5};
    double rotation_ = 0.0;
};

}  // namespace quorvel
