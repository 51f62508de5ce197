#pragma once
// Loads each sound file once, by name, and keeps it until the manager is
// destroyed. When no audio device can be opened the game still runs: one
// line says that sound is off, files are still loaded and checked, and the
// sounds handed out are silent.

#include <AL/alc.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Sound_Abstract.h"

class SoundManager {
 public:
  // Starts ALUT with a one-element argument list holding `programPath`.
  // Only one sound manager may exist at a time.
  explicit SoundManager(const std::string& programPath);
  // Deletes every sound, in name order, then shuts ALUT down.
  ~SoundManager();
  SoundManager(const SoundManager&) = delete;
  SoundManager& operator=(const SoundManager&) = delete;

  // The sound stored under `filename`; the first request loads the file.
  // A file that cannot be read or decoded ends with the fatal report.
  Sound_Abstract* getSound(const std::string& filename);
  // True when `handle` is one of the sounds this manager handed out.
  bool isLiveSound(const void* handle) const;
  // False when no audio device could be opened and every sound is silent.
  bool isSoundOn() const { return soundOn; }

  std::map<std::string, std::unique_ptr<Sound_Abstract>> sounds;  // by exact file name

 private:
  void startSilently();
  Sound_Abstract* loadSilentSound(const std::string& filename);

  std::vector<char> programPathCopy;  // ALUT's argument list points here
  bool soundOn = false;
  // Without an audio device: a device that renders nowhere, so that ALUT can
  // still decode the files and reject a bad one as it would with sound on.
  ALCdevice* silentDevice = nullptr;
  ALCcontext* silentContext = nullptr;
};
