// The play thread and the temporary files of the archive members it plays.
#pragma once

#include <cstdint>

namespace tarnuvo {

class MainWindow;

// The thread started by playSelected: opens and starts the window's copy of
// the entry, then waits until it is asked to stop.
unsigned __stdcall playThreadEntry(void* window);

// Window thread. A member reference that has just opened makes its extracted
// file the remembered temporary file (the one remembered before goes); one
// that failed to open leaves no extracted file behind.
void rememberMemberFile(MainWindow& window, const char* location);
void forgetMemberFile(MainWindow& window, const char* location);

}  // namespace tarnuvo
