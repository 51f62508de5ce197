#include "GLManager.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <iostream>

#include "platform/Platform.h"
#include "support/FatalReport.h"
#include "support/KeyboardManager.h"
#include "support/Scene2D.h"
#include "support/Scene3D.h"
#include "support/SpriteManager.h"
#include "support/VBO.h"

Int2 GLManager::windowSize;
Scene2D* GLManager::scene2D = nullptr;
Scene3D* GLManager::scene3D = nullptr;
SpriteManager* GLManager::spriteManager = nullptr;
KeyboardManager* GLManager::keyboardManager = nullptr;
bool GLManager::mouseButtons[3] = {false, false, false};
Int2 GLManager::mousePosition;
std::vector<MouseEvent> GLManager::mouseEvents;
int64_t GLManager::periodDuration = 0;
int64_t GLManager::lastFrameMark = 0;
bool GLManager::isFullscreen = false;
bool GLManager::closeRequested = false;
int64_t (*GLManager::clockMicroseconds)() = platform::monotonicMicroseconds;
void (*GLManager::sleepMilliseconds)(int) = platform::sleepMilliseconds;

// freeglut may keep argv[0]: the copy lives for the whole run.
static std::vector<char> programPathCopy;

GLManager::GLManager() {
  scene2D = new Scene2D();
  spriteManager = new SpriteManager("whiteTexture.png");
  scene3D = new Scene3D();
  keyboardManager = new KeyboardManager();
}

GLManager::~GLManager() {
  // Every part must have released its sprites by now: the manager checks.
  delete spriteManager;
  spriteManager = nullptr;
  // The window stays until the process ends; leaving its context lets the
  // toolkit free the context and its buffers with the window at exit.
  platform::releaseGLContext();
  delete scene2D;
  delete scene3D;
  delete keyboardManager;
  scene2D = nullptr;
  scene3D = nullptr;
  keyboardManager = nullptr;
}

void GLManager::init(const std::string& programPath, const std::string& title, int width, int height,
                     bool fullscreen) {
  std::fill(mouseButtons, mouseButtons + 3, false);
  glutInitErrorFunc(onToolkitError);
  programPathCopy.assign(programPath.begin(), programPath.end());
  programPathCopy.push_back('\0');
  int argc = 1;
  char* argv[] = {programPathCopy.data(), nullptr};
  glutInit(&argc, argv);
  // Closing the window from the desktop must not end the process inside
  // freeglut: the game sees closeRequested and shuts down by itself.
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
  createWindow(title, width, height);
  keyboardManager->install();
  scene2D->windowSize = Int2(width, height);
  scene2D->virtualSize = Int2(width, height);
  scene2D->apply();
  if (fullscreen) {
    platform::showActiveWindowFullscreen();
    isFullscreen = true;
  }
  GLenum result = glewInit();
  if (result != GLEW_OK) FATAL_ERROR(reinterpret_cast<const char*>(glewGetErrorString(result)));
}

void GLManager::createWindow(const std::string& title, int width, int height) {
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH | GLUT_MULTISAMPLE);
  glutInitWindowSize(width, height);
  windowSize = Int2(width, height);
  glutCreateWindow(title.c_str());
  glutDisplayFunc(onDisplay);  // without one freeglut ends the process in its event pump
  glutCloseFunc(onWindowClosed);
  platform::watchForWindowLoss();
  glutMouseFunc(onMouseButton);
  glutMotionFunc(onMouseDrag);
  glutPassiveMotionFunc(onMouseMove);
  setFixedState();
  writeExtensionList();
  glEnable(GL_MULTISAMPLE);
  if (!platform::pixelFormatQueryAvailable()) showProblem("extension not available");
  VBO::initExtension();
  glutReshapeWindow(width, height);
}

void GLManager::setFixedState() {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_FOG);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.1f);
  glPolygonMode(GL_BACK, GL_POINT);
  glEnable(GL_POINT_SMOOTH);
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_POLYGON_SMOOTH);
  glEnable(GL_CULL_FACE);
}

// "extensions.txt": one line without a line end, rewritten at every start.
void GLManager::writeExtensionList() {
  FILE* file = std::fopen("extensions.txt", "wt");
  if (file == nullptr) return;
  const GLubyte* extensions = glGetString(GL_EXTENSIONS);
  std::fprintf(file, "supported:%s :", extensions != nullptr ? reinterpret_cast<const char*>(extensions) : "");
  std::fclose(file);
}

void GLManager::endFrame() {
  CHECK(keyboardManager != NULL);
  if (!windowGone()) {
    int width = glutGet(GLUT_WINDOW_WIDTH), height = glutGet(GLUT_WINDOW_HEIGHT);
    if (!windowGone()) checkWindowSize(width, height);
  }
  keyboardManager->keysPressed.clear();
  mouseEvents.clear();
  waitForFramePace();
  if (!windowGone()) {
    glutSwapBuffers();
    glutMainLoopEvent();
    windowGone();
  }
  measureFramePeriod();
  glColor3f(1, 1, 1);
  glRasterPos2i(0, windowSize.y());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

bool GLManager::windowGone() {
  if (!closeRequested && !platform::windowLost()) return false;
  closeRequested = true;
  // freeglut has freed the window (or another program destroyed it): leave
  // its context, so that the drawing of the game's last frame does nothing
  // and freeglut is never asked about a window it no longer has.
  platform::releaseGLContext();
  return true;
}

void GLManager::checkWindowSize(int width, int height) {
  // A window without area (minimised) keeps the last usable size: the 2D
  // view cannot take a zero size.
  if (width <= 0 || height <= 0) return;
  if (width != windowSize.x() || height != windowSize.y()) onResize(width, height);
}

void GLManager::waitForFramePace() {
  int64_t elapsed = clockMicroseconds() - lastFrameMark;
  if (elapsed < FRAME_INTERVAL) sleepMilliseconds(int(FRAME_INTERVAL / 1000 - elapsed / 1000));
}

void GLManager::measureFramePeriod() {
  int64_t now = clockMicroseconds();
  periodDuration = std::min(now - lastFrameMark, MAX_PERIOD);
  lastFrameMark = now;
}

void GLManager::onResize(int width, int height) {
  std::cout << "Rescaling to (" << width << "," << height << ")" << std::endl;
  windowSize = Int2(width, height);
  glViewport(0, 0, width, height);
  glClear(GL_COLOR_BUFFER_BIT);
  glFlush();
  if (!windowGone()) glutPostRedisplay();
  scene2D->windowSize = windowSize;
  if (scene2D->followWindow) scene2D->virtualSize = windowSize;
  scene2D->apply();
  scene3D->aspect = float(width) / float(height);
}

// The X screen keeps its mode: full screen is the window covering the screen.
void GLManager::setFullscreenMode(int width, int height) {
  std::cout << "Set to fullscreen mode " << width << "x" << height << std::endl;
  if (!windowGone() && platform::showActiveWindowFullscreen()) std::cout << "Found window handle" << std::endl;
}

void GLManager::setWindowedMode(int width, int height) {
  std::cout << "Set to windowed mode " << width << "x" << height << std::endl;
  if (!windowGone() && platform::showActiveWindowAt(10, 10, width, height)) std::cout << "Found window handle" << std::endl;
}

void GLManager::setDesktopFullscreen() {
  if (!windowGone()) platform::showActiveWindowFullscreen();
}

void GLManager::hideMousePointer() {
  if (!windowGone()) glutSetCursor(GLUT_CURSOR_NONE);
}

void GLManager::clearScreen(Color colour) {
  glClearColor(colour.r / 255.f, colour.g / 255.f, colour.b / 255.f, colour.a / 255.f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

Color GLManager::getCurrentColor() {
  float c[4];
  glGetFloatv(GL_CURRENT_COLOR, c);
  return Color(static_cast<unsigned char>(c[0] * 255), static_cast<unsigned char>(c[1] * 255),
               static_cast<unsigned char>(c[2] * 255), static_cast<unsigned char>(c[3] * 255));
}

unsigned int GLManager::createTexture(const unsigned char* data, int width, int height, bool isAlpha) {
  CHECK(data != NULL);
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows have no padding
  const GLenum format = isAlpha ? GL_RGBA : GL_RGB;
  const GLint mipmapres = gluBuild2DMipmaps(GL_TEXTURE_2D, GLint(format), width, height, format, GL_UNSIGNED_BYTE, data);
  CHECK(mipmapres == 0);
  return texture;
}

void GLManager::onMouseButton(int button, int state, int x, int y) {
  bool down = state == GLUT_DOWN;
  mouseEvents.push_back({x, y, button, down ? MOUSE_PRESSED : MOUSE_RELEASED});
  if (button >= 0 && button < 3) mouseButtons[button] = down;
}

void GLManager::onMouseDrag(int x, int y) {
  mouseEvents.push_back({x, y, -1, MOUSE_DRAGGED});
  mousePosition = scene2D->toViewCoordinates(x, y);
}

void GLManager::onMouseMove(int x, int y) {
  mouseEvents.push_back({x, y, -1, MOUSE_MOVED});
  mousePosition = scene2D->toViewCoordinates(x, y);
}

// freeglut's fatal errors (no display, for one) end with the engine's report.
void GLManager::onToolkitError(const char* format, va_list arguments) {
  char text[1024];
  std::vsnprintf(text, sizeof text, format, arguments);
  FATAL_ERROR(std::string("freeglut: ") + text);
}

void GLManager::onWindowClosed() { closeRequested = true; }

void GLManager::onDisplay() {}

int getTimeMilliseconds() {
  static int64_t baseSeconds = -1;
  platform::WallClockTime now = platform::wallClock();
  if (baseSeconds < 0) baseSeconds = now.seconds;
  // 32-bit arithmetic as documented; unsigned so that wrapping is defined.
  uint32_t milliseconds = uint32_t(now.seconds - baseSeconds) * 1000u + uint32_t(now.microseconds / 1000);
  return int(milliseconds);
}
