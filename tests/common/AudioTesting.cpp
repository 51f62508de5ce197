#include "AudioTesting.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "TempDir.h"

namespace {

void put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xff);
  out += static_cast<char>(v >> 8);
}
void put32(std::string& out, uint32_t v) {
  put16(out, static_cast<uint16_t>(v & 0xffff));
  put16(out, static_cast<uint16_t>(v >> 16));
}
uint32_t get(const std::string& in, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(in[at + i]);
  return v;
}

}  // namespace

std::string toneWave(double seconds, double frequency, int sampleRate) {
  const double pi = 3.14159265358979323846;
  uint32_t frames = static_cast<uint32_t>(seconds * sampleRate);
  std::string wave = "RIFF";
  put32(wave, 36 + frames * 2);
  wave += "WAVEfmt ";
  put32(wave, 16);
  put16(wave, 1);  // PCM
  put16(wave, 1);  // mono
  put32(wave, sampleRate);
  put32(wave, sampleRate * 2);
  put16(wave, 2);
  put16(wave, 16);
  wave += "data";
  put32(wave, frames * 2);
  for (uint32_t i = 0; i < frames; ++i) {
    double value = std::sin(2.0 * pi * frequency * i / sampleRate);
    put16(wave, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767.0))));
  }
  return wave;
}

void useAudioDriver(const std::string& driver, const std::string& recording) {
  setenv("ALSOFT_DRIVERS", driver.c_str(), 1);
  if (recording.empty()) return;
  std::string config = recording + ".conf";
  std::ofstream(config) << "[general]\ndrivers=" << driver << "\n[wave]\nfile=" << recording << "\n";
  setenv("ALSOFT_CONF", config.c_str(), 1);
}

float Recording::peak(int channel) const {
  float best = 0.0f;
  for (size_t f = 0; f < frames(); ++f) best = std::max(best, std::fabs(samples[f * channels + channel]));
  return best;
}

size_t Recording::framesAbove(int channel, float level) const {
  size_t count = 0;
  for (size_t f = 0; f < frames(); ++f) {
    if (std::fabs(samples[f * channels + channel]) >= level) ++count;
  }
  return count;
}

Recording readRecording(const std::string& path) {
  Recording result;
  std::string in = readFile(path);
  if (in.size() < 12 || in.compare(0, 4, "RIFF") != 0 || in.compare(8, 4, "WAVE") != 0) {
    result.problem = path + ": not a RIFF WAVE file (" + std::to_string(in.size()) + " bytes)";
    return result;
  }
  int format = 0, bits = 0;
  for (size_t at = 12; at + 8 <= in.size();) {
    std::string id = in.substr(at, 4);
    size_t length = get(in, at + 4, 4);
    size_t body = at + 8;
    if (id == "fmt " && body + 16 <= in.size()) {
      format = static_cast<int>(get(in, body, 2));
      result.channels = static_cast<int>(get(in, body + 2, 2));
      result.sampleRate = static_cast<int>(get(in, body + 4, 4));
      bits = static_cast<int>(get(in, body + 14, 2));
      if (format == 0xFFFE && body + 26 <= in.size()) format = static_cast<int>(get(in, body + 24, 2));
    } else if (id == "data") {
      if (bits != 16 && bits != 32) {
        result.problem = path + ": data before a usable fmt chunk";
        return result;
      }
      // The wave driver fixes the length on close; trust what is there.
      size_t end = std::min(in.size(), body + length);
      for (size_t s = body; s + bits / 8 <= end; s += bits / 8) {
        if (format == 1 && bits == 16) {
          result.samples.push_back(static_cast<int16_t>(get(in, s, 2)) / 32768.0f);
        } else if (format == 3 && bits == 32) {
          uint32_t raw = get(in, s, 4);
          float value;
          std::memcpy(&value, &raw, sizeof value);
          result.samples.push_back(value);
        } else {
          result.problem = path + ": unexpected sample format " + std::to_string(format) + "/" +
                           std::to_string(bits);
          return result;
        }
      }
    }
    at = body + length + (length & 1);
  }
  if (result.channels == 0) result.problem = path + ": no fmt chunk";
  return result;
}
