#pragma once
// A sound decoded by ALUT into one OpenAL buffer and played by its own
// source, which sits at the listener's position.

#include <string>

#include "Sound_Abstract.h"

class Sound_OpenAL : public Sound_Abstract {
 public:
  // Loads `filename` (any format ALUT reads). A file that cannot be read or
  // decoded ends with the fatal report naming the file and ALUT's reason.
  static Sound_OpenAL* load(const std::string& filename);
  // Decodes `filename` into a new OpenAL buffer, with the same fatal report.
  static unsigned int createBuffer(const std::string& filename);

  Sound_OpenAL(unsigned int buffer, unsigned int source);
  ~Sound_OpenAL() override;
  Sound_OpenAL(const Sound_OpenAL&) = delete;
  Sound_OpenAL& operator=(const Sound_OpenAL&) = delete;

  void play(bool wait) override;
  void setPosition(unsigned char value) override;
  bool isPlaying() override;

  unsigned int buffer;  // OpenAL buffer name holding the decoded samples
  unsigned int source;  // OpenAL source name that plays the buffer
};
