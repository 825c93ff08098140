#include "wizard/layout/VEZAStackLayout.h"

#include <utility>

#include "wizard/layout/AlignedPlacement.h"

VEZAStackLayout::Layer* VEZAStackLayout::Find(const VEZALayout* key) {
    for (Layer& layer : layers_)
        if (layer.child.get() == key) return &layer;
    return nullptr;
}

const VEZAStackLayout::Layer* VEZAStackLayout::Find(const VEZALayout* key) const {
    for (const Layer& layer : layers_)
        if (layer.child.get() == key) return &layer;
    return nullptr;
}

VEZALayout* VEZAStackLayout::AddLayer(std::unique_ptr<VEZALayout> child, int32_t horizontal,
                                      int32_t vertical) {
    if (!child) return current_;
    if (Layer* existing = Find(child.get())) {
        // The layout owns this object already; a second owner would delete
        // it twice.
        existing->horizontal = horizontal;
        existing->vertical = vertical;
        current_ = child.release();
        return current_;
    }
    current_ = child.get();
    layers_.push_back({std::move(child), horizontal, vertical});
    return current_;
}

bool VEZAStackLayout::SelectLayer(const VEZALayout* key) {
    if (!key) {
        current_ = nullptr;
        return true;
    }
    Layer* layer = Find(key);
    if (!layer) return false;
    current_ = layer->child.get();
    return true;
}

VEZASize VEZAStackLayout::Measure(const VEZASize& available, bool& growsHorizontally,
                                  bool& growsVertically) const {
    const Layer* layer = current_ ? Find(current_) : nullptr;
    if (!layer) {
        growsHorizontally = false;
        growsVertically = false;
        return {};
    }
    return MeasureAligned(*layer->child, layer->horizontal, layer->vertical, available,
                          growsHorizontally, growsVertically);
}

void VEZAStackLayout::Arrange(const VEZARect& rect) {
    for (Layer& layer : layers_)
        if (layer.child.get() != current_) layer.child->Show(kLayoutHide);
    Layer* layer = current_ ? Find(current_) : nullptr;
    if (!layer) return;
    layer->child->Show(kLayoutShow);
    ArrangeAligned(*layer->child, layer->horizontal, layer->vertical, rect);
}

void VEZAStackLayout::Show(int showCommand) {
    if (current_) current_->Show(showCommand);
}
