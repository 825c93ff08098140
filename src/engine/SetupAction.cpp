#include "engine/SetupAction.h"

SetupAction ChooseAction(const CSetupAppCommandLineInfo& commandLine, bool mainInstalled) {
    if (commandLine.Extract()) return SetupAction::Extract;
    if (commandLine.Repair()) return SetupAction::Repair;
    if (commandLine.Uninstall()) return SetupAction::Remove;
    return mainInstalled ? SetupAction::Modify : SetupAction::Install;
}
