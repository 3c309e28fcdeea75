#include "audio/ZSound.h"
#include "audio/ZSoundList.h"
#include "base/Resources.h"
#include "support/TestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A chunk with its header and the pad byte behind an odd body; "RIFF" with "WAVE" and chunks is an image.
Bytes Chunk(const char* id, const Bytes& body) {
    Bytes out(id, id + 4);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(body.size() >> (8 * i)));
    out.insert(out.end(), body.begin(), body.end());
    out.resize(out.size() + body.size() % 2, 0xEE);
    return out;
}

Bytes Riff(std::initializer_list<Bytes> chunks) {
    Bytes body{'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
    return Chunk("RIFF", body);
}

// A format chunk that claims 16-bit stereo at 44100 Hz, which the sound ignores.
const Bytes kFormat = Chunk("fmt ", {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0});

// Two effects of the game replaced by 100 and 50 samples, their chunks in either order.
class SoundTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        OverrideResource(ResourceType::Wave, 180, Riff({kFormat, Chunk("data", Bytes(100, 228))}));
        OverrideResource(ResourceType::Wave, 176, Riff({Chunk("data", Bytes(50, 68)), kFormat}));
    }
    // Each channel's wave, sample count, starts, and whether it plays and loops.
    static std::vector<std::array<int, 5>> Channels(const FakeAudioDevice& device) {
        std::vector<std::array<int, 5>> all;
        for (const auto& c : device.channels)
            all.push_back({c.waveId, static_cast<int>(c.size), c.plays, c.playing, c.loop});
        return all;
    }
};

TEST(ZSoundChunkWalk, TheFirstDataChunkIsFoundWhateverTheOrderAndPaddingButNeverPastTheEnd) {
    const Bytes samples{1, 2, 3, 4, 5}, whole = Riff({kFormat, Chunk("data", samples)}), none{'n', 'o'};
    const Bytes wild{'c', 'u', 'e', ' ', 255, 255, 255, 255};  // a chunk running far past the end
    Bytes cut(whole.begin(), whole.end() - 3), shortRiff = whole;
    shortRiff[4] = 28;  // the chunk area ends behind the format chunk
    const std::pair<Bytes, Bytes> cases[] = {
        {Riff({kFormat, Chunk("LIST", {9, 9, 9}), Chunk("data", samples)}), samples},
        {Riff({Chunk("data", samples), kFormat}), samples},
        {Riff({kFormat, Chunk("data", samples), Chunk("data", {7, 7}), wild}), samples}, {cut, {1, 2, 3}},
        {Riff({Chunk("data", Bytes(300, 7)), kFormat}), Bytes(300, 7)},
        {Riff({Chunk("data", Bytes(70000, 7)), kFormat}), Bytes(70000, 7)},  // a size's third byte counts
        {shortRiff, none},
        {Riff({kFormat, Chunk("data", {})}), {}},  // an empty last chunk is found, without samples
        {Riff({kFormat, Chunk("junk", {1})}), none}, {{'R', 'I', 'F', 'F', 4, 0, 0}, none}};
    for (const auto& [image, expected] : cases) {
        const uint8_t* found = nullptr;
        uint32_t length = 0;
        bool ok = ZSound::FindWaveData(image.data(), image.size(), &found, &length);
        EXPECT_EQ(ok ? Bytes(found, found + length) : none, expected) << image.size() << " bytes";
    }
}

TEST_F(SoundTest, SoundsPlayByTheirNumberTheFirstCopyOfTwoAndOnlyLoopFlagOneLoops) {
    ZSoundList list(nullptr);
    for (uint16_t id : {180, 176, 4711, 180}) {
        list.AddFromResource(id, 1);  // 4711 has no resource and no channel; the second 180 never plays
    }
    for (int loop : {0, 2, -1, 1}) {
        list.Play(180, 0);
        list.Play(176, loop);
        EXPECT_EQ(machine.audio->channels[1].loop, loop == 1) << loop;
    }
    list.Stop(180);
    EXPECT_EQ(Channels(*machine.audio), (std::vector<std::array<int, 5>>{
                                            {180, 100, 4, 0, 0}, {176, 50, 4, 1, 1}, {180, 100, 0, 0, 0}}));
    list.StopAll();
    list.Play(100, 0);
    list.Play(4711, 0);
    EXPECT_EQ(Channels(*machine.audio)[1][3], 0);
    EXPECT_EQ(machine.audio->played.size(), 8u) << "no such sound, or one without samples";
}

TEST_F(SoundTest, CopiesAreUsedInTurnAndWithoutADeviceNothingSounds) {
    FakeAudioDevice device;
    ZSound jingle(&device, 177, 1), sound(&device, 180, 3);  // the music steps back for jingles only
    EXPECT_EQ(std::tuple(device.channels[0].ducks, device.channels[3].ducks), std::tuple(1, 0));
    const std::vector<int> turns[] = {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {2, 1, 1}};
    for (const auto& plays : turns) {
        sound.Play(0);
        EXPECT_EQ(
            (std::vector<int>{device.channels[1].plays, device.channels[2].plays, device.channels[3].plays}),
            plays);
    }
    device.failCreate = true;
    ZSound silent(&device, 180, 2);
    silent.Play(1);
    silent.Stop();
    // Copies that could not be made stay silent.
    EXPECT_EQ(device.played.size() + device.stopped.size(), 4u);
    machine.soundDevice = false;
    ZSoundList none(nullptr);
    none.AddFromResource(180, 1);
    none.Play(180, 1);
    EXPECT_FALSE(none.HasDevice() || machine.audio);
}

}  // namespace
