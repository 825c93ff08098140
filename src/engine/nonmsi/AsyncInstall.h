#pragma once
// The two sides of an installer that is not Windows Installer and runs on a
// worker thread: the installer itself, and the page it reports its progress
// to.
#include <memory>
#include <string>
#include <vector>

#include "app/SetupPackage.h"
#include "app/SetupResult.h"

// Called on the worker thread; the page passes everything on to its window
// thread by posted messages or synchronous window calls.
class SetupReportAsyncProgressIF {
public:
    virtual ~SetupReportAsyncProgressIF() = default;
    // 0 makes the bar endless.
    virtual void SetRange(int maximum) = 0;
    virtual void SetStatusText(const std::wstring& text) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void Advance(int delta) = 0;
};

using PackageList = std::vector<std::unique_ptr<SetupPackage>>;

class SetupAsyncInstallProcessIF {
public:
    virtual ~SetupAsyncInstallProcessIF() = default;
    virtual SetupResult Install(const PackageList& packages, SetupReportAsyncProgressIF& progress) = 0;
    virtual SetupResult Modify(const PackageList& packages, SetupReportAsyncProgressIF& progress) = 0;
    virtual SetupResult Repair(const PackageList& packages, SetupReportAsyncProgressIF& progress) = 0;
    virtual SetupResult Remove(const PackageList& packages, SetupReportAsyncProgressIF& progress) = 0;
    virtual SetupResult Extract(const PackageList& packages, SetupReportAsyncProgressIF& progress) = 0;
    // From the window thread: asks a running operation to stop.
    virtual void Cancel() = 0;
};
