#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "audio/AudioDevice.h"
#include "base/Resources.h"
#include "gfx/Display.h"
#include "shell/XAppData.h"
#include "support/TestSupport.h"

// Records which sound effects the scenes start and stop, recognised by their samples.
class SoundLog {
public:
    static SoundLog& Get() {
        static SoundLog log;
        return log;
    }
    void Clear() {
        ClearEvents();
        channelIds.clear();
    }
    void ClearEvents() {
        played.clear();
        stopped.clear();
    }
    int CountPlayed(int32_t id) const { return static_cast<int>(std::count(played.begin(), played.end(), id)); }
    bool HasChannels() const { return !channelIds.empty(); }
    size_t ChannelCount() const { return channelIds.size(); }
    size_t StoppedChannelCount() const {
        std::vector<int> distinct(stopped);
        std::sort(distinct.begin(), distinct.end());
        return static_cast<size_t>(std::unique(distinct.begin(), distinct.end()) - distinct.begin());
    }

    std::vector<int32_t> played;
    std::vector<int> stopped;
    std::map<int, int32_t> channelIds;
};

class RecordingAudioDevice : public AudioDevice {
public:
    int CreateChannel(const uint8_t* samples, size_t size) override {
        int channel = nextChannel++;
        SoundLog::Get().channelIds[channel] = IdOfSamples(samples, size);
        return channel;
    }
    void DestroyChannel(int) override {}
    bool Play(int channel, bool) override {
        SoundLog::Get().played.push_back(SoundLog::Get().channelIds[channel]);
        return true;
    }
    void Stop(int channel) override { SoundLog::Get().stopped.push_back(channel); }

    static std::unique_ptr<AudioDevice> Make() { return std::make_unique<RecordingAudioDevice>(); }

private:
    // The WAVE resource whose bytes hold exactly these samples.
    static int32_t IdOfSamples(const uint8_t* samples, size_t size) {
        for (uint32_t id : ListResources(ResourceType::Wave)) {
            ResourceData data;
            if (!FindResource(ResourceType::Wave, id, &data) || size == 0 || data.size < size) {
                continue;
            }
            const uint8_t* end = data.bytes + data.size;
            for (const uint8_t* at = data.bytes; at + size <= end; ++at) {
                if (*at == samples[0] && std::equal(samples, samples + size, at)) {
                    return static_cast<int32_t>(id);
                }
            }
        }
        return -1;
    }
    int nextChannel = 0;
};

// A headless display, input and an application object with its own configuration and a recording
// sound device.
class SceneTest : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        config = std::make_unique<TempConfigDir>();
        app = std::make_unique<XAppData>();
        SoundLog::Get().Clear();
        SetAudioDeviceFactory(&RecordingAudioDevice::Make);
        app->LoadSounds();
    }
    void TearDown() override {
        app.reset();
        SetAudioDeviceFactory(nullptr);
        config.reset();
        HeadlessTest::TearDown();
    }

    // A picture of one colour whose top-left pixel is the key colour 0, so keyed drawing shows the rest.
    static void InstallKeyedPlain(uint32_t id, int width, int height, uint8_t colour) {
        InstallBitmap(id, width, height, [colour](int x, int y) { return x == 0 && y == 0 ? 0 : colour; });
    }
    // A sheet of equal frames, frame f in colour first + f, keyed on its top-left pixel.
    static void InstallKeyedSheet(uint32_t id, int width, int frameHeight, int frames, uint8_t first) {
        InstallBitmap(id, width, frameHeight * frames, [=](int x, int y) {
            return x == 0 && y == 0 ? 0 : static_cast<uint8_t>(first + y / frameHeight);
        });
    }
    // Sound checks need the sound list to load the waves.
    static bool SoundsLoaded() { return SoundLog::Get().HasChannels(); }
    static void Tap(int scanCode) {
        Press(scanCode);
        Release(scanCode);
    }
    // A key down for one frame and up again for the next: two frames.
    template <typename Scene>
    static void PressFor(Scene& scene, int scanCode) {
        Press(scanCode);
        scene.UpdateFrame();
        Release(scanCode);
        scene.UpdateFrame();
    }
    template <typename Scene>
    static void RunFrames(Scene& scene, int count) {
        for (int i = 0; i < count; ++i) {
            scene.UpdateFrame();
        }
    }

    std::unique_ptr<TempConfigDir> config;
    std::unique_ptr<XAppData> app;
};
