#pragma once
// Layers on top of each other, of which at most one (the current one) is
// shown and placed; the others are hidden at each Arrange. Each layer is
// placed like the child of a box layout, by its own two alignments. The
// layout owns its layers; a layer's key is the layer's own object.
#include <cstdint>
#include <memory>
#include <vector>

#include "wizard/layout/VEZALayout.h"

class VEZAStackLayout : public VEZALayout {
public:
    // Adds a layer (or, for an object that is a layer already, replaces its
    // alignments), makes it current and returns it as its key. A null child
    // changes nothing and returns the current key.
    VEZALayout* AddLayer(std::unique_ptr<VEZALayout> child, int32_t horizontal, int32_t vertical);

    // Null clears the current layer; a layer's key makes it current. Both
    // answer true. Any other key changes nothing and answers false.
    bool SelectLayer(const VEZALayout* key);

    VEZALayout* Current() const { return current_; }

    VEZASize Measure(const VEZASize& available, bool& growsHorizontally,
                     bool& growsVertically) const override;
    void Arrange(const VEZARect& rect) override;
    void Show(int showCommand) override;

private:
    struct Layer {
        std::unique_ptr<VEZALayout> child;
        int32_t horizontal;
        int32_t vertical;
    };

    Layer* Find(const VEZALayout* key);
    const Layer* Find(const VEZALayout* key) const;

    std::vector<Layer> layers_;
    VEZALayout* current_ = nullptr;
};
