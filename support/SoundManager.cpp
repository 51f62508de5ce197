#include "SoundManager.h"

#include <AL/alc.h>
#include <AL/alext.h>
#include <AL/alut.h>
#include <iostream>

#include "FatalReport.h"
#include "FileManager.h"
#include "Sound_OpenAL.h"
#include "Sound_Silent.h"

// ALUT keeps one process-wide state, so two managers would share it.
static bool managerAlive = false;

SoundManager::SoundManager(const std::string& programPath)
    : programPathCopy(programPath.begin(), programPath.end()) {
  CHECK_MSG(!managerAlive, "only one sound manager may exist at a time");
  managerAlive = true;
  programPathCopy.push_back('\0');
  char* argv[] = {programPathCopy.data(), nullptr};
  int argc = 1;
  soundOn = alutInit(&argc, argv) == AL_TRUE;
  if (!soundOn) {
    std::cout << "Sound is off (ALUT: " << alutGetErrorString(alutGetError())
              << "); the game runs without sound." << std::endl;
    startSilently();
  }
}

void SoundManager::startSilently() {
  if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) return;
  auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
      alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  if (openLoopback == nullptr) return;
  silentDevice = openLoopback(nullptr);
  if (silentDevice == nullptr) return;
  const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                               ALC_SHORT_SOFT, ALC_FREQUENCY, 44100, 0};
  silentContext = alcCreateContext(silentDevice, attributes);
  if (silentContext != nullptr && alcMakeContextCurrent(silentContext) &&
      alutInitWithoutContext(nullptr, nullptr)) {
    return;
  }
  // No way to decode: sounds are then only checked to exist.
  alcMakeContextCurrent(nullptr);
  if (silentContext != nullptr) alcDestroyContext(silentContext);
  alcCloseDevice(silentDevice);
  silentContext = nullptr;
  silentDevice = nullptr;
}

SoundManager::~SoundManager() {
  while (!sounds.empty()) sounds.erase(sounds.begin());  // in name order
  if (soundOn || silentContext != nullptr) alutExit();
  if (silentContext != nullptr) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(silentContext);
    alcCloseDevice(silentDevice);
  }
  managerAlive = false;
}

Sound_Abstract* SoundManager::getSound(const std::string& filename) {
  auto found = sounds.find(filename);
  if (found != sounds.end()) return found->second.get();
  Sound_Abstract* sound = soundOn ? Sound_OpenAL::load(filename) : loadSilentSound(filename);
  sounds.emplace(filename, std::unique_ptr<Sound_Abstract>(sound));
  return sound;
}

Sound_Abstract* SoundManager::loadSilentSound(const std::string& filename) {
  if (silentContext != nullptr) {
    ALuint buffer = Sound_OpenAL::createBuffer(filename);
    alDeleteBuffers(1, &buffer);
  } else if (!FileManager::fileExists(filename)) {
    // The report ALUT gives for a file it cannot read.
    CHECK_MSG(false, filename + ": " + alutGetErrorString(ALUT_ERROR_IO_ERROR));
  }
  return new Sound_Silent();
}

bool SoundManager::isLiveSound(const void* handle) const {
  for (const auto& entry : sounds) {
    if (entry.second.get() == handle) return true;
  }
  return false;
}
