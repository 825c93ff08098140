#pragma once
// Children in a column from top to bottom, spaced by `spacing`, each placed in
// the horizontal direction by its own alignment. It owns its children.
#include <cstdint>
#include <memory>
#include <vector>

#include "wizard/layout/LinearArrangement.h"

class VEZAVerticalLayout : public VEZALayout {
public:
    int32_t spacing = 5;

    // Appends a child; a null child is not added.
    void Add(std::unique_ptr<VEZALayout> child, int32_t alignment);

    VEZASize Measure(const VEZASize& available, bool& growsHorizontally,
                     bool& growsVertically) const override;
    void Arrange(const VEZARect& rect) override;
    void Show(int showCommand) override;

private:
    std::vector<VEZALayoutItem> items_;
};
