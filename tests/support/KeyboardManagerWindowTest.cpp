#include <gtest/gtest.h>

#include <algorithm>

#include "support/GLManager.h"
#include "support/KeyboardManager.h"
#include "tests/common/TestWindow.h"

namespace {

class KeyboardInput : public testing::Test {
 protected:
  void SetUp() override {
    resetTestWindow();
    keyboard = GLManager::keyboardManager;
  }
  void TearDown() override {
    // Never leave a key held for the next test.
    for (const std::string& key : held) xdotool({"keyup", key});
    GLManager::endFrame();
  }
  // Presses (and holds) a key, named as xdotool names it.
  void press(const char* key) {
    held.push_back(key);
    xdotool({"keydown", key});
  }
  void release(const char* key) {
    held.erase(std::remove(held.begin(), held.end(), std::string(key)), held.end());
    xdotool({"keyup", key});
  }
  // Types a key with shift held, releasing the key before shift as a typist
  // does (xdotool's "shift+x" lets go of shift first).
  void typeShifted(const char* key) {
    xdotool({"keydown", "shift", "keydown", key, "keyup", key, "keyup", "shift"});
  }
  // Ends frames until the frame's typed keys include `code`.
  bool pumpUntilTyped(int code) {
    return pumpUntil([&] { return count(keyboard->keysPressed, code) > 0; });
  }
  static int count(const std::vector<int>& codes, int code) { return int(std::count(codes.begin(), codes.end(), code)); }

  KeyboardManager* keyboard = nullptr;
  std::vector<std::string> held;
};

TEST_F(KeyboardInput, KeyDownAndUpSetTheStateAndTypeOnce) {
  press("a");
  ASSERT_TRUE(pumpUntilTyped('a'));
  EXPECT_EQ(std::vector<int>{'a'}, keyboard->getKeysPressed());
  EXPECT_TRUE(keyboard->keys['a']);
  GLManager::endFrame();
  EXPECT_TRUE(keyboard->keysPressed.empty()) << "the list holds only the last pump's keys";
  EXPECT_TRUE(keyboard->keys['a']) << "the state persists while the key is held";

  release("a");
  ASSERT_TRUE(pumpUntil([&] { return !keyboard->keys['a']; }));
  EXPECT_TRUE(keyboard->keysPressed.empty()) << "a release types nothing";
}

TEST_F(KeyboardInput, CharactersArriveAsTypedBytes) {
  typeShifted("b");
  EXPECT_TRUE(pumpUntilTyped('B'));
  EXPECT_TRUE(pumpUntil([&] { return !keyboard->keys['B']; }));
  // Control keys arrive as their control codes.
  const struct {
    const char* key;
    int code;
  } cases[] = {{"BackSpace", 8}, {"Tab", 9}, {"Return", 13}, {"Escape", 27}, {"Delete", 127}};
  for (const auto& c : cases) {
    xdotool({"key", c.key});
    EXPECT_TRUE(pumpUntilTyped(c.code)) << c.key;
    EXPECT_TRUE(pumpUntil([&] { return !keyboard->keys[c.code]; })) << c.key;
  }
}

TEST_F(KeyboardInput, SpecialKeysMapToTheirCodesAndOthersAreIgnored) {
  const struct {
    const char* key;
    int code;
  } cases[] = {{"F1", 256}, {"F5", 260}, {"F12", 267}, {"Right", 28}, {"Left", 29},
               {"Up", 30},  {"Down", 31}, {"Prior", 33}, {"Next", 34}};
  for (const auto& c : cases) {
    press(c.key);
    ASSERT_TRUE(pumpUntilTyped(c.code)) << c.key;
    EXPECT_EQ(std::vector<int>{c.code}, keyboard->keysPressed) << c.key;
    EXPECT_TRUE(keyboard->keys[c.code]) << c.key;
    release(c.key);
    EXPECT_TRUE(pumpUntil([&] { return !keyboard->keys[c.code]; })) << c.key;
  }
  // Home, End and Insert type nothing; a later key shows the pump went by.
  for (const char* ignored : {"Home", "End", "Insert"}) xdotool({"key", ignored});
  xdotool({"key", "z"});
  std::vector<int> typed;
  ASSERT_TRUE(pumpUntil([&] {
    typed.insert(typed.end(), keyboard->keysPressed.begin(), keyboard->keysPressed.end());
    return count(typed, 'z') > 0;
  }));
  EXPECT_EQ(std::vector<int>{'z'}, typed);
}

TEST_F(KeyboardInput, ExclamationMarkAndPageUpShareCode33) {
  press("Prior");
  ASSERT_TRUE(pumpUntilTyped(33));
  // "!" typed and released while page up is still held clears the shared state.
  typeShifted("1");
  ASSERT_TRUE(pumpUntilTyped(33));
  EXPECT_TRUE(pumpUntil([&] { return !keyboard->keys[33]; }));
  release("Prior");
}

TEST_F(KeyboardInput, AutoRepeatTypesTheKeyAgainWhileHeld) {
  press("r");
  int typed = 0;
  // The server repeats after about half a second, then every 40 ms or so.
  EXPECT_TRUE(pumpUntil([&] {
    typed += count(keyboard->keysPressed, 'r');
    return typed >= 4;
  }));
  release("r");
  ASSERT_TRUE(pumpUntil([&] { return !keyboard->keys['r']; }));
  GLManager::endFrame();
  EXPECT_EQ(0, count(keyboard->keysPressed, 'r')) << "no repeat after the release";
}

}  // namespace
