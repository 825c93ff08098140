#pragma once
// What a run does with its packages, chosen once from the command line and
// from whether the main product is installed.
#include "app/SetupAppCommandLineInfo.h"

enum class SetupAction { Extract, Repair, Remove, Modify, Install };

// Extract (/u) before Repair (/f) before Remove (/x); otherwise Modify when
// the main product is installed, else Install.
SetupAction ChooseAction(const CSetupAppCommandLineInfo& commandLine, bool mainInstalled);
