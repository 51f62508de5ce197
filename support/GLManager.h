#pragma once
// The window, its input and the frame clock, on freeglut and GLEW. There is
// one window per process, so the device state is static: the callbacks write
// it during the event pump of endFrame and every part of the engine reads it
// directly during a frame.

#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

#include "support/BasicVector.h"
#include "support/Color.h"

class KeyboardManager;
class Scene2D;
class Scene3D;
class SpriteManager;

struct MouseEvent {
  int x, y;    // pointer position in window pixels (origin top-left, y downwards)
  int button;  // 0 left, 1 middle, 2 right, 3 and 4 wheel steps, ...; -1 for motion
  int kind;    // one of MouseEventKind

  bool operator==(const MouseEvent& o) const { return x == o.x && y == o.y && button == o.button && kind == o.kind; }
};

enum MouseEventKind { MOUSE_PRESSED = 0, MOUSE_RELEASED = 1, MOUSE_DRAGGED = 2, MOUSE_MOVED = 3 };

class GLManager {
 public:
  static constexpr int64_t MAX_PERIOD = 200000;  // microseconds: one frame never counts longer
  static constexpr int64_t FRAME_INTERVAL = 10000;  // microseconds kept between frames at least

  GLManager();
  virtual ~GLManager();
  GLManager(const GLManager&) = delete;
  GLManager& operator=(const GLManager&) = delete;

  // Opens the window and installs the input callbacks.
  void init(const std::string& programPath, const std::string& title, int width, int height,
            bool fullscreen);

  // Presents the frame, paces, pumps the window events once and measures
  // periodDuration. Once the window has been closed only the clock runs.
  static void endFrame();
  static void onResize(int width, int height);
  static void setFullscreenMode(int width, int height);
  static void setWindowedMode(int width, int height);
  // Full screen at the desktop's own size, without a message.
  static void setDesktopFullscreen();
  // Hides the system's mouse pointer over the window (the game draws its own).
  static void hideMousePointer();
  static void clearScreen(Color colour);
  static Color getCurrentColor();
  // A texture with all its mipmap levels from `height` rows of `width`
  // pixels (RGBA when isAlpha, else RGB; no row padding). Filters linear and
  // linear-mipmap-nearest, wrapping repeat. The texture is left bound.
  static unsigned int createTexture(const unsigned char* data, int width, int height, bool isAlpha);

  // Steps of endFrame, on the clock and sleep below.
  static void checkWindowSize(int width, int height);
  static void waitForFramePace();
  static void measureFramePeriod();

  // The frame clock (microseconds) and sleep (milliseconds); the platform's
  // by default, replaceable to drive the pacing by hand.
  static int64_t (*clockMicroseconds)();
  static void (*sleepMilliseconds)(int milliseconds);

  static Int2 windowSize;  // client size as last seen (never zero)
  static Scene2D* scene2D;
  static Scene3D* scene3D;
  static SpriteManager* spriteManager;  // default image "whiteTexture.png"
  static KeyboardManager* keyboardManager;
  static bool mouseButtons[3];  // left, middle, right: true while held
  static Int2 mousePosition;    // last pointer position, in 2D view coordinates
  static std::vector<MouseEvent> mouseEvents;  // events of the last event pump, in order
  static int64_t periodDuration;  // microseconds, duration of the last frame, at most MAX_PERIOD
  static int64_t lastFrameMark;   // clock reading at the end of the previous endFrame
  static bool isFullscreen;
  // Set by endFrame once the user has closed the window from the desktop (or
  // another program destroyed it). The window is gone by then and drawing
  // does nothing: the game finishes its frame and shuts down as it does on quit.
  static bool closeRequested;

 private:
  void createWindow(const std::string& title, int width, int height);
  static void writeExtensionList();
  static void setFixedState();
  static void onMouseButton(int button, int state, int x, int y);
  static void onMouseDrag(int x, int y);
  static void onMouseMove(int x, int y);
  static bool windowGone();
  static void onToolkitError(const char* format, va_list arguments);
  static void onWindowClosed();
  static void onDisplay();
};

// Milliseconds of wall-clock time since the start of the second of the first call.
int getTimeMilliseconds();
