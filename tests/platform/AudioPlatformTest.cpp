#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
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

// SDL's disk driver writes every mixer pass, as fast as it can, into a pipe that holds one pass: the
// audio thread renders only as far as this thread reads, a few passes ahead at most, however loaded the
// machine. The test's clock is what it lets through.
int pipeEnd = -1;

void Pump() {
    pollfd ready{pipeEnd, POLLIN, 0};
    if (poll(&ready, 1, 60000) != 1) throw std::runtime_error("no mixer pass for a minute");
    char pass[kMixerChunkFrames * kMixerChannels * 2];
    if (read(pipeEnd, pass, sizeof pass) == 0) throw std::runtime_error("the audio output closed");
}

// Lets the mixer run until the music has ended count times in all, or two seconds of output have passed;
// the frames from the call to that end.
long WaitForEnd(size_t count) {
    for (long start = Frames();; Pump()) {
        std::lock_guard<std::mutex> guard(lock);
        long now = static_cast<long>(mixed.size() / kMixerChannels);
        if (ends.size() >= count || now >= start + 2 * kMixerRate)
            return (ends.size() >= count ? ends[count - 1] : now) - start;
    }
}

void WaitForFrames(long frames) {
    for (long until = Frames() + frames; Frames() < until;) Pump();
}

// The loudest sample of the next frames, after the two passes a change may still be in.
int PeakOfNext(long frames) {
    long from = Frames() + 2 * kMixerChunkFrames;
    WaitForFrames(from + frames - Frames());
    std::lock_guard<std::mutex> guard(lock);
    auto [low, high] = std::minmax_element(mixed.begin() + from * 2, mixed.begin() + (from + frames) * 2);
    return std::max(-*low, int{*high});
}

// One held organ chord, half a second (a quarter note at 120 per minute) for each quarter, then rests, under
// a name with a blank; its instrument from the given bank.
std::string WriteChord(const std::string& path, int quarters = 1, int rests = 0, char bank = 0) {
    auto delta = [](int ticks) { return std::string{char(0x80 | ticks >> 7), char(ticks & 0x7F)}; };
    const std::string select = bank ? std::string("\0\xB0\0", 3) + bank : "";
    const std::string track = select + std::string("\0\xC0\x13\0\x90\x3C\x64\0\x90\x43\x64", 11) +
                              delta(0x60 * quarters) + std::string("\x80\x3C\0\0\x80\x43\0", 7) +
                              delta(0x60 * rests) + "\xFF\x2F" + '\0';
    const std::string size = {0, 0, 0, static_cast<char>(track.size())};
    std::ofstream(path, std::ios::binary) << std::string("MThd\0\0\0\6\0\0\0\1\0\x60MTrk", 18) << size << track;
    return "\"" + path + "\"";
}

// Levels of the left channel over frames [from, from + count) of what was played.
double Rms(long from, long count) {
    std::lock_guard<std::mutex> guard(lock);
    double sum = 0;
    for (long i = from; i < from + count; ++i) sum += static_cast<double>(mixed[2 * i]) * mixed[2 * i];
    return std::sqrt(sum / count);
}
int LargestStep(long from, long count) {
    std::lock_guard<std::mutex> guard(lock);
    int step = 0;
    for (long i = 2 * from + 2; i < 2 * (from + count); ++i) step = std::max(step, std::abs(mixed[i] - mixed[i - 2]));
    return step;
}

class AudioPlatform : public ::testing::Test {
protected:
    void SetUp() override {
        std::remove(fifo.c_str());
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        pipeEnd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        ASSERT_GE(fcntl(pipeEnd, F_SETPIPE_SZ, kMixerChunkFrames * kMixerChannels * 2), 0);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", fifo.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "0", 1);
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
            if (code == kMciNotifySuccessful)
                ends.push_back(static_cast<long>(mixed.size() / 2));
        });
    }
    void TearDown() override {
        ShutdownMusic();
        Mix_SetPostMix(nullptr, nullptr);
        // The audio thread ends only once what it writes is read.
        std::thread drain([] {
            char bytes[4096];
            for (pollfd ready{pipeEnd, POLLIN, 0}; poll(&ready, 1, 60000) == 1 && read(pipeEnd, bytes, 4096);) {
            }
        });
        ReleaseMixer();
        drain.join();
        close(std::exchange(pipeEnd, -1));
        std::remove(fifo.c_str());
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("SDL_DISKAUDIODELAY");
        std::remove(chord.c_str());
    }
    std::string fifo = "/tmp/tintorix-mixer-" + std::to_string(getpid()) + ".fifo";
    std::string chord = "/tmp/tintorix-chord-" + std::to_string(getpid()) + " .mid";
};

TEST_F(AudioPlatform, TheLogoSoundIsHeardWithHeadroomAndEachPlayRestartsItFromItsFirstSample) {
    SetAudioDeviceFactory(PlatformAudioDevice::Open);
    auto list = std::make_unique<ZSoundList>(nullptr);
    SetAudioDeviceFactory(nullptr);
    ASSERT_TRUE(list->HasDevice());
    // A short sound (0.19 s) played once is heard once.
    list->AddFromResource(176, 1);
    list->Play(176, 0);
    const int heard = PeakOfNext(kMixerRate / 10);
    WaitForFrames(kMixerRate / 10);
    EXPECT_TRUE(heard > 0 && PeakOfNext(kMixerRate / 2) == 0) << heard;
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
    for (long i = 0; i < pass; i += 2) EXPECT_EQ(head[i], head[i + 1]) << i;  // mono on both sides
    int restarts = 0;
    for (auto at = head + 1; at + pass <= mixed.end(); ++at) restarts += std::equal(head, head + pass, at);
    EXPECT_EQ(restarts, 3);
}

TEST_F(AudioPlatform, EveryChangeOfMusicFadesTheOldPieceOutAndStartsTheNewOnSilenceWithoutAStep) {
    const long second = kMixerRate;
    const std::string dir = "\"" TINTORIX_SOURCE_DIR "/assets/music/";
    for (const char* change : {"open", "close", "stop"}) {
        ASSERT_TRUE(MciPlayMusicFile(nullptr, (dir + "Music01.mid\"").c_str()));
        WaitForFrames(second * 2);
        const long at = Frames();
        const int ownStep = LargestStep(at - second, second);
        ASSERT_TRUE(change == std::string("open")    ? MciPlayMusicFile(nullptr, (dir + "Music02.mid\"").c_str())
                    : change == std::string("close") ? MciCloseAll() : MciStopMusic());
        WaitForFrames(second);
        EXPECT_LE(LargestStep(at, second), ownStep) << change;
        // Still sounding a tenth of a second on, quiet after a fifth: silent before the next piece.
        EXPECT_GT(Rms(at + second / 10 - 441, 441), 0) << change;
        std::lock_guard<std::mutex> guard(lock);
        auto from = mixed.begin() + 2 * at;
        auto silent = std::search_n(from, from + second, 64, int16_t{0});
        EXPECT_LT(silent - from, second / 5 * 2) << change;
        // Arrived at by a fade, not cut off in mid-wave.
        auto [low, high] = std::minmax_element(std::max(from, silent - 64), silent);
        EXPECT_LT(std::max(-*low, int{*high}), ownStep / 8) << change;
    }
}

TEST_F(AudioPlatform, APieceEndsAtItsLastNoteGoesRoundOnTheBeatStopsWhereItIsAndStepsBackWhileAVoicePlays) {
    const long half = kMixerRate / 2;
    ASSERT_TRUE(MciPlayMusicFile(nullptr, WriteChord(chord).c_str()));
    const long start = Frames();  // after the soundfont has loaded
    for (size_t count = 1; count <= 3; ++count) {
        WaitForEnd(count);
        WaitForFrames(kMixerRate / 25);  // the game answers at its next frame
        ASSERT_TRUE(MciReplayMusic(nullptr));
    }
    WaitForFrames(kMixerRate / 4);
    // Each round as long as the piece: the repeat is on the beat (ends are seen to a mixer pass).
    EXPECT_NEAR(ends[0] - start, half, 4 * kMixerChunkFrames);
    for (size_t i = 1; i < ends.size(); ++i) EXPECT_NEAR(ends[i] - ends[i - 1], half, kMixerChunkFrames);
    // 5 ms windows from the first chord's last fifth of a second on: none far below the held chord's level.
    const long window = kMixerRate / 200;
    const double held = Rms(ends[0] - kMixerRate / 4, kMixerRate / 10);
    for (long at = ends[0] - kMixerRate / 5; at + window < Frames(); at += window)
        EXPECT_GT(Rms(at, window), held / 2) << "at " << at - ends[0] << " frames from the first end";
    // Stopped half-way it is silent, and goes on with only the rest of the piece.
    ASSERT_TRUE(MciReplayMusic(nullptr));
    WaitForFrames(half / 2);
    ASSERT_TRUE(MciStopMusic());
    WaitForFrames(static_cast<long>(PlatformMusicPlayer::kFadeSeconds * kMixerRate));
    EXPECT_EQ(PeakOfNext(half), 0);
    ASSERT_TRUE(MciResumeMusic(nullptr));
    EXPECT_LT(WaitForEnd(4), half * 3 / 4);
    // Closed while playing: no end; nothing more while nobody plays it again.
    ASSERT_TRUE(MciReplayMusic(nullptr));
    ASSERT_TRUE(MciCloseAll());
    PeakOfNext(kMixerRate);
    EXPECT_EQ(ends.size(), 4u);
    // Silent sounds on the effects' mixer: the chord alone shows how far the music steps back, for a
    // jingle and further for speech, and that it comes back.
    std::unique_ptr<AudioDevice> device = PlatformAudioDevice::Open();
    const std::vector<uint8_t> silence(kMixerRate / 4, 128);
    ASSERT_TRUE(MciPlayMusicFile(nullptr, WriteChord(chord, 16).c_str()));
    for (bool speech : {false, true}) {
        const int voice = device->CreateChannel(silence.data(), silence.size());
        device->SetDucksMusic(voice, speech);
        WaitForFrames(kMixerRate);
        const double before = Rms(Frames() - kMixerRate / 10, kMixerRate / 10);
        ASSERT_TRUE(device->Play(voice, false));
        WaitForFrames(kMixerRate / 5);
        const double under = Rms(Frames() - kMixerRate / 10, kMixerRate / 10);
        WaitForFrames(kMixerRate * 3 / 2);
        const double after = Rms(Frames() - kMixerRate / 10, kMixerRate / 10);
        // Under speech the decaying chord is near the last bits: at least as far down is enough.
        const double down = 20 * std::log10(under / before);
        EXPECT_LT(down, (speech ? PlatformMusicPlayer::kSpeechDuckDecibels : PlatformMusicPlayer::kDuckDecibels) + 2.5);
        EXPECT_TRUE(speech || down > PlatformMusicPlayer::kDuckDecibels - 2.5) << down;
        // Back, give or take the 2.4 dB the held chord itself fades by over those two seconds.
        EXPECT_NEAR(20 * std::log10(after / before), -1, 3) << speech;
    }
}

TEST(PlatformMusicPlayer, TheSoundfontIsTheFirstReadableEntryOfTheListGiven) {
    const std::string a = TINTORIX_SOURCE_DIR "/README.md", b = TINTORIX_SOURCE_DIR "/assets/music/Music01.mid";
    const std::pair<std::string, std::string> lists[] = {
        {"/none:" + a + ":" + b, a}, {"/none::" + b, b}, {b + ":" + a, b}, {"/none:/none", ""}};
    for (const auto& [list, font] : lists) {
        setenv("SDL_SOUNDFONTS", list.c_str(), 1);
        EXPECT_EQ(PlatformMusicPlayer::FindSoundFont(), font) << list;
    }
    unsetenv("SDL_SOUNDFONTS");
}

TEST_F(AudioPlatform, APieceReplayedOpenedOverAnotherOrLeftAtItsEndSoundsAsAskedWithTheFirstBankStandingIn) {
    auto owned = std::make_unique<PlatformMusicPlayer>();
    PlatformMusicPlayer& player = *owned;
    InstallMusicPlayer(std::move(owned), nullptr);
    const std::string held = chord + ".held";
    // A chord for half a second and rests for three, its organ asked for from a bank no soundfont has.
    WriteChord(chord, 1, 6, 5);
    ASSERT_TRUE(player.Open(chord) && player.Play(true));
    EXPECT_TRUE(player.IsPinned(0, 0x13)) << "the first bank's organ stands in";
    WaitForFrames(kMixerRate * 3 / 2);
    const int resting = PeakOfNext(kMixerRate / 4);
    ASSERT_TRUE(player.Play(true));
    EXPECT_LT(resting * 20, PeakOfNext(kMixerRate / 4)) << "replayed in its rests, it sounds again at once";
    // Opened over a piece still playing, the new piece follows it, with no Close in between.
    WriteChord(held, 16);
    ASSERT_TRUE(player.Open(held) && player.Play(true));
    WaitForFrames(kMixerRate);
    const int holding = PeakOfNext(kMixerRate / 4);
    EXPECT_FALSE(player.IsPinned(1, 0x13)) << "a piece asking no bank plays the first";
    ASSERT_TRUE(player.Open(chord) && player.Play(true));
    WaitForFrames(kMixerRate * 3 / 2);
    EXPECT_LT(PeakOfNext(kMixerRate / 4) * 20, holding) << "the old chord is gone";
    // Gone round again by itself and not asked to go on, a piece is quiet a second later, and gives way to
    // the next piece opened.
    WriteChord(held, 4);
    ASSERT_TRUE(player.Open(held) && player.Play(true));
    WaitForFrames(kMixerRate * 4);
    EXPECT_EQ(PeakOfNext(kMixerRate / 4), 0);
    ASSERT_TRUE(player.Open(chord) && player.Play(true));
    EXPECT_GT(PeakOfNext(kMixerRate / 4), 1000);
    std::remove(held.c_str());
}

using AudioStress = AudioPlatform;

TEST_F(AudioStress, PiecesOpenedPlayedStoppedReplacedAndClosedThousandsOfTimesOnEverySoundfontNeverCrash) {
    const char* env = std::getenv("TINTORIX_MUSIC_STRESS");
    const int cycles = env ? std::atoi(env) : 600;
    int fonts = 0;
    for (const char* font : {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"}) {
        if (access(font, R_OK) != 0) continue;
        ++fonts;
        // Under a name that is gone once the first piece has opened, as a package upgraded or removed under
        // the running game leaves it: the later pieces' instruments load all the same.
        const std::string link = "/tmp/tintorix-font-" + std::to_string(getpid()) + ".sf2";
        ASSERT_EQ(symlink(font, link.c_str()), 0);
        setenv("SDL_SOUNDFONTS", link.c_str(), 1);
        auto owned = std::make_unique<PlatformMusicPlayer>();
        const PlatformMusicPlayer& player = *owned;
        InstallMusicPlayer(std::move(owned), nullptr);
        // The synthesiser's own thread reads the variable: gone only once the first piece has waited for it.
        ASSERT_TRUE(MciPlayMusicFile(nullptr, "\"" TINTORIX_SOURCE_DIR "/assets/music/Music01.mid\""));
        EXPECT_TRUE(player.IsPinned(0, 73) && player.IsPinned(0, 52)) << "loaded on opening";
        unsetenv("SDL_SOUNDFONTS");
        std::remove(link.c_str());
        unsigned seed = 27;
        int loudest = 0;
        for (int i = 0; i < cycles; ++i) {
            seed = seed * 1103515245u + 12345u;
            const unsigned pick = seed >> 16;
            const std::string piece = std::string("\"" TINTORIX_SOURCE_DIR "/assets/music/Music0") +
                                      char('1' + pick % 3) + ".mid\"";
            switch (pick / 3 % 6) {
                case 0: case 1: MciPlayMusicFile(nullptr, piece.c_str()); break;
                case 2: MciStopMusic(); break;
                case 3: MciResumeMusic(nullptr); break;
                case 4: MciReplayMusic(nullptr); break;
                default: MciCloseAll(); break;
            }
            if (pick % 7 == 0) SetMusicVolume(static_cast<int>(pick % 101));
            // Between zero and a few mixer passes, so changes land in every part of a pass.
            WaitForFrames(static_cast<long>(pick / 18 % 4) * kMixerChunkFrames / 2);
            if (i % 50 == 0) loudest = std::max(loudest, PeakOfNext(kMixerChunkFrames));
        }
        // Each piece's instruments (and what a reset selects) stay loaded.
        EXPECT_TRUE(player.IsPinned(0, 4) && player.IsPinned(0, 16) && player.IsPinned(0, 47) &&
                    player.IsPinned(128, 0) && player.IsPinned(0, 0)) << font;
        ShutdownMusic();
        EXPECT_GT(loudest, 0) << font << ": the music sounded while it was changed";
    }
    if (fonts == 0) GTEST_SKIP() << "no soundfont installed";
}

}  // namespace
