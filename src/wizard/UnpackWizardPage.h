#pragma once
// The extraction page: unpacks the packages the run needs on a worker thread
// while the wizard stays responsive, shows which package it reads and how far
// it is, stops on Escape or Cancel, and moves the wizard on by itself.
#include <memory>
#include <vector>

#include "engine/PackageExtraction.h"
#include "framework/UniqueHandle.h"
#include "engine/ExtractionProgressHandler.h"
#include "wizard/WizardPageBase.h"

class UnpackWizardPage : public WizardPageBase, public ExtractionStatusIF {
public:
    static constexpr int kProgressBar = 1005;

    explicit UnpackWizardPage(CWizardDialog& wizard) : WizardPageBase(L"UnpackMSIFromEXE", wizard) {}

    // Runs the whole extraction, then advances the wizard (unless a quit
    // message ends the run).
    void Activate() override;
    // While the worker runs: stops it and keeps the page, which then records
    // the cancellation and moves on itself.
    bool OnCancelRequest() override;
    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override;
    // From the worker thread: the status line, with the bar moved below the
    // first text that has a height.
    void SetStatusText(const std::wstring& text) override;

    // What the worker reads and writes.
    const std::vector<ExtractionEntry>& List() const { return list_; }
    ExtractionProgressHandler& Handler() { return *handler_; }
    const ExtractionSettings& Settings() const { return settings_; }
    void SetLastError(int error) { lastError_ = error; }
    int LastError() const { return lastError_; }

private:
    // Waits for the worker while handling messages; false when a quit
    // message ended the wait (it is posted again).
    bool WaitForWorker();
    // Waits for a worker that was asked to stop.
    void StopWorker();

    HWND title_ = nullptr;
    HWND explanation_ = nullptr;
    HWND status_ = nullptr;
    HWND bar_ = nullptr;
    std::unique_ptr<ExtractionProgressHandler> handler_;
    std::vector<ExtractionEntry> list_;
    ExtractionSettings settings_;
    int lastError_ = 0;
    bool statusPlaced_ = false;
    bool running_ = false;  // from the worker's start until the page moves on
    fw::UniqueKernelHandle worker_;
};

// After the worker ended: for one second, forwards the positions it posted to
// the bar and handles other messages. False when a quit message came (its
// code in quitCode; it is not posted again here).
bool DrainAfterWorker(HWND bar, int* quitCode);

// The extraction worker: every package of the page's list, in order.
DWORD WINAPI SetupWorkerThread(LPVOID page);
