// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTAnnotationHostLayer.hpp"

#include "plot/CPTAnnotation.hpp"

#include <algorithm>

namespace quorvel {

CPTAnnotationHostLayer::~CPTAnnotationHostLayer()
{
    removeAllAnnotations();
}

CPTAnnotation* CPTAnnotationHostLayer::addAnnotation(std::unique_ptr<CPTAnnotation> annotation)
{
    if (!annotation) {
        return nullptr;
    }
    CPTAnnotation* added = annotation.get();
    annotations_.push_back(std::move(annotation));
    added->setAnnotationHostLayer(this);
    return added;
}

void CPTAnnotationHostLayer::removeAnnotation(const CPTAnnotation* annotation)
{
    const auto it = std::find_if(annotations_.begin(), annotations_.end(),
                                 [annotation](const auto& a) { return a.get() == annotation; });
    if (it == annotations_.end()) {
        return;
    }
    (*it)->setAnnotationHostLayer(nullptr);
    annotations_.erase(it);
}

void CPTAnnotationHostLayer::removeAllAnnotations()
{
    for (auto& annotation : annotations_) {
        annotation->setAnnotationHostLayer(nullptr);
    }
    annotations_.clear();
}

std::vector<const CPTLayer*> CPTAnnotationHostLayer::sublayersExcludedFromAutomaticLayout() const
{
    std::vector<const CPTLayer*> excluded;
    for (const auto& annotation : annotations_) {
        if (annotation->contentLayer() != nullptr) {
            excluded.push_back(annotation->contentLayer());
        }
    }
    return excluded;
}

void CPTAnnotationHostLayer::layoutSublayers()
{
    CPTLayer::layoutSublayers();
    for (auto& annotation : annotations_) {
        annotation->positionContentLayer();
    }
}

}  // namespace quorvel
