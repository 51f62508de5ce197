#pragma once
// The stand-in for a sound when no audio device could be opened: the game
// keeps its handle and calls, but nothing is heard and it never plays.

#include "Sound_Abstract.h"

class Sound_Silent : public Sound_Abstract {
 public:
  void play(bool) override {}
  void setPosition(unsigned char) override {}
  bool isPlaying() override { return false; }
};
