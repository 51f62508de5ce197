#pragma once
// The engine's only contract with the operating system. Everything that
// needs a system call or a desktop service goes through these functions;
// the Linux implementation lives in PlatformLinux.cpp.

#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// The program path followed by the arguments exactly as the process got them.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// True when a problem dialog may be shown: a display is present and the run
// is attended (CUBEWRIGHT_NO_DIALOG and CI are both unset).
bool problemDialogAllowed();

// Shows text in a modal dialog captioned `caption` and waits until the user
// closes it. Does nothing when problemDialogAllowed() is false or no dialog
// program (zenity, xmessage) is installed.
void showProblemDialog(const std::string& caption, const std::string& text);

// Makes sure what was written to `file` has reached the disk (fsync), so a
// file renamed over another one is never found empty after a crash.
bool syncFileToDisk(std::FILE* file);

}  // namespace platform
