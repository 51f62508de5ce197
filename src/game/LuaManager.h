#pragma once
// The game manager: opens the window, reads the configuration, runs the game
// script, and runs one frame after another with the main and options menus
// drawn over what the script drew.

#include <lua.hpp>
#include <string>

#include "support/GLManager.h"

class Font;
class SoundManager;
class Sprite;

// The engine's name and version, printed at start-up and shown in the main menu.
extern const char* const banner;

// Savegame requests of the script ("loadGame", "saveGame"); empty when none
// is pending. The game manager carries them out at its next pass.
extern std::string pendingLoadFile;
extern std::string pendingSaveFile;

// A clickable rectangle of a menu picture, in window pixels. Its bounds are
// strict: a click exactly on an edge is outside.
struct MenuRegion {
  int left, top, right, bottom;
  bool contains(int x, int y) const { return x > left && x < right && y > top && y < bottom; }
};

// The view distance after one click on "smaller" or "larger" in the options menu.
float changedViewDistance(float viewDistance, bool larger);

class LuaManager {
 public:
  LuaManager(const std::string& programPath, bool fullscreen, const std::string& worldDataFile,
             const std::string& worldLuaFile, const std::string& worldConfigFile);
  LuaManager(const LuaManager&) = delete;
  LuaManager& operator=(const LuaManager&) = delete;

  // One frame: present, input, script, menus.
  void loop();
  // Shutdown, in the reverse order of construction; called once after the last frame.
  void uninit();
  // Replaces the script with the one in `fileName` and calls its lua_onInitGame.
  void loadScript(const std::string& fileName);
  // Ends the current script, if any, with its lua_onUninitGame.
  void unloadScript();

  bool running = true;
  bool mainMenuShown = false;
  bool optionsMenuShown = false;
  Font* font = nullptr;
  SoundManager* soundManager = nullptr;
  lua_State* script = nullptr;
  Sprite* mainMenuSprite = nullptr;
  Sprite* optionsMenuSprite = nullptr;
  Sprite* mousePointerSprite = nullptr;
  // How far the world is drawn; the options menu changes it. The world scene
  // takes it over when it exists.
  float viewDistance = 1500;

 private:
  void handleKey(int key);
  void handleMouse(const MouseEvent& event);
  void handleMainMenuClick(int x, int y);
  void handleOptionsMenuClick(int x, int y);
  void handleSettingClick(int row, int column);
  void drawMenus();
  bool editorMenuOpen() const;
};
