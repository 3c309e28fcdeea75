#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "audio/FakeAudioDevice.h"
#include "audio/ZSound.h"
#include "audio/ZSoundList.h"
#include "base/Resources.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

// One chunk with its header; pad adds the even-length pad byte after an odd body.
Bytes Chunk(const char* id, const Bytes& body, bool pad = true) {
    Bytes out(id, id + 4);
    Put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (pad && body.size() % 2 == 1) {
        out.push_back(0xEE);
    }
    return out;
}

Bytes Riff(const std::vector<Bytes>& chunks) {
    Bytes body;
    for (const Bytes& c : chunks) {
        body.insert(body.end(), c.begin(), c.end());
    }
    Bytes out{'R', 'I', 'F', 'F'};
    Put32(out, static_cast<uint32_t>(body.size() + 4));
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// A format chunk that claims 16-bit stereo at 44100 Hz: the sound must ignore it.
Bytes Format() { return Chunk("fmt ", Bytes{1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0}); }

Bytes Found(const Bytes& image) {
    const uint8_t* samples = nullptr;
    uint32_t length = 0;
    if (!ZSound::FindWaveData(image.data(), image.size(), &samples, &length)) {
        return Bytes{'n', 'o', 'n', 'e'};
    }
    return Bytes(samples, samples + length);
}

}  // namespace

TEST(ZSoundChunkWalk, FindsTheFirstDataChunkWhateverTheOrderAndPadding) {
    const Bytes samples{1, 2, 3, 4, 5};
    // An odd-sized chunk before the data: the pad byte must be stepped over.
    EXPECT_EQ(Found(Riff({Format(), Chunk("LIST", {9, 9, 9}), Chunk("data", samples)})), samples);
    // Data before the format chunk.
    EXPECT_EQ(Found(Riff({Chunk("data", samples), Format()})), samples);
    // No format chunk at all still gives the data.
    EXPECT_EQ(Found(Riff({Chunk("data", samples)})), samples);
    // After format and data the walk stops: a later data chunk and a chunk with a wild size are never read.
    Bytes trailing = Riff({Format(), Chunk("data", samples), Chunk("data", {7, 7})});
    Bytes wild{'c', 'u', 'e', ' ', 0xFF, 0xFF, 0xFF, 0xFF};
    trailing.insert(trailing.end(), wild.begin(), wild.end());
    EXPECT_EQ(Found(trailing), samples);
    // The tags are not compared.
    Bytes untagged = Riff({Format(), Chunk("data", samples)});
    std::memcpy(untagged.data(), "XXXX", 4);
    std::memcpy(untagged.data() + 8, "YYYY", 4);
    EXPECT_EQ(Found(untagged), samples);
}

TEST(ZSoundChunkWalk, DamagedImagesNeverReadPastTheEnd) {
    const Bytes none{'n', 'o', 'n', 'e'};
    const Bytes samples{10, 20, 30, 40, 50, 60};
    EXPECT_EQ(Found(Riff({Format(), Chunk("junk", {1})})), none);
    EXPECT_EQ(Found(Bytes{'R', 'I', 'F', 'F', 4, 0, 0}), none);
    EXPECT_EQ(Found(Bytes{}), none);

    // A data size larger than what remains: the samples present are kept, nothing more.
    Bytes cut = Riff({Format(), Chunk("data", samples)});
    cut.resize(cut.size() - 2);
    EXPECT_EQ(Found(cut), Bytes(samples.begin(), samples.end() - 2));

    // A RIFF size beyond the resource is cut to the resource.
    Bytes longRiff = Riff({Chunk("data", samples)});
    longRiff[4] = 0xFF;
    longRiff[5] = 0xFF;
    EXPECT_EQ(Found(longRiff), samples);

    // A RIFF size shorter than the chunks ends the walk there.
    Bytes shortRiff = Riff({Format(), Chunk("data", samples)});
    shortRiff[4] = 4 + 8 + 16;
    shortRiff[5] = shortRiff[6] = shortRiff[7] = 0;
    EXPECT_EQ(Found(shortRiff), none);

    // A chunk size near 4 GiB before the data jumps out of the image instead of wrapping around.
    Bytes huge = Riff({Chunk("junk", {}), Chunk("data", samples)});
    huge[16] = huge[17] = huge[18] = huge[19] = 0xFF;
    EXPECT_EQ(Found(huge), none);

    // A chunk header cut in half.
    Bytes half = Riff({Format()});
    half.insert(half.end(), {'d', 'a', 't', 'a', 6});
    half[4] += 5;
    EXPECT_EQ(Found(half), none);

    // A data chunk of size zero is found, and empty.
    EXPECT_EQ(Found(Riff({Chunk("data", {})})), Bytes{});
}

namespace {

constexpr uint32_t kBeep = 3001;
constexpr uint32_t kBoop = 3002;

class SoundListTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Two short sounds with distinct levels, easy to tell apart in a mix.
        OverrideResource(ResourceType::Wave, kBeep, Riff({Format(), Chunk("data", Bytes(100, 128 + 10))}));
        OverrideResource(ResourceType::Wave, kBoop, Riff({Chunk("data", Bytes(50, 128 + 1)), Format()}));
    }
    void TearDown() override { ClearResourceOverrides(); }

    FakeAudioInstall fake;
};

}  // namespace

TEST_F(SoundListTest, PlayingAgainRestartsTheSoundFromItsFirstSample) {
    ZSoundList list(nullptr);
    list.AddFromResource(kBeep, 1);
    OldFakeAudioDevice* device = FakeAudioInstall::Current();
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(device->channels.size(), 1u);

    list.Play(kBeep, 0);
    device->Render(60);
    list.Play(kBeep, 0);
    // One instance only: the level is one sound's, and it lasts the full length again.
    std::vector<int> mix = device->Render(100);
    EXPECT_EQ(mix.front(), 10);
    EXPECT_EQ(mix.back(), 10);
    EXPECT_EQ(device->Render(1)[0], 0);

    // Stop rewinds; the next play starts at the beginning.
    list.Play(kBeep, 0);
    device->Render(30);
    list.Stop(kBeep);
    EXPECT_EQ(device->Render(10)[0], 0);
    list.Play(kBeep, 0);
    EXPECT_EQ(device->channels[0].position, 0u);
    list.StopAll();
    EXPECT_FALSE(device->channels[0].playing);
}

TEST_F(SoundListTest, CopiesAreUsedInTurnAndTheFourthPlayCutsTheFirst) {
    OldFakeAudioDevice device;
    ZSound sound(&device, kBeep, 3);
    ASSERT_EQ(device.channels.size(), 3u);
    for (int i = 0; i < 4; ++i) {
        sound.Play(0);
        device.Render(10);
    }
    EXPECT_EQ(device.log, (std::vector<std::string>{"play 0", "play 1", "play 2", "play 0"}));
    // Three instances sound together, the first one restarted.
    EXPECT_EQ(device.Render(1)[0], 30);
    EXPECT_EQ(device.channels[0].position, 11u);

    // A copy that could not be made is a silent turn, not a shift of the others.
    OldFakeAudioDevice failing;
    ZSound partial(&failing, kBeep, 2);
    failing.failCreate = true;
    EXPECT_EQ(failing.channels.size(), 2u);
    ZSound none(&failing, kBeep, 2);
    none.Play(0);
    EXPECT_TRUE(failing.log.empty());
}

TEST_F(SoundListTest, OnlyLoopFlagOneLoops) {
    ZSoundList list(nullptr);
    list.AddFromResource(kBoop, 1);
    OldFakeAudioDevice* device = FakeAudioInstall::Current();
    list.Play(kBoop, 2);
    device->Render(50);
    EXPECT_EQ(device->Render(1)[0], 0);
    list.Play(kBoop, -1);
    device->Render(50);
    EXPECT_EQ(device->Render(1)[0], 0);
    list.Play(kBoop, 1);
    device->Render(50 * 7);
    EXPECT_EQ(device->Render(1)[0], 1);
    list.Stop(kBoop);
    EXPECT_EQ(device->Render(1)[0], 0);
}

TEST_F(SoundListTest, DifferentSoundsMixAndUnknownIdsDoNothing) {
    ZSoundList list(nullptr);
    list.AddFromResource(kBeep, 1);
    list.AddFromResource(kBoop, 1);
    list.AddFromResource(4711, 1);  // no such resource: an empty sound in its slot
    OldFakeAudioDevice* device = FakeAudioInstall::Current();
    list.Play(kBeep, 0);
    list.Play(kBoop, 0);
    EXPECT_EQ(device->Render(1)[0], 11);
    device->log.clear();
    list.Play(100, 0);
    list.Play(4711, 0);
    list.Stop(100);
    EXPECT_TRUE(device->log.empty());

    // The same number twice takes two slots and only the first plays.
    ZSoundList twice(nullptr);
    twice.AddFromResource(kBeep, 1);
    twice.AddFromResource(kBeep, 1);
    OldFakeAudioDevice* second = FakeAudioInstall::Current();
    twice.Play(kBeep, 0);
    twice.Play(kBeep, 0);
    EXPECT_EQ(second->log, (std::vector<std::string>{"play 0", "play 0"}));
}

TEST_F(SoundListTest, ThirtySlotsAtMostAndNoDeviceMeansSilence) {
    ZSoundList full(nullptr);
    for (int i = 0; i < 31; ++i) {
        full.AddFromResource(i == 30 ? kBoop : kBeep, 1);
    }
    OldFakeAudioDevice* device = FakeAudioInstall::Current();
    EXPECT_EQ(device->channels.size(), 30u);
    full.Play(kBoop, 0);
    EXPECT_TRUE(device->log.empty());

    FakeAudioInstall::SetAvailable(false);
    ZSoundList silent(nullptr);
    EXPECT_FALSE(silent.HasDevice());
    silent.AddFromResource(kBeep, 1);
    silent.Play(kBeep, 1);
    silent.Stop(kBeep);
    silent.StopAll();
    EXPECT_TRUE(device->log.empty());
}
