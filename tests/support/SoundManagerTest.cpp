#include <gtest/gtest.h>

#include <AL/al.h>
#include <chrono>
#include <filesystem>
#include <thread>

#include "support/SoundManager.h"
#include "support/Sound_OpenAL.h"
#include "tests/common/AudioTesting.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// Every check runs inside the child, which exits 1 (the fatal report) or 2
// (a failed expectation, printed on standard error).
#define EXPECT_IN_CHILD(condition)                                        \
  do {                                                                    \
    if (!(condition)) {                                                   \
      fprintf(stderr, "child expectation failed: %s\n", #condition);     \
      _exit(2);                                                           \
    }                                                                     \
  } while (0)

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Polls until the sound has stopped; false after `seconds`.
bool waitUntilStopped(Sound_Abstract* sound, double seconds) {
  auto end = Clock::now() + std::chrono::duration<double>(seconds);
  while (sound->isPlaying()) {
    if (Clock::now() > end) return false;
    sleepMs(5);
  }
  return true;
}

float secondsPlayed(Sound_Abstract* sound) {
  float offset = -1.0f;
  alGetSourcef(static_cast<Sound_OpenAL*>(sound)->source, AL_SEC_OFFSET, &offset);
  return offset;
}

class SoundManagerTest : public testing::Test {
 protected:
  std::string tone(const std::string& name, double seconds) {
    return dir.write(name, toneWave(seconds));
  }
  TempDir dir;
};

TEST_F(SoundManagerTest, OneLoadPerNameAndTheSoundsAreLive) {
  std::string beep = tone("beep.wav", 0.2);
  std::string copy = tone("copy.wav", 0.2);
  ChildResult result = runInChild([&] {
    useAudioDriver("null");
    SoundManager manager("cubewright");
    EXPECT_IN_CHILD(manager.isSoundOn());
    Sound_Abstract* first = manager.getSound(beep);
    std::remove(beep.c_str());  // a second load of the name would now fail
    EXPECT_IN_CHILD(manager.getSound(beep) == first);
    Sound_Abstract* other = manager.getSound(copy);
    EXPECT_IN_CHILD(other != first && manager.sounds.size() == 2);
    EXPECT_IN_CHILD(manager.isLiveSound(first) && manager.isLiveSound(other));
    int notASound = 0;
    EXPECT_IN_CHILD(!manager.isLiveSound(&notASound) && !manager.isLiveSound(nullptr));
    EXPECT_IN_CHILD(!first->isPlaying());  // loaded, never played
  });
  EXPECT_EQ(0, result.exitCode) << describe(result);
  EXPECT_EQ("", result.out);
}

TEST_F(SoundManagerTest, PlayStartsAndRestartsAndWaitReturnsAtTheEnd) {
  std::string longTone = tone("long.wav", 1.0);
  std::string shortTone = tone("short.wav", 0.3);
  ChildResult result = runInChild([&] {
    useAudioDriver("null");
    SoundManager manager("cubewright");
    Sound_Abstract* sound = manager.getSound(longTone);
    sound->play(false);
    EXPECT_IN_CHILD(sound->isPlaying());
    sleepMs(400);
    float before = secondsPlayed(sound);
    sound->play(false);
    float after = secondsPlayed(sound);
    fprintf(stderr, "offset before %f after %f\n", before, after);
    EXPECT_IN_CHILD(before > 0.25f && after < 0.15f && sound->isPlaying());
    EXPECT_IN_CHILD(waitUntilStopped(sound, 5.0) && !sound->isPlaying());

    Sound_Abstract* waited = manager.getSound(shortTone);
    auto start = Clock::now();
    waited->play(true);
    double took = std::chrono::duration<double>(Clock::now() - start).count();
    fprintf(stderr, "play(true) took %f s\n", took);
    EXPECT_IN_CHILD(took > 0.2 && !waited->isPlaying());
  });
  EXPECT_EQ(0, result.exitCode) << describe(result);
}

TEST_F(SoundManagerTest, UnreadableFilesEndWithTheReportNamingTheFile) {
  std::string wave = toneWave(0.2);
  std::string hugeChunk = wave.substr(0, 40) + std::string("\xf0\xff\xff\xff", 4) + wave.substr(44, 200);
  struct Case {
    std::string name;
    std::string content;  // no file at all when `exists` is false
    bool exists;
    std::string reason;   // ALUT's text
  };
  const Case cases[] = {
      {"missing.wav", "", false, "I/O error"},
      {"text.wav", "just some words, not a sound\n", true, "Unsupported file type"},
      {"empty.wav", "", true, "The sound data was corrupt or truncated"},
      {"cut.wav", wave.substr(0, 30), true, "The sound data was corrupt or truncated"},
      {"huge-chunk.wav", hugeChunk, true, "The sound data was corrupt or truncated"},
      {"folder.wav/", "", false, "I/O error"},
  };
  for (const Case& c : cases) {
    std::string path = dir.file(c.name);
    if (c.exists) dir.write(c.name, c.content);
    if (c.name.back() == '/') std::filesystem::create_directories(path);
    for (const char* driver : {"null", "no-such-driver"}) {
      ChildResult result = runInChild([&] {
        useAudioDriver(driver);
        SoundManager manager("cubewright");
        manager.getSound(path);
      });
      SCOPED_TRACE(c.name + " with driver " + driver);
      EXPECT_EQ(1, result.exitCode) << describe(result);
      EXPECT_NE(std::string::npos,
                result.err.find("\nCondition: false\nMessage: " + path + ": " + c.reason + "\n"))
          << result.err;
    }
  }
}

TEST_F(SoundManagerTest, WithoutAnyDeviceSoundIsOffAndTheGameGoesOn) {
  std::string beep = tone("beep.wav", 0.2);
  ChildResult result = runInChild([&] {
    useAudioDriver("no-such-driver");
    SoundManager manager("cubewright");
    EXPECT_IN_CHILD(!manager.isSoundOn());
    Sound_Abstract* sound = manager.getSound(beep);
    EXPECT_IN_CHILD(manager.getSound(beep) == sound && manager.isLiveSound(sound));
    sound->play(false);
    EXPECT_IN_CHILD(!sound->isPlaying());
    sound->play(true);  // returns at once: nothing plays
    sound->setPosition(0);
  });
  EXPECT_EQ(0, result.exitCode) << describe(result);
  EXPECT_EQ("Sound is off (ALUT: There was an error opening the ALC device); "
            "the game runs without sound.\n",
            result.out);
}

TEST_F(SoundManagerTest, MoreSoundsThanOpenALHasSourcesEndWithTheReport) {
  std::string click = toneWave(0.01);
  for (int i = 0; i < 300; ++i) dir.write("click" + std::to_string(i) + ".wav", click);
  ChildResult result = runInChild([&] {
    useAudioDriver("null");
    SoundManager manager("cubewright");
    for (int i = 0; i < 300; ++i) manager.getSound(dir.file("click" + std::to_string(i) + ".wav"));
  });
  EXPECT_EQ(1, result.exitCode) << describe(result);
  EXPECT_NE(std::string::npos, result.err.find("\nCondition: alGetError() == AL_NO_ERROR\nMessage: " +
                                               dir.file("click256.wav") +
                                               ": OpenAL has no source left to play it\n"))
      << result.err;
}

TEST_F(SoundManagerTest, OnlyOneManagerAtATime) {
  ChildResult result = runInChild([] {
    useAudioDriver("null");
    SoundManager first("cubewright");
    SoundManager second("cubewright");
  });
  EXPECT_EQ(1, result.exitCode) << describe(result);
  EXPECT_NE(std::string::npos, result.err.find("only one sound manager may exist at a time"));
}

// Plays a tone at `position` with the wave driver and returns the recording.
Recording recordAtPosition(const TempDir& dir, unsigned char position) {
  std::string beep = dir.write("beep.wav", toneWave(0.2));
  std::string recording = dir.file("out" + std::to_string(position) + ".wav");
  ChildResult result = runInChild([&] {
    useAudioDriver("wave", recording);
    SoundManager manager("cubewright");
    Sound_Abstract* sound = manager.getSound(beep);
    sound->setPosition(position);
    sound->play(false);
    EXPECT_IN_CHILD(waitUntilStopped(sound, 5.0));
  });
  EXPECT_EQ(0, result.exitCode) << describe(result);
  return readRecording(recording);
}

TEST_F(SoundManagerTest, SetPositionPansBetweenTheSpeakers) {
  struct Case {
    unsigned char position;
    int loud, quiet;  // channel 0 is left, 1 right
  };
  for (Case c : {Case{0, 0, 1}, Case{255, 1, 0}}) {
    Recording recorded = recordAtPosition(dir, c.position);
    ASSERT_EQ("", recorded.problem);
    ASSERT_EQ(2, recorded.channels);
    SCOPED_TRACE("position " + std::to_string(c.position));
    EXPECT_GT(recorded.peak(c.loud), 0.3f);
    EXPECT_GT(recorded.peak(c.loud), 3 * recorded.peak(c.quiet));
  }
}

}  // namespace
