#pragma once
// Quit-message mechanics shared by the application and its modal dialogs.
#include <windows.h>
#include <functional>

namespace fw {

// Posts the quit message carrying code to the given thread's queue.
bool PostQuitTo(DWORD threadId, int code);

// Translates and dispatches one message; the keys that move around a dialog
// (Tab, Enter, Escape, mnemonics) go to the dialog the message belongs to.
void DispatchOneMessage(MSG& msg);

// Runs a modal message loop until done() answers true or a quit message
// arrives. A quit message ends the loop and is posted again, so that the
// loop of the caller (or its drain) sees it too. Returns false when the loop
// was ended by a quit message.
bool RunModalLoop(const std::function<bool()>& done);

// Pumps messages until a quit message arrives; returns its code.
int DrainUntilQuit();

}  // namespace fw
