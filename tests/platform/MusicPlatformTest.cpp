#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "audio/MciSequencer.h"
#include "audio/Music.h"
#include "platform/PlatformAudio.h"
#include "platform/PlatformAudioMixer.h"
#include "platform/PlatformMusicPlayer.h"
#include "shell/XAppData.h"

namespace {

// The mixer's output pass by pass (frames mixed before it, its loudest sample) and the notifications
// with the frame they came at.
std::mutex lock;
std::vector<std::pair<long, int>> passes;
std::vector<std::pair<int, long>> notes;
std::atomic<long> mixedFrames{0};

void RecordPass(void*, Uint8* stream, int length) {
    const int16_t* samples = reinterpret_cast<const int16_t*>(stream);
    int peak = 0;
    for (int i = 0; i < length / 2; ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    }
    std::lock_guard<std::mutex> guard(lock);
    passes.emplace_back(mixedFrames.load(), peak);
    mixedFrames += length / 4;
}

void RecordNote(int code) {
    std::lock_guard<std::mutex> guard(lock);
    notes.emplace_back(code, mixedFrames.load());
}

// Waits for a number of mixed frames; the loudest sample of passes that began in them, skipping the two
// passes a change may still be in.
int PeakOfNext(long frames) {
    long from = mixedFrames + 2 * kMixerChunkFrames;
    while (mixedFrames < from + frames) {
        SDL_Delay(2);
    }
    std::lock_guard<std::mutex> guard(lock);
    int peak = 0;
    for (const auto& [at, level] : passes) {
        peak = at >= from && at < from + frames ? std::max(peak, level) : peak;
    }
    return peak;
}

size_t Ends() {
    std::lock_guard<std::mutex> guard(lock);
    return std::count_if(notes.begin(), notes.end(), [](auto& n) { return n.first == kMciNotifySuccessful; });
}

// Waits until the piece has ended count times (at most two seconds); the frames that took.
long WaitForEnd(size_t count) {
    long start = mixedFrames;
    while (Ends() < count && mixedFrames < start + 2 * kMixerRate) {
        SDL_Delay(1);
    }
    return mixedFrames - start;
}

// One held organ chord of half a second (a quarter note at 120 per minute).
std::string WriteChord() {
    const char track[] = {0x00,       char(0xC0), 19,  0x00, char(0x90), 60,   100, 0x00,
                          char(0x90), 67,         100, 0x60, char(0x80), 60,   0,   0x00,
                          char(0x80), 67,         0,   0x00, char(0xFF), 0x2F, 0x00};
    const char header[] = {'M', 'T', 'h', 'd', 0,   0,   0,   6, 0, 0, 0,
                           1,   0,   96,  'M', 'T', 'r', 'k', 0, 0, 0, 23};
    std::string path = "/tmp/tintorix-chord-" + std::to_string(getpid()) + " .mid";
    std::ofstream(path, std::ios::binary)
        << std::string(header, sizeof header) << std::string(track, sizeof track);
    return "\"" + path + "\"";
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
        notes.clear();
        Mix_SetPostMix(RecordPass, nullptr);
        InstallMusicPlayer(std::make_unique<PlatformMusicPlayer>(), RecordNote);
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

TEST_F(MusicPlatform, MusicOneBesideTheExecutableIsHeardStopsAndGoesOn) {
    ShutdownMusic();
    InstallAudioPlatform();
    XAppData app;
    app.SelectMusic(1);
    ASSERT_EQ(app.currentMusic, 1u);
    EXPECT_GT(PeakOfNext(kMixerRate), 2000);
    app.PauseMusic();
    EXPECT_EQ(PeakOfNext(kMixerRate / 4), 0);
    app.ResumeMusic();
    EXPECT_GT(PeakOfNext(kMixerRate / 4), 0);
    app.StopMusic();
    EXPECT_EQ(PeakOfNext(kMixerRate / 4), 0);
}

TEST_F(MusicPlatform, APieceReportsItsEndOnceAtItsLastNoteAndLoopsWithoutAGap) {
    const std::string path = WriteChord();
    ASSERT_TRUE(MciPlayMusicFile(nullptr, path.c_str()));
    long half = kMixerRate / 2;
    long slack = 4 * kMixerChunkFrames;
    EXPECT_NEAR(WaitForEnd(1), half, slack);
    PeakOfNext(half);
    EXPECT_EQ(Ends(), 1u) << "nothing more while nobody plays it again";
    for (size_t pass = 2; pass <= 3; ++pass) {
        ASSERT_TRUE(MciReplayMusic(nullptr));
        EXPECT_NEAR(WaitForEnd(pass), half, slack) << "the replay starts from the first note";
    }
    // Stopped half-way, it stays silent and goes on with only the rest of the piece.
    ASSERT_TRUE(MciReplayMusic(nullptr));
    SDL_Delay(250);
    ASSERT_TRUE(MciStopMusic());
    EXPECT_EQ(PeakOfNext(half), 0);
    EXPECT_EQ(Ends(), 3u);
    ASSERT_TRUE(MciResumeMusic(nullptr));
    EXPECT_LT(WaitForEnd(4), half * 3 / 4);
    // Closed while playing: no end.
    ASSERT_TRUE(MciReplayMusic(nullptr));
    ASSERT_TRUE(MciCloseAll());
    PeakOfNext(kMixerRate);
    EXPECT_EQ(Ends(), 4u);
    std::remove(path.substr(1, path.size() - 2).c_str());
}

TEST_F(MusicPlatform, MissingOrForeignFilesAndAMissingSoundfontFailQuietly) {
    EXPECT_FALSE(MciPlayMusicFile(nullptr, "\"/nonexistent/Music01.mid\""));
    const std::string notMidi = "/tmp/tintorix-not-midi-" + std::to_string(getpid()) + ".mid";
    std::ofstream(notMidi) << "RIFF and nothing else";
    EXPECT_FALSE(MciPlayMusicFile(nullptr, ("\"" + notMidi + "\"").c_str()));
    std::remove(notMidi.c_str());
    EXPECT_FALSE(MciResumeMusic(nullptr));

    setenv("SDL_SOUNDFONTS", "/nonexistent/font.sf2", 1);
    InstallMusicPlayer(std::make_unique<PlatformMusicPlayer>(), RecordNote);
    const std::string path = WriteChord();
    EXPECT_FALSE(MciPlayMusicFile(nullptr, path.c_str()));
    unsetenv("SDL_SOUNDFONTS");
    std::remove(path.substr(1, path.size() - 2).c_str());
}

}  // namespace
