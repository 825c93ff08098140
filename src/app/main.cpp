// The launcher's entry point and its one application object.
#include <windows.h>

#include "app/SetupApp.h"

namespace {
CSetupApp theApp;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) { return CSetupApp::Get().Run(); }
