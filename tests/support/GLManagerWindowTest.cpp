#include <gtest/gtest.h>

#include <GL/glew.h>

#include <sstream>

#include "support/DeviceManager.h"
#include "support/KeyboardManager.h"
#include "support/Scene2D.h"
#include "support/Scene3D.h"
#include "tests/common/TempDir.h"
#include "tests/common/TestWindow.h"

std::ostream& operator<<(std::ostream& out, const MouseEvent& e) {
  return out << "(" << e.x << ", " << e.y << ", button " << e.button << ", kind " << e.kind << ")";
}

namespace {

class Window : public testing::Test {
 protected:
  void SetUp() override { resetTestWindow(); }
};

TEST(WindowAlone, OpensWithTheFixedStateAndTheViews) {
  if (ranInOwnProcess()) return;
  ensureTestWindow();
  EXPECT_EQ(Int2(800, 600), GLManager::windowSize);
  EXPECT_EQ(deviceManager, static_cast<GLManager*>(deviceManager));
  ASSERT_NE(nullptr, GLManager::keyboardManager);
  EXPECT_EQ(GLManager::keyboardManager, KeyboardManager::instance);
  EXPECT_EQ(Int2(800, 600), GLManager::scene2D->virtualSize);
  EXPECT_FALSE(GLManager::isFullscreen);
  EXPECT_TRUE(deviceManager->config.ints.empty() && deviceManager->config.strings.empty());

  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  GLint source = 0, destination = 0, alphaFunction = 0, polygonModes[2] = {0, 0};
  glGetIntegerv(GL_BLEND_SRC, &source);
  glGetIntegerv(GL_BLEND_DST, &destination);
  EXPECT_EQ(GL_SRC_ALPHA, source);
  EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, destination);
  EXPECT_FALSE(glIsEnabled(GL_FOG));
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  glGetIntegerv(GL_ALPHA_TEST_FUNC, &alphaFunction);
  GLfloat alphaReference = 0;
  glGetFloatv(GL_ALPHA_TEST_REF, &alphaReference);
  EXPECT_EQ(GL_GREATER, alphaFunction);
  EXPECT_FLOAT_EQ(0.1f, alphaReference);
  glGetIntegerv(GL_POLYGON_MODE, polygonModes);
  EXPECT_EQ(GL_POINT, polygonModes[1]) << "back faces as points";
  for (GLenum capability : {GL_POINT_SMOOTH, GL_LINE_SMOOTH, GL_POLYGON_SMOOTH, GL_CULL_FACE, GL_MULTISAMPLE})
    EXPECT_TRUE(glIsEnabled(capability)) << capability;
  EXPECT_NE(nullptr, glewGetString(GLEW_VERSION)) << "GLEW is initialised";
}

TEST_F(Window, ExtensionListIsOneLineWithoutLineEnd) {
  std::string text = readFile(testWindowDirectory() + "/extensions.txt");
  std::string extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  EXPECT_EQ("supported:" + extensions + " :", text);
  EXPECT_EQ(std::string::npos, text.find('\n'));
}

TEST_F(Window, FirstFrameCountsAsTheLongestPeriod) {
  // The first endFrame measures from a mark of 0, so the cap applies.
  EXPECT_EQ(200000, firstFramePeriod());
  GLManager::endFrame();
  EXPECT_GT(GLManager::periodDuration, 0);
  EXPECT_LT(GLManager::periodDuration, 200000);
}

// A clock that moves only when told, and a sleep that only records.
int64_t fakeNow = 0;
std::vector<int> fakeSleeps;
int64_t fakeClock() { return fakeNow; }
void fakeSleep(int milliseconds) {
  fakeSleeps.push_back(milliseconds);
  fakeNow += milliseconds * 1000;
}

TEST_F(Window, EndFramePacesAndMeasuresOnItsClock) {
  auto realClock = GLManager::clockMicroseconds;
  auto realSleep = GLManager::sleepMilliseconds;
  GLManager::clockMicroseconds = fakeClock;
  GLManager::sleepMilliseconds = fakeSleep;
  fakeNow = GLManager::lastFrameMark + 3000;  // a frame of 3 ms of work
  fakeSleeps.clear();
  GLManager::endFrame();
  GLManager::clockMicroseconds = realClock;
  GLManager::sleepMilliseconds = realSleep;
  EXPECT_EQ(std::vector<int>{7}, fakeSleeps);
  EXPECT_EQ(10000, GLManager::periodDuration);
  EXPECT_EQ(fakeNow, GLManager::lastFrameMark);
}

TEST_F(Window, EndFrameLeavesWhiteColourRasterAtBottomLeftAndByteAlignment) {
  glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  GLManager::endFrame();
  EXPECT_EQ(Color(255, 255, 255, 255), GLManager::getCurrentColor());
  GLfloat raster[4];
  glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
  EXPECT_FLOAT_EQ(0, raster[0]);
  EXPECT_FLOAT_EQ(0, raster[1]) << "2D y = window height is the bottom row";
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(1, alignment);
}

TEST_F(Window, ClearScreenAndCurrentColour) {
  GLManager::clearScreen(Color(255, 128, 0, 255));
  EXPECT_EQ(Color(255, 128, 0, 255), readPixel(0, 0));
  EXPECT_EQ(Color(255, 128, 0, 255), readPixel(799, 599));
  GLfloat depth = 0;
  glReadPixels(10, 10, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  EXPECT_FLOAT_EQ(1, depth) << "the depth buffer is cleared too";
  // Components are multiplied by 255 and truncated: 0.5 gives 127, not 128.
  glColor4f(0.5f, 1, 0, 0.2f);
  EXPECT_EQ(Color(127, 255, 0, 51), GLManager::getCurrentColor());
}

// Everything printed on standard output while `body` runs.
std::string printedBy(const std::function<void()>& body) {
  testing::internal::CaptureStdout();
  body();
  return testing::internal::GetCapturedStdout();
}

TEST_F(Window, ResizeIsNoticedOnceAtTheNextEndFrame) {
  xdotool({"windowsize", testWindowId(), "1024", "768"});
  std::string printed;
  for (int frame = 0; frame < 300 && GLManager::windowSize != Int2(1024, 768); ++frame)
    printed += printedBy([] { GLManager::endFrame(); });
  ASSERT_EQ(Int2(1024, 768), GLManager::windowSize);
  printed += printedBy([] {
    for (int i = 0; i < 3; ++i) GLManager::endFrame();
  });
  EXPECT_EQ("Rescaling to (1024,768)\n", printed);
  EXPECT_EQ(Int2(1024, 768), GLManager::scene2D->windowSize);
  EXPECT_EQ(Int2(1024, 768), GLManager::scene2D->virtualSize) << "the 2D view follows the window";
  EXPECT_FLOAT_EQ(1024.f / 768.f, GLManager::scene3D->aspect);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(1024, viewport[2]);
  EXPECT_EQ(768, viewport[3]);
}

TEST_F(Window, ResizeKeepsTheVirtualSizeOfAViewThatDoesNotFollow) {
  GLManager::scene2D->followWindow = false;
  GLManager::scene2D->virtualSize = Int2(640, 480);
  xdotool({"windowsize", testWindowId(), "1280", "600"});
  ASSERT_TRUE(pumpUntil([] { return GLManager::windowSize == Int2(1280, 600); }));
  EXPECT_EQ(Int2(640, 480), GLManager::scene2D->virtualSize);
  EXPECT_FLOAT_EQ(0.5f, GLManager::scene2D->scaleX);
  EXPECT_FLOAT_EQ(0.8f, GLManager::scene2D->scaleY);
}

TEST_F(Window, AWindowWithoutAreaKeepsTheLastUsableSize) {
  std::string printed = printedBy([] {
    GLManager::checkWindowSize(0, 600);
    GLManager::checkWindowSize(800, 0);
    GLManager::checkWindowSize(0, 0);
  });
  EXPECT_EQ("", printed);
  EXPECT_EQ(Int2(800, 600), GLManager::windowSize);
  EXPECT_EQ(Int2(800, 600), GLManager::scene2D->windowSize);
  printed = printedBy([] { GLManager::checkWindowSize(640, 600); });
  EXPECT_EQ("Rescaling to (640,600)\n", printed) << "a window with area again is adopted";
  GLManager::checkWindowSize(800, 600);
}

TEST_F(Window, FullScreenCoversTheScreenAndWindowedModeComesBackAt10And10) {
  std::string printed = printedBy([] { GLManager::setFullscreenMode(800, 600); });
  EXPECT_EQ("Set to fullscreen mode 800x600\nFound window handle\n", printed);
  // The screen keeps its mode (Xvfb's 1024 x 768): the window covers it.
  ASSERT_TRUE(pumpUntil([] { return GLManager::windowSize == Int2(1024, 768); }));

  printed = printedBy([] { GLManager::setWindowedMode(800, 600); });
  EXPECT_EQ("Set to windowed mode 800x600\nFound window handle\n", printed);
  ASSERT_TRUE(pumpUntil([] { return GLManager::windowSize == Int2(800, 600); }));
  std::string geometry = xdotool({"getwindowgeometry", testWindowId()}).out;
  EXPECT_NE(std::string::npos, geometry.find("Position: 10,10")) << geometry;
}

class Mouse : public Window {
 protected:
  // Runs xdotool with `args` (the window id follows "--window") and gathers
  // the mouse events of the following frames until `count` have arrived.
  std::vector<MouseEvent> act(std::vector<std::string> args, size_t count) {
    for (std::string& arg : args)
      if (arg == "ID") arg = testWindowId();
    xdotool(args);
    std::vector<MouseEvent> events;
    pumpUntil([&] {
      events.insert(events.end(), GLManager::mouseEvents.begin(), GLManager::mouseEvents.end());
      return events.size() >= count;
    });
    return events;
  }
  void TearDown() override { xdotool({"mouseup", "1", "mouseup", "2", "mouseup", "3"}); }
};

TEST_F(Mouse, ButtonsAndMotionArriveAsEventsInWindowPixels) {
  act({"mousemove", "--window", "ID", "300", "200"}, 1);
  using V = std::vector<MouseEvent>;
  EXPECT_EQ(V({{100, 50, -1, MOUSE_MOVED}}), act({"mousemove", "--window", "ID", "100", "50"}, 1));
  EXPECT_EQ(Int2(100, 50), GLManager::mousePosition);

  // A button event never moves the pointer position: only motion does.
  GLManager::mousePosition = Int2(-7, -7);
  EXPECT_EQ(V({{100, 50, 0, MOUSE_PRESSED}}), act({"mousedown", "1"}, 1));
  EXPECT_TRUE(GLManager::mouseButtons[0]);
  EXPECT_EQ(Int2(-7, -7), GLManager::mousePosition);

  EXPECT_EQ(V({{120, 60, -1, MOUSE_DRAGGED}}), act({"mousemove", "--window", "ID", "120", "60"}, 1));
  EXPECT_EQ(Int2(120, 60), GLManager::mousePosition);
  EXPECT_EQ(V({{120, 60, 0, MOUSE_RELEASED}}), act({"mouseup", "1"}, 1));
  EXPECT_FALSE(GLManager::mouseButtons[0]);

  // X buttons 2 and 3 are the middle and right buttons.
  EXPECT_EQ(V({{120, 60, 2, MOUSE_PRESSED}}), act({"mousedown", "3"}, 1));
  EXPECT_TRUE(GLManager::mouseButtons[2]);
  EXPECT_EQ(V({{120, 60, 1, MOUSE_PRESSED}}), act({"mousedown", "2"}, 1));
  EXPECT_TRUE(GLManager::mouseButtons[1]);
  act({"mouseup", "3", "mouseup", "2"}, 2);
  EXPECT_FALSE(GLManager::mouseButtons[1] || GLManager::mouseButtons[2]);

  // A wheel step is button 3, pressed and released at once.
  EXPECT_EQ(V({{120, 60, 3, MOUSE_PRESSED}, {120, 60, 3, MOUSE_RELEASED}}), act({"click", "4"}, 2));
  GLManager::endFrame();
  EXPECT_TRUE(GLManager::mouseEvents.empty()) << "the list holds only the last pump's events";
}

TEST_F(Mouse, PositionIsScaledWhenTheViewDoesNotFollowTheWindow) {
  GLManager::scene2D->followWindow = false;
  GLManager::scene2D->virtualSize = Int2(640, 480);
  GLManager::scene2D->apply();
  EXPECT_FLOAT_EQ(0.8f, GLManager::scene2D->scaleX);
  act({"mousemove", "--window", "ID", "10", "10"}, 1);
  EXPECT_EQ(std::vector<MouseEvent>({{400, 300, -1, MOUSE_MOVED}}),
            act({"mousemove", "--window", "ID", "400", "300"}, 1));
  EXPECT_EQ(Int2(320, 240), GLManager::mousePosition);
}

TEST(DeviceManagerAlone, ASecondDeviceManagerIsFatal) {
  if (!runningAlone()) {
    ChildResult result = runTestAlone("DeviceManagerAlone.ASecondDeviceManagerIsFatal");
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_NE(std::string::npos, result.err.find("\nCondition: deviceManager == NULL\n")) << result.err;
    return;
  }
  ensureTestWindow();
  DeviceManager::create("cubewright", "", 800, 600, false);
}

// Closes the window the way `how` says, then does what the game does on
// quit: finishes the frame, shuts down and exits normally.
void closeAndShutDown(const std::function<void()>& how) {
  ensureTestWindow();
  how();
  ASSERT_TRUE(pumpUntil([] { return GLManager::closeRequested; }, 200)) << "the close is noticed";
  // The rest of the frame and a few more: drawing and ending frames do nothing.
  GLManager::clearScreen(Color(0, 0, 0, 255));
  GLManager::scene3D->apply();
  GLManager::scene2D->apply();
  for (int i = 0; i < 3; ++i) GLManager::endFrame();
  GLManager::setWindowedMode(800, 600);
  DeviceManager::destroy();
  EXPECT_EQ(nullptr, deviceManager);
  EXPECT_EQ(nullptr, GLManager::scene2D);
  std::cout << "shut down cleanly" << std::endl;
}

void expectCleanShutdown(const std::string& testName) {
  ChildResult result = runTestAlone(testName);
  EXPECT_EQ(0, result.exitCode) << describe(result);
  EXPECT_NE(std::string::npos, result.out.find("Set to windowed mode 800x600\n")) << result.out;
  EXPECT_EQ(std::string::npos, result.out.find("Found window handle")) << "there is no window left to place";
  EXPECT_NE(std::string::npos, result.out.find("shut down cleanly")) << describe(result);
  EXPECT_EQ("", result.err);
}

TEST(WindowClosing, ClosingFromTheDesktopEndsLikeQuit) {
  if (!runningAlone()) return expectCleanShutdown("WindowClosing.ClosingFromTheDesktopEndsLikeQuit");
  closeAndShutDown([] { sendCloseRequest(testWindowId()); });
}

TEST(WindowClosing, AWindowDestroyedByAnotherProgramEndsLikeQuit) {
  if (!runningAlone()) return expectCleanShutdown("WindowClosing.AWindowDestroyedByAnotherProgramEndsLikeQuit");
  closeAndShutDown([] { xdotool({"windowclose", testWindowId()}); });
}

}  // namespace
