#include "KeyboardManager.h"

#include <GL/freeglut.h>

#include "support/FatalReport.h"

KeyboardManager* KeyboardManager::instance = nullptr;

// freeglut's special keys that the engine knows, with their key codes.
static const struct {
  int glutKey;
  int code;
} specialKeys[] = {
    {GLUT_KEY_F1, 256},      {GLUT_KEY_F2, 257},         {GLUT_KEY_F3, 258},    {GLUT_KEY_F4, 259},
    {GLUT_KEY_F5, 260},      {GLUT_KEY_F6, 261},         {GLUT_KEY_F7, 262},    {GLUT_KEY_F8, 263},
    {GLUT_KEY_F9, 264},      {GLUT_KEY_F10, 265},        {GLUT_KEY_F11, 266},   {GLUT_KEY_F12, 267},
    {GLUT_KEY_LEFT, 29},     {GLUT_KEY_UP, 30},          {GLUT_KEY_RIGHT, 28},  {GLUT_KEY_DOWN, 31},
    {GLUT_KEY_PAGE_UP, 33},  {GLUT_KEY_PAGE_DOWN, 34},
};

KeyboardManager::KeyboardManager() : keys{} { instance = this; }

KeyboardManager::~KeyboardManager() {
  if (instance == this) instance = nullptr;
}

void KeyboardManager::install() {
  instance = this;
  CHECK(this != NULL);
  glutKeyboardFunc(keyDownCallback);
  glutKeyboardUpFunc(keyUpCallback);
  glutSpecialFunc(specialDownCallback);
  glutSpecialUpFunc(specialUpCallback);
}

int KeyboardManager::specialKeyCode(int glutKey) {
  for (const auto& key : specialKeys)
    if (key.glutKey == glutKey) return key.code;
  return -1;
}

void KeyboardManager::onKeyDown(int code) {
  CHECK(code >= 0 && code < KEY_COUNT);
  keysPressed.push_back(code);
  keys[code] = true;
}

void KeyboardManager::onKeyUp(int code) {
  CHECK(code >= 0 && code < KEY_COUNT);
  keys[code] = false;
}

void KeyboardManager::keyDownCallback(unsigned char character, int, int) { instance->onKeyDown(character); }

void KeyboardManager::keyUpCallback(unsigned char character, int, int) { instance->onKeyUp(character); }

void KeyboardManager::specialDownCallback(int key, int, int) {
  int code = specialKeyCode(key);
  if (code >= 0) instance->onKeyDown(code);
}

void KeyboardManager::specialUpCallback(int key, int, int) {
  int code = specialKeyCode(key);
  if (code >= 0) instance->onKeyUp(code);
}
