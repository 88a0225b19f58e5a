// Lets tests see which archiver DLL was loaded and asked what, in order: when
// TARNUVO_ARCHIVER_LOG names a file, every call appends a line
// "<dll file name> <what> <argument>".
#pragma once

#include <windows.h>

namespace tarnuvo_tools {

void setLogModule(HMODULE module);
void logCall(const char* what, const char* argument = "");

}  // namespace tarnuvo_tools
