#pragma once
// The wizard every run passes through, visible or hidden: a fixed list of
// pages decided at construction from the catalogue and the command line, the
// frame around them (Back, Next, Cancel, language choice, picture, title) and
// the moves between pages.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "wizard/DialogBase.h"
#include "wizard/WizardPageBase.h"

class CWizardDialog : public CDialogBase {
public:
    static constexpr int kTemplate = 154;
    static constexpr int kIcon = 133;
    static constexpr int kPageArea = 1036;
    static constexpr int kPageId = 1037;
    static constexpr int kLanguageBox = 1015;
    static constexpr int kBackButton = 1000;

    CWizardDialog(const std::wstring& title, HWND parent);
    ~CWizardDialog() override;

    // Moves on: asks the current page, reports a pending error (and then
    // jumps to the finish page), activates the next page or ends the wizard.
    void Next();
    void OnBackClicked();
    void OnLanguageChanged();
    void UpdateTexts();
    // A Windows Installer result into the application's result record.
    void SetInstallerResult(UINT installerResult);
    bool HasFollowingPage() const;

    bool IsRepair() const;
    bool IsUninstall() const;
    bool IsModify() const;
    bool CanChooseLanguage() const;
    void RefreshMainInstalled();

    bool ShowUI() const { return showUI_; }
    bool MainInstalled() const { return mainInstalled_; }
    bool HasTandoraServer() const { return hasTandoraServer_; }
    bool HasSkedraAdvanced() const { return hasSkedraAdvanced_; }
    bool NeedsServiceConfiguration() const { return needsServiceConfiguration_; }
    HBRUSH WhiteBrush() const { return whiteBrush_.get(); }
    std::wstring& BackupProperties() { return backupProperties_; }
    std::wstring& ServiceProperties() { return serviceProperties_; }
    std::wstring& ClusterProperties() { return clusterProperties_; }

    int PageCount() const { return static_cast<int>(pages_.size()); }
    int CurrentPage() const { return currentPage_; }
    int FinishPage() const { return finishPage_; }
    WizardPageBase* Page(int index) const;

    // Any cancel (button, Escape, a page abandoning the run).
    void OnCancel() override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override { Next(); }
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void BuildPageList();
    bool Inside(int index) const { return index >= 0 && index < PageCount(); }
    // Reports a result the run has not reported yet; true when there was one.
    bool ReportPendingResult();

    std::wstring title_;
    fw::UniqueIcon icon_;
    fw::UniqueIcon smallIcon_;
    fw::UniqueGdiObject<HBRUSH> whiteBrush_;
    bool hasTandoraServer_ = false;
    bool hasSkedraAdvanced_ = false;
    bool needsServiceConfiguration_ = false;
    bool showUI_ = false;
    bool mainInstalled_ = false;
    std::wstring backupProperties_;
    std::wstring serviceProperties_;
    std::wstring clusterProperties_;
    // A null slot marks the end of the run of a single Windows Installer
    // package, whose own interface reports the outcome.
    std::vector<std::unique_ptr<WizardPageBase>> pages_;
    int currentPage_ = 0;
    int finishPage_ = -1;
};
