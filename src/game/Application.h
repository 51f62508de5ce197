#pragma once
// The process entry: reads the command line and runs the game manager frame
// by frame until the game is over.

#include <string>
#include <vector>

// What the command line asks for.
struct StartupSettings {
  bool fullscreen = false;
  std::string worldDataFile = "world.dat";
  std::string worldLuaFile = "world.lua";
  std::string worldConfigFile = "world.xml";
  bool showHelp = false;     // "--help" seen before anything that ends the scan
  bool showVersion = false;  // "--version" likewise
};

// The program path followed by the arguments, as the process received them.
std::vector<std::string> getCommandLineArguments(int argc, char** argv);

// Scans the arguments from element 1. Unknown arguments are ignored; a value
// option without its value is the fatal report "Bad arguments!".
StartupSettings parseCommandLine(const std::vector<std::string>& args);

// Runs the whole program; returns the exit status (0).
int applicationMain(const std::vector<std::string>& args);

// The text "--help" prints.
std::string usageText();
