// The real program in a temporary game folder, driven with real X input.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <unistd.h>

#include "tests/common/GameProcess.h"
#include "tests/common/TempDir.h"

namespace {

namespace fs = std::filesystem;

// A game folder with the demo's pictures, a world file, a configuration and
// the given script. Every script gets a lua_getNbObjects that prints, so a
// test can see which keys and clicks reached the game.
class GameFolder {
 public:
  explicit GameFolder(const std::string& script) {
    const fs::path demo = fs::path(CUBEWRIGHT_SOURCE_DIR) / "game";
    for (const char* asset : {"default_font.png", "whiteTexture.png", "world.dat", "world.xml"})
      fs::copy_file(demo / asset, fs::path(dir.path()) / asset);
    fs::copy(demo / "menus", fs::path(dir.path()) / "menus");
    dir.write("world.lua",
              "function lua_onInitGame() end\n"
              "function lua_onUninitGame() print('uninit') end\n"
              "function lua_getNbObjects() print('game input') return 0 end\n"
              "function lua_loop() end\n" +
                  script);
  }
  const std::string& path() const { return dir.path(); }
  TempDir dir;
};

// How many times `text` occurs in `haystack`.
int count(const std::string& haystack, const std::string& text) {
  int n = 0;
  for (size_t at = haystack.find(text); at != std::string::npos; at = haystack.find(text, at + 1)) ++n;
  return n;
}

class GameManagerTest : public testing::Test {
 protected:
  // Starts the game and waits for its first frame and, for input, its window.
  void start(const std::string& script, bool forInput = true) {
    folder.reset(new GameFolder(script));
    game.reset(new GameProcess(folder->path()));
    ASSERT_TRUE(game->waitForOutput("================ Initialized, first draw ...\n")) << game->out() << game->err();
    if (forInput) {
      ASSERT_FALSE(game->waitForWindow().empty()) << game->err();
    }
  }
  // Sends a key that the game would pass on, and tells whether it reached the game.
  bool probeReachesGame() {
    int before = count(game->out(), "game input");
    game->key("x");
    // The game runs a frame every 10 ms: two seconds without an answer is a no.
    return waitFor([&] { return count(game->out(), "game input") > before; }, 2);
  }
  // Escape in the game: opens the main menu and, like every key, reaches the
  // game; waits until it has.
  void openMainMenu() {
    int before = count(game->out(), "game input");
    game->key("Escape");
    ASSERT_TRUE(waitFor([&] { return count(game->out(), "game input") == before + 1; }, 3)) << game->out();
  }
  bool waitFor(const std::function<bool()>& done, double seconds) {
    for (double waited = 0; waited < seconds; waited += 0.05) {
      if (done()) return true;
      usleep(50000);
    }
    return done();
  }
  std::unique_ptr<GameFolder> folder;
  std::unique_ptr<GameProcess> game;
};

TEST_F(GameManagerTest, StartUpLinesComeInOrderAndQuitGameFinishesTheFrame) {
  start("function lua_onInitGame() print('init') end\n"
        "frames = 0\n"
        "function lua_loop() frames = frames + 1 print('frame ' .. frames) quitGame() print('after quit') end\n",
        false);
  EXPECT_EQ(0, game->waitForExit()) << game->err();
  const std::string out = game->out();
  const std::vector<std::string> lines = {
      "================ Initializing: Engine made by Tessaly, version 0.25\n",
      "==== Reload script file\n",
      "Loading script 'world.lua' ... done.\n",
      "lua print: init\n",
      "==== Script file reloaded\n",
      "================ Initialized, first draw ...\n",
      "lua print: frame 1\nlua print: after quit\n",
      "lua print: uninit\n",
  };
  size_t at = 0;
  for (const std::string& line : lines) {
    size_t found = out.find(line, at);
    EXPECT_NE(std::string::npos, found) << "missing in order: " << line << "\n" << out;
    if (found != std::string::npos) at = found + line.size();
  }
  EXPECT_EQ(std::string::npos, out.find("frame 2")) << "no frame runs after quitGame";
  EXPECT_EQ("", game->err());
}

TEST_F(GameManagerTest, ScriptErrorsEndWithTheReport) {
  struct Case {
    const char* script;
    const char* message;
  };
  const Case cases[] = {
      {"function lua_loop() undefinedFunction() end\n",
       "Message: lua ('calling function lua_loop'): world.lua:5: attempt to call global 'undefinedFunction' (a nil "
       "value)\n"},
      {"function lua_loop( end\n", "Message: lua ('in file world.lua'): world.lua:5: "},
      {"error({})\n", "Message: lua ('in file world.lua'): "},
  };
  for (const Case& c : cases) {
    GameFolder folder(c.script);
    GameProcess game(folder.path());
    EXPECT_EQ(1, game.waitForExit()) << c.script << game.out();
    EXPECT_EQ(0u, game.err().find("ERROR : The program aborted unexpectedly.")) << game.err();
    EXPECT_NE(std::string::npos, game.err().find(c.message)) << game.err();
  }
}

TEST_F(GameManagerTest, MissingGameFilesAreNamed) {
  struct Case {
    const char* file;
    const char* condition;
  };
  const Case cases[] = {
      {"world.dat", "Condition: FileManager::fileExists(worldDataFile)\n"},
      {"world.lua", "Condition: FileManager::fileExists(worldLuaFile)\n"},
      {"world.xml", "Condition: FileManager::fileExists(worldConfigFile)\n"},
  };
  for (const Case& c : cases) {
    GameFolder folder("");
    fs::remove(fs::path(folder.path()) / c.file);
    GameProcess game(folder.path());
    EXPECT_EQ(1, game.waitForExit()) << c.file;
    EXPECT_NE(std::string::npos, game.err().find(c.condition)) << game.err();
    EXPECT_NE(std::string::npos, game.err().find(c.file)) << game.err();
    EXPECT_EQ(std::string::npos, game.out().find("Initializing")) << "checked before anything starts";
  }
}

TEST_F(GameManagerTest, EscapeOpensTheMainMenuAndStillReachesTheGame) {
  start("");
  game->key("q");  // in the game, q is an ordinary key
  ASSERT_TRUE(waitFor([&] { return count(game->out(), "game input") == 1; }, 3)) << game->out();
  EXPECT_TRUE(game->running());

  openMainMenu();
  EXPECT_FALSE(probeReachesGame()) << "keys typed with the menu open stay in the menu";
  game->key("Escape");  // back to the game
  EXPECT_TRUE(probeReachesGame());
  game->key("Escape");
  game->key("Q");  // letters are compared case-insensitively
  EXPECT_EQ(0, game->waitForExit()) << game->err();
  EXPECT_NE(std::string::npos, game->out().find("lua print: uninit\n"));
}

// The colour of one pixel of a screenshot, as ImageMagick writes it ("srgb(r,g,b)").
std::string pixelAt(const std::string& picture, int x, int y) {
  std::string text = commandOutput(
      {"convert", picture, "-format", "%[pixel:p{" + std::to_string(x) + "," + std::to_string(y) + "}]", "info:"});
  return text;
}

TEST_F(GameManagerTest, MainMenuIsDrawnOverTheDarkenedPicture) {
  start("function lua_onInitGame() setFogColor(0, 200, 0) end\n"
        "frames = 0\n"
        "function lua_loop() clearBackground() frames = frames + 1 if frames == 5 then print('drawn') end end\n");
  ASSERT_TRUE(game->waitForOutput("lua print: drawn\n"));  // a few pictures have been shown
  std::string before = folder->dir.file("before.png"), after = folder->dir.file("after.png");
  ASSERT_TRUE(game->screenshot(before));
  EXPECT_EQ("srgb(0,200,0)", pixelAt(before, 700, 550));
  openMainMenu();
  usleep(300000);  // the menu is shown from the next frame on
  ASSERT_TRUE(game->screenshot(after));
  EXPECT_EQ("srgb(0,100,0)", pixelAt(after, 790, 590)) << "half-dark overlay outside the menu picture";
  std::string button = pixelAt(after, 60, 200);  // inside "back to game"
  EXPECT_NE("srgb(0,100,0)", button);
  EXPECT_NE("srgb(0,200,0)", button);
}

TEST_F(GameManagerTest, MainMenuButtonsHaveStrictBounds) {
  start("");
  openMainMenu();
  // On the bounds of "back to game" nothing happens.
  for (auto point : {std::make_pair(50, 180), std::make_pair(150, 180), std::make_pair(100, 150),
                     std::make_pair(100, 215)})
    game->click(point.first, point.second);
  EXPECT_FALSE(probeReachesGame());
  // A press outside and a release inside "Quit" is not a click on it.
  game->mouseMove(300, 380);
  game->mouseDown();
  game->mouseMove(100, 380);
  game->mouseUp();
  EXPECT_FALSE(probeReachesGame());  // still in the menu
  EXPECT_TRUE(game->running());
  game->click(51, 151);  // just inside "back to game"
  EXPECT_TRUE(probeReachesGame());

  openMainMenu();
  game->click(100, 280);  // options
  EXPECT_FALSE(probeReachesGame());  // the key closes the options menu and opens the main menu
  EXPECT_FALSE(probeReachesGame());  // still in the main menu
  game->click(100, 280);
  game->click(235, 30);  // options: back to the main menu
  game->click(149, 414);  // quit, just inside its corner
  EXPECT_EQ(0, game->waitForExit()) << game->err();
}

TEST_F(GameManagerTest, OptionsMenuSwitchesDisplayModes) {
  start("");
  openMainMenu();
  game->click(100, 280);
  game->click(100, 125);  // windowed 800 x 600
  ASSERT_TRUE(game->waitForOutput("Set to windowed mode 800x600\n")) << game->out();
  game->click(300, 125);  // full screen 640 x 480
  ASSERT_TRUE(game->waitForOutput("Set to fullscreen mode 640x480\n")) << game->out();
  game->click(100, 125);  // once full screen, the windowed button does nothing
  game->click(100, 175);  // full screen 1024 x 768
  ASSERT_TRUE(game->waitForOutput("Set to fullscreen mode 1024x768\n")) << game->out();
  EXPECT_EQ(1, count(game->out(), "Set to windowed mode"));
  game->key("Escape");  // any key: back to the main menu
  game->key("q");
  EXPECT_EQ(0, game->waitForExit()) << game->err();
}

TEST_F(GameManagerTest, ClosingTheWindowEndsTheGameLikeQuit) {
  start("");
  game->closeWindow();
  EXPECT_EQ(0, game->waitForExit()) << game->err();
  EXPECT_NE(std::string::npos, game->out().find("lua print: uninit\n"));
}

}  // namespace
