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

// Waits for an object without time limit while letting calls that other
// threads send to this thread's windows through (a worker that sets a text
// of this thread's window would otherwise wait for us while we wait for it).
// True when the object was signalled.
bool WaitLettingSentMessagesThrough(HANDLE object);

// Pumps messages until a quit message arrives; returns its code.
int DrainUntilQuit();

}  // namespace fw
