#include "TestWindow.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "support/DeviceManager.h"
#include "support/Scene2D.h"
#include "tests/common/TempDir.h"

// Last: Xlib's macros (None, Bool, Status) must not meet the headers above.
#include <GL/gl.h>
#include <X11/Xlib.h>

const std::string& testWindowTitle() {
  static const std::string title = "cubewright window test " + std::to_string(getpid());
  return title;
}

namespace {
TempDir* windowDirectory = nullptr;

// Shuts the device manager down after the last test, as the game does.
class TestWindowEnvironment : public testing::Environment {
 public:
  void TearDown() override {
    if (deviceManager != nullptr) DeviceManager::destroy();
  }
};
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new TestWindowEnvironment);

int64_t firstPeriod = -1;
std::string windowId;
}  // namespace

void ensureTestWindow() {
  if (deviceManager != nullptr) return;
  windowDirectory = new TempDir();
  char previous[4096];
  ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
  // A long stale list: the window must replace it, not write over its start.
  windowDirectory->write("extensions.txt", std::string(100000, 'x') + "\n");
  ASSERT_EQ(0, chdir(windowDirectory->path().c_str()));
  DeviceManager::create("/usr/bin/cubewright-window-test", testWindowTitle(), 800, 600, false);
  ASSERT_EQ(0, chdir(previous));
  GLManager::endFrame();
  firstPeriod = GLManager::periodDuration;
}

const std::string& testWindowDirectory() { return windowDirectory->path(); }

int64_t firstFramePeriod() { return firstPeriod; }

void resetTestWindow() {
  ensureTestWindow();
  GLManager::scene2D->followWindow = true;
  if (GLManager::windowSize != Int2(800, 600)) {
    xdotool({"windowsize", testWindowId(), "800", "600"});
    ASSERT_TRUE(pumpUntil([] { return GLManager::windowSize == Int2(800, 600); }));
  }
  GLManager::scene2D->virtualSize = GLManager::windowSize;
  GLManager::scene2D->apply();
  xdotool({"windowfocus", "--sync", testWindowId()});
  GLManager::endFrame();
}

const std::string& testWindowId() {
  if (windowId.empty()) {
    ChildResult found = xdotool({"search", "--name", "^" + testWindowTitle() + "$"});
    windowId = found.out.substr(0, found.out.find('\n'));
  }
  return windowId;
}

ChildResult xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> command{"/usr/bin/xdotool"};
  command.insert(command.end(), args.begin(), args.end());
  return runProgram(command, "", {}, 20);
}

bool pumpUntil(const std::function<bool()>& done, int maxFrames) {
  for (int frame = 0; frame < maxFrames; ++frame) {
    GLManager::endFrame();
    if (done()) return true;
  }
  return false;
}

void start2DPicture() {
  GLManager::scene2D->beginDrawing();
  GLManager::clearScreen(Color(0, 0, 0, 255));
  glColor4f(1, 1, 1, 1);
}

void beginFlatPicture(double left, double right, double bottom, double top, double zNear, double zFar) {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(left, right, bottom, top, zNear, zFar);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_FOG);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glColor4f(1, 1, 1, 1);
  GLManager::clearScreen(Color(0, 0, 0, 255));
}

void endFlatPicture() {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

std::ostream& operator<<(std::ostream& out, const Color& c) {
  return out << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ", " << int(c.a) << ")";
}

Color readPixel(int x, int y) {
  unsigned char rgba[4] = {0, 0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, GLManager::windowSize.y() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  return Color(rgba[0], rgba[1], rgba[2], rgba[3]);
}

unsigned int makeTexture(int width, int height, const std::vector<Color>& texels) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  return texture;
}

unsigned int quadrantTexture() {
  static unsigned int texture = makeTexture(
      2, 2, {Color(255, 0, 0, 255), Color(0, 255, 0, 255), Color(0, 0, 255, 255), Color(255, 255, 255, 255)});
  return texture;
}

ChildResult runTestAlone(const std::string& testName) {
  char self[4096];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  self[length > 0 ? length : 0] = '\0';
  return runProgram({self, "--gtest_filter=" + testName}, "", {"CUBEWRIGHT_TEST_ALONE=1"}, 60);
}

bool runningAlone() {
  const char* value = std::getenv("CUBEWRIGHT_TEST_ALONE");
  return value != nullptr && value[0] == '1';
}

bool ranInOwnProcess() {
  if (runningAlone()) return false;
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  ChildResult result = runTestAlone(std::string(test->test_suite_name()) + "." + test->name());
  EXPECT_EQ(0, result.exitCode) << describe(result);
  return true;
}

void sendCloseRequest(const std::string& windowId) {
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(nullptr, display);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = std::strtoul(windowId.c_str(), nullptr, 10);
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(display);
}
