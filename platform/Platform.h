#pragma once
// The engine's only contract with the operating system. Everything that
// needs a system call or a desktop service goes through these functions;
// the Linux implementation lives in PlatformLinux.cpp.

#include <cstdint>
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

// Clocks. The monotonic clock never jumps with the wall clock: frame periods
// and timings use it. The wall clock is the system time.
int64_t monotonicMicroseconds();
struct WallClockTime {
  int64_t seconds;   // whole seconds since the epoch
  int microseconds;  // 0 to 999999 within that second
};
WallClockTime wallClock();
// Sleeps at least `milliseconds` (nothing when it is 0 or less).
void sleepMilliseconds(int milliseconds);

// OpenGL entry points. A driver may answer with a stub for a name it does
// not implement, so the extension string is the authority on support.
void* glEntryPoint(const char* name);
// True when the window system can choose framebuffer configurations by
// attribute (the pixel-format query of multisampled windows).
bool pixelFormatQueryAvailable();
// Leaves the current OpenGL context, so that later GL calls do nothing;
// used once the window that held it is gone.
void releaseGLContext();

// Watches the window of the current OpenGL context. When another program
// destroys it, the errors that drawing into it raises are absorbed and
// windowLost() answers true from then on.
void watchForWindowLoss();
bool windowLost();

// Display modes. The screen's own resolution is never changed: full screen
// is the active window covering the screen. Each returns false, and does
// nothing, when there is no active window.
bool showActiveWindowFullscreen();
// Leaves full screen and places the active window's client area at (x, y)
// with the given size.
bool showActiveWindowAt(int x, int y, int width, int height);

// Makes sure what was written to `file` has reached the disk (fsync), so a
// file renamed over another one is never found empty after a crash.
bool syncFileToDisk(std::FILE* file);

}  // namespace platform
