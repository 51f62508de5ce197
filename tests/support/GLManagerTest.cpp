#include <gtest/gtest.h>
#include <unistd.h>

#include "support/DeviceManager.h"
#include "support/KeyboardManager.h"
#include "tests/common/ChildProcess.h"

namespace {

// The frame clock driven by hand: time moves only when the test (or the
// recorded sleep) moves it.
int64_t now = 0;
std::vector<int> sleeps;
int64_t handClock() { return now; }
void recordSleep(int milliseconds) {
  sleeps.push_back(milliseconds);
  now += int64_t(milliseconds) * 1000;
}

class FramePacing : public testing::Test {
 protected:
  void SetUp() override {
    realClock = GLManager::clockMicroseconds;
    realSleep = GLManager::sleepMilliseconds;
    GLManager::clockMicroseconds = handClock;
    GLManager::sleepMilliseconds = recordSleep;
    sleeps.clear();
  }
  void TearDown() override {
    GLManager::clockMicroseconds = realClock;
    GLManager::sleepMilliseconds = realSleep;
    GLManager::lastFrameMark = 0;
    GLManager::periodDuration = 0;
  }
  int64_t (*realClock)() = nullptr;
  void (*realSleep)(int) = nullptr;
};

TEST_F(FramePacing, SleepsTheRestOfTenMillisecondsInWholeMilliseconds) {
  const struct {
    int64_t work;  // microseconds since the end of the previous frame
    std::vector<int> expectedSleeps;
  } cases[] = {{3000, {7}}, {3999, {7}}, {0, {10}}, {9999, {1}}, {10000, {}}, {12000, {}}};
  for (const auto& c : cases) {
    GLManager::lastFrameMark = 5000000;
    now = GLManager::lastFrameMark + c.work;
    sleeps.clear();
    GLManager::waitForFramePace();
    EXPECT_EQ(c.expectedSleeps, sleeps) << c.work << " us of work";
  }
}

TEST_F(FramePacing, PeriodIsMeasuredFromTheLastMarkAndCapped) {
  now = 7000000;
  GLManager::lastFrameMark = 0;
  GLManager::measureFramePeriod();
  EXPECT_EQ(200000, GLManager::periodDuration) << "the first frame measures from 0";
  EXPECT_EQ(7000000, GLManager::lastFrameMark);
  const struct {
    int64_t elapsed, expected;
  } cases[] = {{10000, 10000}, {199999, 199999}, {200000, 200000}, {200001, 200000}, {3000000, 200000}};
  for (const auto& c : cases) {
    now += c.elapsed;
    GLManager::measureFramePeriod();
    EXPECT_EQ(c.expected, GLManager::periodDuration) << c.elapsed;
    EXPECT_EQ(now, GLManager::lastFrameMark);
  }
}

TEST(TimeMilliseconds, CountsFromTheStartOfTheFirstCallsSecond) {
  ChildResult result = runInChild([] {
    int first = getTimeMilliseconds();
    int later = getTimeMilliseconds();
    if (first < 0 || first > 999) _exit(2);
    if (later < first) _exit(3);
  });
  EXPECT_EQ(0, result.exitCode) << "2: first call outside 0..999, 3: the clock went back";
}

TEST(DeviceManager, DestroyingNoneIsFatal) {
  ChildResult result = runInChild([] { DeviceManager::destroy(); });
  EXPECT_EQ(1, result.exitCode) << describe(result);
  EXPECT_NE(std::string::npos, result.err.find("\nCondition: deviceManager != NULL\n")) << result.err;
}

TEST(DeviceManager, NoDisplayIsFatalWithAClearMessage) {
  ChildResult result = runInChild([] {
    unsetenv("DISPLAY");
    DeviceManager::create("cubewright", "", 800, 600, false);
  });
  EXPECT_EQ(1, result.exitCode) << describe(result);
  EXPECT_NE(std::string::npos, result.err.find("\nMessage: freeglut: failed to open display")) << result.err;
}

TEST(GLManager, ATextureWithoutPixelsIsFatal) {
  ChildResult result = runInChild([] { GLManager::createTexture(nullptr, 2, 2, false); });
  EXPECT_EQ(1, result.exitCode) << describe(result);
  EXPECT_NE(std::string::npos, result.err.find("\nCondition: data != NULL\n")) << result.err;
}

TEST(KeyboardManager, StartsWithAllKeysUpAndKnowsTheSpecialKeys) {
  KeyboardManager keyboard;
  EXPECT_EQ(&keyboard, KeyboardManager::instance);
  for (bool held : keyboard.keys) EXPECT_FALSE(held);
  EXPECT_TRUE(keyboard.keysPressed.empty());
  // freeglut's numbers: F1..F12 are 1..12, left/up/right/down 100..103, page up/down 104/105.
  const struct {
    int glutKey, code;
  } table[] = {{1, 256}, {12, 267}, {100, 29}, {101, 30}, {102, 28}, {103, 31}, {104, 33}, {105, 34},
               {106, -1}, {107, -1}, {108, -1}, {0, -1}, {13, -1}};
  for (const auto& key : table) EXPECT_EQ(key.code, KeyboardManager::specialKeyCode(key.glutKey)) << key.glutKey;
}

}  // namespace
