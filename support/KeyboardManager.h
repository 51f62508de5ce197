#pragma once
// Key states and the keys typed during the last event pump, fed by the
// window toolkit's keyboard callbacks.
//
// Key codes: 0 to 255 the typed character as an unsigned byte; 28 right,
// 29 left, 30 up, 31 down, 33 page up, 34 page down (shared with the
// characters of those codes); 256 to 267 F1 to F12. Other special keys are
// ignored.

#include <vector>

class KeyboardManager {
 public:
  static constexpr int KEY_COUNT = 268;

  KeyboardManager();
  ~KeyboardManager();

  // Makes this the instance the callbacks reach and registers them.
  void install();
  std::vector<int> getKeysPressed() const { return keysPressed; }

  // The key code of a freeglut special key, or -1 for a key the engine ignores.
  static int specialKeyCode(int glutKey);

  void onKeyDown(int code);
  void onKeyUp(int code);

  bool keys[KEY_COUNT];          // true while the key is held
  std::vector<int> keysPressed;  // one entry per key-down event (repeats included), in order

  static KeyboardManager* instance;

 private:
  static void keyDownCallback(unsigned char character, int x, int y);
  static void keyUpCallback(unsigned char character, int x, int y);
  static void specialDownCallback(int key, int x, int y);
  static void specialUpCallback(int key, int x, int y);
};
