#include "engine/CancelFlag.h"

#include <atomic>

namespace {
std::atomic<bool> cancelRequested{false};
}

void RequestCancel() { cancelRequested.store(true); }
bool CancelRequested() { return cancelRequested.load(); }
