#include "Application.h"

#include <iostream>

#include "LuaManager.h"
#include "platform/Platform.h"
#include "support/FatalReport.h"

std::vector<std::string> getCommandLineArguments(int argc, char** argv) {
  return platform::commandLineArguments(argc, argv);
}

StartupSettings parseCommandLine(const std::vector<std::string>& args) {
  StartupSettings settings;
  struct ValueOption {
    const char* name;
    std::string StartupSettings::*target;
  };
  static const ValueOption valueOptions[] = {
      {"--world_dat", &StartupSettings::worldDataFile},
      {"--world_lua", &StartupSettings::worldLuaFile},
      {"--world_config", &StartupSettings::worldConfigFile},
  };

  size_t i = 1;
  while (i < args.size()) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "--version") {
      // Either one ends the program at once, so later arguments do not matter.
      (arg == "--help" ? settings.showHelp : settings.showVersion) = true;
      return settings;
    }
    if (arg == "--fullscreen") {
      settings.fullscreen = true;
      i += 1;
      continue;
    }
    bool taken = false;
    for (const ValueOption& option : valueOptions) {
      if (arg != option.name) continue;
      if (i + 1 >= args.size()) FATAL_ERROR("Bad arguments!");
      settings.*option.target = args[i + 1];  // never read as an option itself
      i += 2;
      taken = true;
      break;
    }
    if (!taken) i += 1;
  }
  return settings;
}

std::string usageText() {
  return std::string("Usage: cubewright [options]\n") +
         "Runs the game whose files are in the current directory:\n"
         "  world.dat   the world (cube types, zones and objects)\n"
         "  world.lua   the game script\n"
         "  world.xml   the configuration\n"
         "together with the images, sounds and models they name.\n"
         "Options:\n"
         "  --fullscreen          start in full screen\n"
         "  --world_dat FILE      world file to load (default world.dat)\n"
         "  --world_lua FILE      game script to run (default world.lua)\n"
         "  --world_config FILE   configuration file (default world.xml)\n"
         "  --help                print this text\n"
         "  --version             print the engine version\n"
         "Environment:\n"
         "  CUBEWRIGHT_NO_DIALOG=1  report problems on standard error only, without a dialog\n";
}

int applicationMain(const std::vector<std::string>& args) {
  StartupSettings settings = parseCommandLine(args);
  if (settings.showHelp) {
    std::cout << usageText();
    return 0;
  }
  if (settings.showVersion) {
    std::cout << banner << std::endl;
    return 0;
  }
  LuaManager game(args[0], settings.fullscreen, settings.worldDataFile, settings.worldLuaFile,
                  settings.worldConfigFile);
  while (game.running) game.loop();
  game.uninit();
  return 0;
}
