#pragma once
// The process-wide cancel request. Escape or Cancel set it while a worker
// runs; the worker reads it between packages and inside the cabinet copy. It
// only ever goes from false to true during a run, so it needs no lock.
void RequestCancel();
bool CancelRequested();
