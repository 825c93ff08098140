#pragma once
// Turns the bytes the cabinet copy has read into positions of the extraction
// page's bar (0 to 30 over the whole extraction list) and posts them to the
// page, at most one every half second besides the final position: the
// worker never touches the bar itself.
#include <windows.h>

#include <cstdint>

#include "engine/CabinetExtractor.h"

constexpr UINT kExtractionPositionMessage = WM_USER + 1;

class ExtractionProgressHandler : public VEZACabinetProgressCallbacks {
public:
    explicit ExtractionProgressHandler(HWND bar, int maximum = 30) : bar_(bar), maximum_(maximum) {}

    void percent(int) override {}
    void progress(int bytesRead) override;
    int maximum() override { return maximum_; }

    void SetTotal(uint64_t total) { total_ = total; }
    // Bytes of the packages already unpacked.
    void SetBase(uint64_t base) { base_ = base; }

private:
    HWND bar_;
    int maximum_;
    int lastPosted_ = -1;
    ULONGLONG lastPostTime_ = 0;
    uint64_t total_ = 0;
    uint64_t base_ = 0;
};
