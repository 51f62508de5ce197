#pragma once
// A sound effect as the game sees it: something that can be started and asked
// whether it is still playing. The sound manager owns every sound.

class Sound_Abstract {
 public:
  // Starts the sound from its beginning, also when it is already playing.
  // With `wait` set, returns only once it has finished.
  virtual void play(bool wait) = 0;
  // Places the sound between the left (0) and the right (255) speaker; 128
  // is the middle, where every sound starts.
  virtual void setPosition(unsigned char value) = 0;
  // True while the sound plays or is paused; false when it has finished or
  // has never been started.
  virtual bool isPlaying() = 0;
  virtual ~Sound_Abstract() = default;
};
