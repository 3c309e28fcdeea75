#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include <unistd.h>

#include "audio/Music.h"
#include "audio/MciSequencer.h"
#include "platform/PlatformAudio.h"
#include "platform/PlatformAudioMixer.h"
#include "platform/PlatformMusicPlayer.h"
#include "shell/XAppData.h"

namespace {

// The mixer's output, pass by pass: the frames mixed before it and its loudest sample.
struct Pass {
    long frames;
    int peak;
};
std::mutex passLock;
std::vector<Pass> passes;
std::atomic<long> mixedFrames{0};

void RecordPass(void*, Uint8* stream, int length) {
    const int16_t* samples = reinterpret_cast<const int16_t*>(stream);
    int peak = 0;
    for (int i = 0; i < length / 2; ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    }
    std::lock_guard<std::mutex> guard(passLock);
    passes.push_back(Pass{mixedFrames.load(), peak});
    mixedFrames += length / 4;
}

int PeakBetween(long from, long to) {
    std::lock_guard<std::mutex> guard(passLock);
    int peak = 0;
    for (const Pass& pass : passes) {
        if (pass.frames >= from && pass.frames < to) {
            peak = std::max(peak, pass.peak);
        }
    }
    return peak;
}

void WaitFrames(long frames) {
    long until = mixedFrames + frames;
    while (mixedFrames < until) {
        SDL_Delay(2);
    }
}

void Put(std::string& out, std::initializer_list<int> bytes) {
    for (int b : bytes) {
        out.push_back(static_cast<char>(b));
    }
}

// One held organ chord of the given number of quarter notes at 120 per minute (96 ticks each).
std::string WriteHeldChord(int quarters) {
    std::string track;
    Put(track, {0x00, 0xC0, 19, 0x00, 0x90, 60, 100, 0x00, 0x90, 67, 100});
    int ticks = 96 * quarters;
    Put(track, {0x80 | ((ticks >> 7) & 0x7F), ticks & 0x7F, 0x80, 60, 0, 0x00, 0x80, 67, 0});
    Put(track, {0x00, 0xFF, 0x2F, 0x00});
    std::string file = "MThd";
    Put(file, {0, 0, 0, 6, 0, 0, 0, 1, 0, 96});
    file += "MTrk";
    Put(file, {0, 0, 0, static_cast<int>(track.size())});
    file += track;
    std::string path = "/tmp/tintorix-chord-" + std::to_string(getpid()) + " .mid";
    std::ofstream(path, std::ios::binary) << file;
    return path;
}

class MusicPlatform : public ::testing::Test {
protected:
    void SetUp() override {
        if (PlatformMusicPlayer::FindSoundFont().empty()) {
            GTEST_SKIP() << "no General MIDI soundfont installed";
        }
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        ASSERT_TRUE(AcquireMixer());
        mixerHeld = true;
        passes.clear();
        mixedFrames = 0;
        Mix_SetPostMix(RecordPass, nullptr);
    }
    void TearDown() override {
        ShutdownMusic();
        if (mixerHeld) {
            Mix_SetPostMix(nullptr, nullptr);
            ReleaseMixer();
        }
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }

    bool mixerHeld = false;
};

std::mutex noteLock;
std::vector<std::pair<int, long>> notes;

void RecordNote(int code) {
    std::lock_guard<std::mutex> guard(noteLock);
    notes.emplace_back(code, mixedFrames.load());
}

size_t Successes() {
    std::lock_guard<std::mutex> guard(noteLock);
    return std::count_if(notes.begin(), notes.end(), [](auto& n) { return n.first == kMciNotifySuccessful; });
}

}  // namespace

TEST_F(MusicPlatform, SelectingMusicOnePlaysTheFileBesideTheExecutable) {
    InstallAudioPlatform();
    XAppData app;
    app.SelectMusic(1);
    ASSERT_EQ(app.currentMusic, 1u);
    const long started = mixedFrames;
    WaitFrames(kMixerRate);
    const int level = PeakBetween(started, started + kMixerRate);
    std::printf("music 1, first second: peak %d of 32767\n", level);
    EXPECT_GT(level, 2000);

    app.PauseMusic();
    const long paused = mixedFrames + 2 * kMixerChunkFrames;
    WaitFrames(kMixerRate / 2);
    EXPECT_EQ(PeakBetween(paused, paused + kMixerRate / 4), 0);
    app.ResumeMusic();
    const long resumed = mixedFrames + 2 * kMixerChunkFrames;
    WaitFrames(kMixerRate / 2);
    EXPECT_GT(PeakBetween(resumed, resumed + kMixerRate / 4), 0);
    app.StopMusic();
    const long stopped = mixedFrames + 2 * kMixerChunkFrames;
    WaitFrames(kMixerRate / 4);
    EXPECT_EQ(PeakBetween(stopped, mixedFrames), 0);
}

TEST_F(MusicPlatform, APieceReportsItsEndOnceAndLoopsWithoutAGap) {
    InstallMusicPlayer(std::make_unique<PlatformMusicPlayer>(), RecordNote);
    notes.clear();
    const std::string path = WriteHeldChord(2);  // one second
    ASSERT_TRUE(MciPlayMusicFile(nullptr, ("\"" + path + "\"").c_str()));
    const long start = mixedFrames;
    WaitFrames(2 * kMixerRate);
    // The end comes once, about a second in; nothing more while nobody plays it again.
    ASSERT_EQ(Successes(), 1u);
    const long end = notes[0].second - start;
    EXPECT_NEAR(end, kMixerRate, 4 * kMixerChunkFrames);

    // Replays, the way the main loop answers the notification.
    std::vector<double> gaps;
    for (int pass = 0; pass < 3; ++pass) {
        const long ended = notes.back().second;
        ASSERT_TRUE(MciReplayMusic(nullptr));
        const long replayed = mixedFrames;
        if (pass > 0) {
            gaps.push_back(1000.0 * static_cast<double>(replayed - ended) / kMixerRate);
        }
        while (Successes() < static_cast<size_t>(pass + 2) && mixedFrames < replayed + 3 * kMixerRate) {
            SDL_Delay(1);
        }
        ASSERT_EQ(Successes(), static_cast<size_t>(pass + 2));
        EXPECT_NEAR(notes.back().second - replayed, kMixerRate, 4 * kMixerChunkFrames);
    }
    std::printf("loop point: replay %.1f / %.1f ms of audio after the end was reported\n", gaps[0], gaps[1]);

    // Pause half-way and resume: the rest of the piece, not all of it, is left to play.
    ASSERT_TRUE(MciReplayMusic(nullptr));
    WaitFrames(kMixerRate / 2);
    ASSERT_TRUE(MciStopMusic());
    const long pausedAt = mixedFrames;
    WaitFrames(kMixerRate);
    EXPECT_EQ(Successes(), 4u);
    EXPECT_EQ(PeakBetween(pausedAt + 2 * kMixerChunkFrames, mixedFrames), 0);
    ASSERT_TRUE(MciResumeMusic(nullptr));
    const long resumedAt = mixedFrames;
    WaitFrames(2 * kMixerRate);
    ASSERT_EQ(Successes(), 5u);
    EXPECT_LT(notes.back().second - resumedAt, kMixerRate * 3 / 4);

    // Closed while playing: no end is reported.
    ASSERT_TRUE(MciReplayMusic(nullptr));
    WaitFrames(kMixerRate / 4);
    ASSERT_TRUE(MciCloseAll());
    WaitFrames(kMixerRate * 3 / 2);
    EXPECT_EQ(Successes(), 5u);
    std::remove(path.c_str());
}

TEST_F(MusicPlatform, MissingFilesFailQuietly) {
    InstallMusicPlayer(std::make_unique<PlatformMusicPlayer>(), RecordNote);
    EXPECT_FALSE(MciPlayMusicFile(nullptr, "\"/nonexistent/Music01.mid\""));
    const std::string notMidi = "/tmp/tintorix-not-midi-" + std::to_string(getpid()) + ".mid";
    std::ofstream(notMidi) << "RIFF and nothing else";
    EXPECT_FALSE(MciPlayMusicFile(nullptr, ("\"" + notMidi + "\"").c_str()));
    std::remove(notMidi.c_str());
    EXPECT_FALSE(MciResumeMusic(nullptr));

    // A soundfont that is not there: nothing opens.
    ShutdownMusic();
    setenv("SDL_SOUNDFONTS", "/nonexistent/font.sf2", 1);
    InstallMusicPlayer(std::make_unique<PlatformMusicPlayer>(), RecordNote);
    const std::string path = WriteHeldChord(1);
    EXPECT_FALSE(MciPlayMusicFile(nullptr, ("\"" + path + "\"").c_str()));
    unsetenv("SDL_SOUNDFONTS");
    std::remove(path.c_str());
}
