#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "audio/MciSequencer.h"
#include "audio/Music.h"
#include "audio/ZSoundList.h"
#include "platform/PlatformAudioDevice.h"
#include "platform/PlatformAudioMixer.h"
#include "platform/PlatformMusicPlayer.h"

namespace {

std::mutex lock;
std::vector<int16_t> mixed;  // everything the mixer played, interleaved 16-bit stereo
std::vector<long> ends;      // the frames at which the music reported its end

long Frames() {
    std::lock_guard<std::mutex> guard(lock);
    return static_cast<long>(mixed.size() / kMixerChannels);
}

// The first sounding frame from frame `from` on, waiting for it; the audio thread's own count of frames is
// the clock, which a busy machine does not stretch. -1 when ten seconds of output bring none.
long SoundFrom(long from) {
    for (long limit = from + 10 * kMixerRate;; SDL_Delay(1)) {
        std::lock_guard<std::mutex> guard(lock);
        auto at = std::find_if(mixed.begin() + std::min<long>(from * 2, mixed.size()), mixed.end(),
                               [](int16_t s) { return s != 0; });
        if (at != mixed.end() || static_cast<long>(mixed.size() / 2) > limit)
            return at != mixed.end() ? (at - mixed.begin()) / 2 : -1;
    }
}

// Waits until the music has ended count times in all; the frame it ended at, or -1 when ten seconds of
// output pass without it.
long EndFrame(size_t count) {
    for (long limit = Frames() + 10 * kMixerRate;; SDL_Delay(1)) {
        std::lock_guard<std::mutex> guard(lock);
        if (ends.size() >= count || static_cast<long>(mixed.size() / 2) > limit)
            return ends.size() >= count ? ends[count - 1] : -1;
    }
}

// The loudest sample of the next frames, after the two passes a change may still be in.
int PeakOfNext(long frames) {
    long from = Frames() + 2 * kMixerChunkFrames;
    while (Frames() < from + frames) SDL_Delay(2);
    std::lock_guard<std::mutex> guard(lock);
    auto [low, high] = std::minmax_element(mixed.begin() + from * 2, mixed.begin() + (from + frames) * 2);
    return std::max(-*low, int{*high});
}

// One held organ chord of half a second (a quarter note at 120 per minute), under a name with a blank.
std::string WriteChord(const std::string& path) {
    static const char file[] =
        "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\x17\0\xC0\x13\0\x90\x3C\x64\0\x90\x43\x64"
        "\x60\x80\x3C\0\0\x80\x43\0\0\xFF\x2F\0";
    std::ofstream(path, std::ios::binary).write(file, sizeof file - 1);
    return "\"" + path + "\"";
}

class AudioPlatform : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        ASSERT_TRUE(AcquireMixer());
        mixed.clear();
        ends.clear();
        Mix_SetPostMix(
            [](void*, Uint8* stream, int length) {
                std::lock_guard<std::mutex> guard(lock);
                auto* samples = reinterpret_cast<int16_t*>(stream);
                mixed.insert(mixed.end(), samples, samples + length / 2);
            },
            nullptr);
        InstallMusicPlayer(std::make_unique<PlatformMusicPlayer>(), [](int code) {
            std::lock_guard<std::mutex> guard(lock);
            if (code == kMciNotifySuccessful) {
                ends.push_back(static_cast<long>(mixed.size() / 2));
            }
        });
    }
    void TearDown() override {
        ShutdownMusic();
        Mix_SetPostMix(nullptr, nullptr);
        ReleaseMixer();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::remove(chord.c_str());
    }
    std::string chord = "/tmp/tintorix-chord-" + std::to_string(getpid()) + " .mid";
};

TEST_F(AudioPlatform, TheLogoSoundIsHeardWithHeadroomAndEachPlayRestartsItFromItsFirstSample) {
    SetAudioDeviceFactory(PlatformAudioDevice::Open);
    auto list = std::make_unique<ZSoundList>(nullptr);
    SetAudioDeviceFactory(nullptr);
    ASSERT_TRUE(list->HasDevice());
    list->AddFromResource(228, 1);
    EXPECT_EQ(PeakOfNext(kMixerRate / 10), 0);
    long onset = Frames();
    for (int i = 0; i < 4; ++i) {
        list->Play(228, 0);
        int peak = PeakOfNext(kMixerRate / 4);
        EXPECT_TRUE(peak > 3000 && peak < 32767) << peak;
    }
    list.reset();
    std::lock_guard<std::mutex> guard(lock);
    auto first = std::find_if(mixed.begin() + onset * 2, mixed.end(), [](int16_t s) { return s != 0; });
    ASSERT_NE(first, mixed.end());
    // A play begins at a mixer pass; each later play starts the same samples again.
    const long pass = kMixerChunkFrames * kMixerChannels;
    auto head = mixed.begin() + ((first - mixed.begin()) / pass) * pass;
    for (long i = 0; i < pass; i += 4) {  // each sample of the effect fills two stereo frames
        EXPECT_TRUE(std::equal(head + i + 1, head + i + 4, head + i)) << i;
    }
    int restarts = 0;
    for (auto at = head + 1; at + pass <= mixed.end(); ++at) restarts += std::equal(head, head + pass, at);
    EXPECT_EQ(restarts, 3);
}

TEST_F(AudioPlatform, APieceReportsItsEndOnceAtItsLastNoteLoopsFromTheStartAndStopsWhereItIs) {
    const long half = kMixerRate / 2;
    const long slack = 2 * kMixerChunkFrames;
    // Stopped half-way it is silent, and goes on with only the rest of the piece.
    ASSERT_TRUE(MciPlayMusicFile(nullptr, WriteChord(chord).c_str()));
    long onset = SoundFrom(0);
    ASSERT_GE(onset, 0);
    while (Frames() < onset + half / 2) SDL_Delay(1);
    ASSERT_TRUE(MciStopMusic());
    EXPECT_EQ(PeakOfNext(half), 0);
    long stopped;
    {
        std::lock_guard<std::mutex> guard(lock);
        ASSERT_TRUE(ends.empty()) << "the piece ended before it was stopped";
        stopped =
            (mixed.rend() - std::find_if(mixed.rbegin(), mixed.rend(), [](int16_t s) { return s != 0; })) / 2;
    }
    long from = Frames();
    ASSERT_TRUE(MciResumeMusic(nullptr));
    long resumed = SoundFrom(from);
    long end = EndFrame(1);
    EXPECT_LT(end - resumed, half * 3 / 4);
    EXPECT_NEAR(stopped - onset + end - resumed, half, slack);
    // Each replay starts from the start; it is measured from before the call, late by however long this
    // thread took to make it.
    for (size_t count = 2; count <= 3; ++count) {
        from = Frames();
        ASSERT_TRUE(MciReplayMusic(nullptr));
        long played = EndFrame(count) - from;
        EXPECT_GT(played, half - slack);
        EXPECT_LT(played, half + kMixerRate / 4);
    }
    // Closed while playing: no end; nothing more while nobody plays it again.
    ASSERT_TRUE(MciReplayMusic(nullptr));
    ASSERT_TRUE(MciCloseAll());
    PeakOfNext(kMixerRate);
    EXPECT_EQ(ends.size(), 3u);
}

}  // namespace
