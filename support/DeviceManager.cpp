#include "DeviceManager.h"

#include "support/FatalReport.h"

DeviceManager* deviceManager = nullptr;

DeviceManager::DeviceManager(const std::string& programPath, const std::string& title, int width, int height,
                             bool fullscreen) {
  init(programPath, title, width, height, fullscreen);
}

void DeviceManager::create(const std::string& programPath, const std::string& title, int width, int height,
                           bool fullscreen) {
  CHECK(deviceManager == NULL);
  deviceManager = new DeviceManager(programPath, title, width, height, fullscreen);
}

void DeviceManager::destroy() {
  CHECK(deviceManager != NULL);
  delete deviceManager;
  deviceManager = nullptr;
}
