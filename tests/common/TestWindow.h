#pragma once
// The real window the window tests share: one per test process (the device
// manager allows no second one), opened on first use, 800 x 600, in a
// temporary working directory, and driven with real X input from xdotool.

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "support/Color.h"
#include "tests/common/ChildProcess.h"

// The window's title, unique to the process.
const std::string& testWindowTitle();

// Opens the window on the first call; later calls do nothing.
void ensureTestWindow();
// The working directory the window was opened in.
const std::string& testWindowDirectory();
// periodDuration after the first endFrame of the process.
int64_t firstFramePeriod();
// Brings the window back to 800 x 600 with a 2D view that follows it, and
// gives it the keyboard focus.
void resetTestWindow();
// The window's X id, as xdotool names it.
const std::string& testWindowId();

// Runs xdotool with `args`.
ChildResult xdotool(const std::vector<std::string>& args);
// Ends frames until `done` answers true, at most `maxFrames` of them
// (about 10 ms each). Returns whether `done` was reached.
bool pumpUntil(const std::function<bool()>& done, int maxFrames = 300);

// The 2D drawing state the game sets before drawing sprites and text (the 2D
// routines wind clockwise on screen, so front faces are culled), a screen
// cleared to opaque black and the colour opaque white.
void start2DPicture();
// An orthographic view of (left, right, bottom, top, near, far) pushed onto
// both matrix stacks (endFlatPicture pops them), drawn over opaque black with
// texturing and blending on, no depth test, lighting or fog, back faces
// culled and the colour opaque white.
void beginFlatPicture(double left, double right, double bottom, double top, double zNear, double zFar);
void endFlatPicture();

// Colours print as (r, g, b, a) in failed expectations.
std::ostream& operator<<(std::ostream& out, const Color& c);

// The colour at 2D view pixel (x, y) (origin top-left) of the picture being drawn.
Color readPixel(int x, int y);

// A texture made with plain GL calls: texels row by row, first row at t = 0,
// sampled without filtering so that every texel covers whole pixels.
unsigned int makeTexture(int width, int height, const std::vector<Color>& texels);
// The 2x2 texture red, green (first row), blue, white (second row).
unsigned int quadrantTexture();

// Runs one test of this program alone in a new process (a window test that
// must own its window, or one that ends the process); see runningAlone().
ChildResult runTestAlone(const std::string& testName);
// True inside the process started by runTestAlone.
bool runningAlone();
// For a test that needs a window of its own: outside, runs the current test
// alone, expects it to pass and answers true (the caller returns); inside
// the process of its own, answers false (the caller goes on with the test).
bool ranInOwnProcess();

// What a window manager does when the user clicks the close button: a
// WM_DELETE_WINDOW message to the window.
void sendCloseRequest(const std::string& windowId);
