#pragma once
// A container of at most one child, placed by a horizontal and a vertical
// alignment. It owns its child.
#include <cstdint>
#include <memory>

#include "wizard/layout/VEZALayout.h"

class VEZABoxLayout : public VEZALayout {
public:
    explicit VEZABoxLayout(std::unique_ptr<VEZALayout> child = nullptr,
                           int32_t horizontal = kAlignFill, int32_t vertical = kAlignFill);

    // Replaces the child and both alignments. The earlier child is not
    // destroyed here: it goes back to the caller.
    [[nodiscard]] std::unique_ptr<VEZALayout> SetChild(std::unique_ptr<VEZALayout> child,
                                                       int32_t horizontal, int32_t vertical);
    VEZALayout* Child() const { return child_.get(); }

    VEZASize Measure(const VEZASize& available, bool& growsHorizontally,
                     bool& growsVertically) const override;
    void Arrange(const VEZARect& rect) override;
    void Show(int showCommand) override;

private:
    std::unique_ptr<VEZALayout> child_;
    int32_t horizontal_;
    int32_t vertical_;
};
