#pragma once
// Sound fixtures and OpenAL Soft driver selection for the tests.
//
// OpenAL Soft reads its driver choice once, when the first device is opened,
// so every test that touches OpenAL runs in a child (runInChild) that picks
// its driver with useAudioDriver before anything else.

#include <string>
#include <vector>

// A WAV file (16-bit PCM, mono) holding a sine tone at full scale.
std::string toneWave(double seconds, double frequency = 440.0, int sampleRate = 22050);

// Selects OpenAL Soft's driver for this process: "null" mixes into nothing,
// "wave" records everything played into `recording`, and a name that is no
// driver leaves the process without any audio device.
void useAudioDriver(const std::string& driver, const std::string& recording = "");

// A WAV file as OpenAL Soft's wave driver writes it (16-bit PCM or 32-bit
// float, plain or extensible header), as interleaved samples in [-1, 1].
struct Recording {
  int channels = 0;
  int sampleRate = 0;
  std::vector<float> samples;
  std::string problem;  // why the file could not be read; empty when it was

  size_t frames() const { return channels > 0 ? samples.size() / channels : 0; }
  float peak(int channel) const;
  // How many frames of the channel reach at least `level` in magnitude.
  size_t framesAbove(int channel, float level) const;
};
Recording readRecording(const std::string& path);
