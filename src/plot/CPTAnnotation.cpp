// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTAnnotation.hpp"

#include "plot/CPTAnnotationHostLayer.hpp"
#include "plot/CPTSetIfChanged.hpp"

namespace quorvel {

CPTAnnotation::~CPTAnnotation() = default;

void CPTAnnotation::setContentLayer(std::unique_ptr<CPTLayer> layer)
{
    if (contentLayer_ && host_ != nullptr) {
        contentLayer_->removeFromSuperlayer();
    }
    contentLayer_ = std::move(layer);
    if (contentLayer_ && host_ != nullptr) {
        host_->addSublayer(contentLayer_.get());
        positionContentLayer();
    }
}

void CPTAnnotation::setAnnotationHostLayer(CPTAnnotationHostLayer* host)
{
    if (host == host_) {
        return;
    }
    if (contentLayer_) {
        contentLayer_->removeFromSuperlayer();
    }
    host_ = host;
    if (contentLayer_ && host_ != nullptr) {
        host_->addSublayer(contentLayer_.get());
        positionContentLayer();
    }
}

void CPTAnnotation::setDisplacement(const CPTPoint& displacement)
{
    if (CPTSetIfChanged(displacement_, displacement)) {
        positionContentLayer();
    }
}

void CPTAnnotation::setContentAnchorPoint(const CPTPoint& anchor)
{
    if (CPTSetIfChanged(contentAnchorPoint_, anchor)) {
        positionContentLayer();
    }
}

void CPTAnnotation::setRotation(double radians)
{
    if (CPTSetIfChanged(rotation_, radians)) {
        positionContentLayer();
    }
}

}  // namespace quorvel
