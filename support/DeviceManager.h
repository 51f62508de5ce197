#pragma once
// The one device manager of the run: the window, input and clocks of
// GLManager, plus the configuration every part reads its settings from.

#include <string>

#include "support/GLManager.h"
#include "support/XMLSimple.h"

class DeviceManager : public GLManager {
 public:
  // Opens the window; the configuration stays empty until the game fills it.
  static void create(const std::string& programPath, const std::string& title, int width, int height,
                     bool fullscreen);
  // Frees the configuration, the views and the keyboard manager. The window
  // itself is left to the process exit.
  static void destroy();

  XMLSimple config;

 private:
  DeviceManager(const std::string& programPath, const std::string& title, int width, int height,
                bool fullscreen);
  ~DeviceManager() override = default;
};

extern DeviceManager* deviceManager;
