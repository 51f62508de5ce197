#include "LuaManager.h"

#include <GL/gl.h>
#include <iostream>
#include <sstream>

#include "LuaFuncs.h"
#include "src/script/ScriptHost.h"
#include "src/world/RegionMeshBuilder.h"
#include "src/world/WorldIndexator.h"
#include "support/DeviceManager.h"
#include "support/DrawingRoutines.h"
#include "support/FatalReport.h"
#include "support/FileManager.h"
#include "support/Font.h"
#include "support/KeyboardManager.h"
#include "support/Scene2D.h"
#include "support/SoundManager.h"
#include "support/Sprite.h"
#include "support/SpriteManager.h"

const char* const banner = "Engine made by Tessaly, version 0.25";

std::string pendingLoadFile;
std::string pendingSaveFile;

namespace {

const int KEY_ESCAPE = 27;

// Main menu buttons, top to bottom.
const MenuRegion backToGameButton = {50, 150, 150, 215};
const MenuRegion optionsButton = {50, 250, 150, 315};
const MenuRegion quitButton = {50, 350, 150, 415};

// Options menu: the back button, two rows of four display modes (columns of
// 100 pixels from x = 50) and four settings rows of 50 pixels with two
// columns of 100 pixels from (250, 250).
const MenuRegion optionsBackButton = {200, 10, 270, 50};
const MenuRegion displayModeRows[2] = {{50, 100, 450, 150}, {50, 150, 450, 200}};
const MenuRegion settingsBlock = {250, 250, 450, 450};

// What each display-mode button asks for; width 0 is the desktop's own size.
struct DisplayMode {
  int width, height;
  bool fullscreen;
};
const DisplayMode displayModes[2][4] = {
    {{800, 600, false}, {0, 0, true}, {640, 480, true}, {800, 600, true}},
    {{1024, 768, true}, {1280, 1024, true}, {1280, 800, true}, {1920, 1200, true}},
};

void setDisplayMode(const DisplayMode& mode) {
  if (!mode.fullscreen) {
    // Nothing ever leaves full screen once it has been entered.
    if (!GLManager::isFullscreen) GLManager::setWindowedMode(mode.width, mode.height);
    return;
  }
  if (mode.width == 0) GLManager::setDesktopFullscreen();
  else GLManager::setFullscreenMode(mode.width, mode.height);
  GLManager::isFullscreen = true;
}

}  // namespace

float changedViewDistance(float viewDistance, bool larger) {
  float d = viewDistance - 400;
  if (larger) return 400 + d * 1.2f;
  return d > 10 ? 400 + d / 1.2f : viewDistance;
}

LuaManager::LuaManager(const std::string& programPath, bool fullscreen, const std::string& worldDataFile,
                       const std::string& worldLuaFile, const std::string& worldConfigFile) {
  CHECK_MSG(FileManager::fileExists(worldDataFile), "cannot read the world file '" + worldDataFile + "'");
  CHECK_MSG(FileManager::fileExists(worldLuaFile), "cannot read the script file '" + worldLuaFile + "'");
  CHECK_MSG(FileManager::fileExists(worldConfigFile),
            "cannot read the configuration file '" + worldConfigFile + "'");
  std::cout << "================ Initializing: " << banner << std::endl;

  DeviceManager::create(programPath, "", 800, 600, fullscreen);
  deviceManager->config = XMLSimple(worldConfigFile);
  soundManager = new SoundManager(programPath);
  font = new Font();
  GLManager::scene2D->followWindow = true;
  GLManager::hideMousePointer();

  mainMenuSprite = GLManager::spriteManager->createSprite("menus/main_menu.png", 1);
  optionsMenuSprite = GLManager::spriteManager->createSprite("menus/options_menu.png", 1);
  mousePointerSprite = GLManager::spriteManager->createSprite("menus/menu_mouse.png", 1);
  mainMenuSprite->position = Int2(0, 0);
  optionsMenuSprite->position = Int2(0, 0);

  loadScript(worldLuaFile);
  std::cout << "================ Initialized, first draw ..." << std::endl;
}

void LuaManager::loadScript(const std::string& fileName) {
  std::cout << "==== Reload script file" << std::endl;
  unloadScript();
  script = createScriptState(soundManager, font, fileName, scriptApi());
  callScriptFunction(script, "lua_onInitGame");
  std::cout << "==== Script file reloaded" << std::endl;
}

void LuaManager::unloadScript() {
  if (script == nullptr) return;
  callScriptFunction(script, "lua_onUninitGame");
  globalVars.clear();
  lua_close(script);
  script = nullptr;
}

void LuaManager::loop() {
  GLManager::endFrame();
  for (int key : GLManager::keyboardManager->getKeysPressed()) handleKey(key);
  for (const MouseEvent& event : GLManager::mouseEvents) handleMouse(event);
  callScriptFunction(script, "lua_loop");
  drawMenus();
  // Closing the window from the desktop ends the game like "q" does.
  if (quitRequested || GLManager::closeRequested) running = false;
}

bool LuaManager::editorMenuOpen() const {
  return false;  // the in-game editor, which has menus of its own, is not part of this build
}

void LuaManager::handleKey(int key) {
  if (optionsMenuShown) {
    optionsMenuShown = false;
    mainMenuShown = true;
    return;
  }
  bool escape = key == KEY_ESCAPE && !editorMenuOpen();
  if (mainMenuShown) {
    if (escape) mainMenuShown = optionsMenuShown = false;
    else if (key == 'q' || key == 'Q') running = false;
    return;
  }
  if (escape) {
    mainMenuShown = true;
    optionsMenuShown = false;
  }
  // The key also reaches the game; the script is asked for its number of
  // object types first, as every key handed to the world is.
  callScriptFunctionForNumber(script, "lua_getNbObjects");
}

void LuaManager::handleMouse(const MouseEvent& event) {
  if (mainMenuShown || optionsMenuShown) {
    if (event.kind != MOUSE_PRESSED) return;
    if (mainMenuShown) handleMainMenuClick(event.x, event.y);
    else handleOptionsMenuClick(event.x, event.y);
    return;
  }
  callScriptFunctionForNumber(script, "lua_getNbObjects");
}

void LuaManager::handleMainMenuClick(int x, int y) {
  if (backToGameButton.contains(x, y)) {
    mainMenuShown = false;
  } else if (optionsButton.contains(x, y)) {
    mainMenuShown = false;
    optionsMenuShown = true;
  } else if (quitButton.contains(x, y)) {
    running = false;
  }
}

void LuaManager::handleOptionsMenuClick(int x, int y) {
  if (optionsBackButton.contains(x, y)) {
    optionsMenuShown = false;
    mainMenuShown = true;
    return;
  }
  for (int row = 0; row < 2; ++row) {
    if (displayModeRows[row].contains(x, y)) {
      setDisplayMode(displayModes[row][(x - 50) / 100]);
      return;
    }
  }
  if (settingsBlock.contains(x, y)) handleSettingClick((y - 250) / 50, (x - 250) / 100);
}

void LuaManager::handleSettingClick(int row, int column) {
  bool second = column == 1;
  switch (row) {
    case 0:
      viewDistance = changedViewDistance(viewDistance, second);
      break;
    case 1:
      drawShadows = second;
      if (worldIndexator != nullptr) worldIndexator->dropAllMeshes();  // rebuilt with the new setting
      break;
    default:
      break;  // reversed mouse and progressive loading act on the player and the world
  }
}

void LuaManager::drawMenus() {
  if (!mainMenuShown && !optionsMenuShown) return;
  GLManager::scene2D->beginDrawing();  // whatever the script left behind
  glColor4ub(0, 0, 0, 128);
  glMatrixMode(GL_MODELVIEW);
  drawRect(Int2(0, 0), GLManager::scene2D->virtualSize, true);
  glColor4ub(255, 255, 255, 255);
  if (mainMenuShown) {
    mainMenuSprite->draw();
    Color remembered = GLManager::getCurrentColor();
    glColor4ub(255, 255, 255, 255);
    font->drawText(Float2(1, 1), banner, 155, 100);
    std::ostringstream fps;
    fps << "FPS: " << static_cast<float>(1000000.0 / GLManager::periodDuration) << "\n";
    font->drawText(Float2(1, 1), fps.str().c_str(), 155, 100 + font->getHeight());
    glColor4ub(remembered.r, remembered.g, remembered.b, remembered.a);
  }
  if (optionsMenuShown) optionsMenuSprite->draw();
  mousePointerSprite->position = GLManager::mousePosition;
  mousePointerSprite->draw();
}

void LuaManager::uninit() {
  unloadScript();
  GLManager::spriteManager->removeSprite(mainMenuSprite);
  GLManager::spriteManager->removeSprite(optionsMenuSprite);
  GLManager::spriteManager->removeSprite(mousePointerSprite);
  delete soundManager;
  soundManager = nullptr;
  delete font;
  font = nullptr;
  DeviceManager::destroy();
}
