#include "engine/ExtractionProgressHandler.h"

void ExtractionProgressHandler::progress(int bytesRead) {
    // An empty list is finished as soon as it starts.
    int position = maximum_;
    if (total_ > 0) {
        const double share = static_cast<double>(base_ + static_cast<uint64_t>(bytesRead > 0 ? bytesRead : 0)) /
                             static_cast<double>(total_);
        position = static_cast<int>(share * maximum_);
        if (position > maximum_) position = maximum_;
    }
    const ULONGLONG now = ::GetTickCount64();
    if ((position == lastPosted_ || now - lastPostTime_ <= 500) && position != maximum_) return;
    lastPostTime_ = now;
    lastPosted_ = position;
    ::PostMessageW(::GetParent(bar_), kExtractionPositionMessage, static_cast<WPARAM>(position), 0);
}
