#include "support/FakeMachine.h"

#include <algorithm>
#include <memory>

#include "audio/Music.h"
#include "base/Resources.h"

namespace {

FakeMachine* machine = nullptr;
int windowToken = 0;

// The WAVE resource whose bytes hold exactly these samples.
int32_t WaveHolding(const uint8_t* samples, size_t size) {
    for (uint32_t id : ListResources(ResourceType::Wave)) {
        ResourceData data;
        if (size == 0 || !FindResource(ResourceType::Wave, id, &data) || data.size < size) {
            continue;
        }
        if (std::search(data.bytes, data.bytes + data.size, samples, samples + size) !=
            data.bytes + data.size) {
            return static_cast<int32_t>(id);
        }
    }
    return -1;
}

class FakeDisplayDevice : public DisplayDevice {
public:
    bool SetMode(int, int, int, uint32_t) override { return machine->modeSets; }
    bool Present(const Surface& back, const PaletteEntry*) override {
        int black = 0;
        int white = 0;
        for (int y = 0; machine->countPixels && y < back.GetHeight(); ++y) {
            const uint8_t* row = back.Row(y);
            black += static_cast<int>(std::count(row, row + back.GetWidth(), 0));
            white += static_cast<int>(std::count(row, row + back.GetWidth(), 255));
        }
        machine->presents.push_back({machine->now, black, white});
        return true;
    }
    bool IsLost() const override { return machine->lost; }
    bool Restore() override { return machine->restores; }
};

}  // namespace

class FakeMusicPlayer : public MusicPlayer {
public:
    bool Open(const std::string& path) override {
        machine->music.push_back("open " + path);
        machine->piecePosition = 0;
        machine->musicPlaying = false;
        return !machine->missingMusic.count(path);
    }
    bool Play(bool fromStart) override {
        machine->music.push_back(fromStart ? "play from 0" : "play on");
        if (fromStart) {
            machine->piecePosition = 0;
        }
        machine->musicPlaying = true;
        machine->endReported = false;
        return true;
    }
    void Stop() override {
        machine->music.push_back("stop");
        machine->musicPlaying = false;
    }
    void Close() override {
        machine->music.push_back("close");
        machine->musicPlaying = false;
        machine->piecePosition = 0;
    }
    void End() { ReportEnd(); }
};

namespace {
FakeMusicPlayer* musicPlayer = nullptr;
}

int FakeAudioDevice::CreateChannel(const uint8_t* samples, size_t size) {
    if (failCreate) {
        return -1;
    }
    channels.push_back(Channel{WaveHolding(samples, size), std::vector<uint8_t>(samples, samples + size)});
    return static_cast<int>(channels.size()) - 1;
}

bool FakeAudioDevice::Play(int channel, bool loop) {
    Channel& c = channels.at(channel);
    c.position = 0;
    c.playing = true;
    c.loop = loop;
    played.push_back(c.waveId);
    return true;
}

void FakeAudioDevice::Stop(int channel) {
    Channel& c = channels.at(channel);
    c.playing = false;
    c.position = 0;
    stopped.push_back(c.waveId);
}

std::vector<int> FakeAudioDevice::Render(size_t frames) {
    std::vector<int> out(frames, 0);
    for (Channel& c : channels) {
        for (size_t i = 0; i < frames && c.playing && !c.destroyed; ++i) {
            out[i] += static_cast<int>(c.samples[c.position]) - 128;
            if (++c.position == c.samples.size()) {
                c.position = 0;
                c.playing = c.loop;
            }
        }
    }
    return out;
}

int FakeAudioDevice::CountPlayed(int32_t waveId) const {
    return static_cast<int>(std::count(played.begin(), played.end(), waveId));
}

FakeMachine::FakeMachine() {
    machine = this;
    ShellPlatform shell;
    shell.claimSingleInstance = [] { return !machine->otherInstance; };
    shell.frameClock = [] { return machine->now; };
    shell.seedClock = [] { return machine->seed; };
    shell.registerWindowClass = [] { return machine->classRegisters; };
    shell.createWindow = []() -> void* {
        if (!machine->windowCreates) {
            return nullptr;
        }
        ++machine->windowsCreated;
        return &windowToken;
    };
    shell.hideWindow = [](void*) { ++machine->windowsHidden; };
    shell.showCursor = [](bool show) { machine->cursorShown = show; };
    shell.peekMessage = [](ShellMessage* message) {
        if (machine->script.empty() || machine->script.front().time > machine->now) {
            return false;
        }
        *message = machine->script.front().message;
        machine->script.pop_front();
        return true;
    };
    shell.waitMessage = [] {
        // Nothing left to wait for would hang the real game too: end it instead.
        if (machine->script.empty()) {
            machine->Schedule(machine->now, kWmDestroy);
        }
        machine->now = std::max(machine->now, machine->script.front().time);
    };
    shell.sleep = [](uint32_t milliseconds) {
        machine->now += milliseconds;
        machine->slept += milliseconds;
    };
    shell.showMessage = [](const char* title, const char* text) {
        machine->shownTexts.push_back(std::string(title) + ": " + text);
    };
    SetShellPlatform(shell);

    SetDisplayDeviceFactory([](void*) -> std::unique_ptr<DisplayDevice> {
        return machine->deviceCreates ? std::make_unique<FakeDisplayDevice>() : nullptr;
    });

    InputPlatform input;
    input.createKeyboard = [] { return machine->keyboardCreates; };
    input.joyNumDevs = [] { return machine->joystick ? 1 : 0; };
    input.joyGetPos = [](JoystickReading* reading) {
        *reading = machine->stick;
        return machine->joystick && machine->joystickReads;
    };
    input.joyGetCaps = [](uint32_t* xMin, uint32_t* xMax, uint32_t* yMin, uint32_t* yMax) {
        *xMin = *yMin = 0;
        *xMax = *yMax = 65535;
        return machine->joystick;
    };
    SetInputPlatform(input);

    SetAudioDeviceFactory([]() -> std::unique_ptr<AudioDevice> {
        if (!machine->soundDevice) {
            machine->audio = nullptr;
            return nullptr;
        }
        auto device = std::make_unique<FakeAudioDevice>();
        machine->audio = device.get();
        return device;
    });

    auto player = std::make_unique<FakeMusicPlayer>();
    musicPlayer = player.get();
    // The end of a piece arrives as a message, as the platform posts it to the main loop.
    InstallMusicPlayer(std::move(player), [](int code) {
        machine->Schedule(machine->now, kMmMciNotify, static_cast<uintptr_t>(code));
    });
}

FakeMachine::~FakeMachine() {
    ShutdownMusic();
    musicPlayer = nullptr;
    SetAudioDeviceFactory(nullptr);
    SetDisplayDeviceFactory(nullptr);
    ClearResourceOverrides();
    machine = nullptr;
}

void FakeMachine::AdvanceMusic(int ticks) {
    if (!musicPlaying) {
        return;
    }
    piecePosition = std::min(piecePosition + ticks, pieceLength);
    if (piecePosition == pieceLength && !endReported) {
        endReported = true;
        musicPlayer->End();
    }
}

std::string FakeMachine::OpenMusic() const {
    for (auto it = music.rbegin(); it != music.rend(); ++it) {
        if (*it == "close") {
            return "";
        }
        if (it->rfind("open ", 0) == 0) {
            return it->substr(it->find_last_of('/') + 1);
        }
    }
    return "";
}

FakeMachine* FakeMachine::Current() {
    return machine;
}
