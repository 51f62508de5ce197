#include "Sound_OpenAL.h"

#include <AL/alut.h>
#include <chrono>
#include <thread>

#include "FatalReport.h"

unsigned int Sound_OpenAL::createBuffer(const std::string& filename) {
  ALuint buffer = alutCreateBufferFromFile(filename.c_str());
  if (buffer == 0) {
    std::string reason = alutGetErrorString(alutGetError());
    CHECK_MSG(false, filename + ": " + reason);
  }
  return buffer;
}

Sound_OpenAL* Sound_OpenAL::load(const std::string& filename) {
  ALuint source = 0;
  alGetError();  // forget errors of earlier calls
  alGenSources(1, &source);
  // OpenAL mixes a limited number of sources (256 by default).
  CHECK_MSG(alGetError() == AL_NO_ERROR, filename + ": OpenAL has no source left to play it");
  alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
  alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
  ALuint buffer = createBuffer(filename);
  alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
  return new Sound_OpenAL(buffer, source);
}

Sound_OpenAL::Sound_OpenAL(unsigned int buffer, unsigned int source) : buffer(buffer), source(source) {}

Sound_OpenAL::~Sound_OpenAL() {
  // A buffer still attached to a source cannot be deleted: detach it first.
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, 0);
  alDeleteBuffers(1, &buffer);
  alDeleteSources(1, &source);
}

void Sound_OpenAL::play(bool wait) {
  alSourcePlay(source);  // restarts a source that is already playing
  if (!wait) return;
  ALint state = AL_PLAYING;
  do {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    alGetSourcei(source, AL_SOURCE_STATE, &state);
  } while (state == AL_PLAYING);  // a paused source would never stop: do not wait for it
}

void Sound_OpenAL::setPosition(unsigned char value) {
  // One unit to the side of the listener at the ends, so the distance model
  // leaves the loudness as it is; OpenAL pans only one-channel sounds.
  float side = (static_cast<float>(value) - 128.0f) / 127.0f;
  if (side < -1.0f) side = -1.0f;
  alSource3f(source, AL_POSITION, side, 0.0f, 0.0f);
}

bool Sound_OpenAL::isPlaying() {
  ALint state = AL_STOPPED;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state != AL_STOPPED && state != AL_INITIAL;
}
