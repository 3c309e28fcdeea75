#include "support/FakeMachine.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "audio/Music.h"
#include "base/Resources.h"

namespace {

FakeMachine* machine = nullptr;
int windowToken = 0;
std::function<void()> endOfPiece;

class FakeDisplayDevice : public DisplayDevice {
public:
    // Like the screen's device, only the game's own mode.
    bool SetMode(int width, int height, int bitsPerPixel, uint32_t) override {
        return machine->modeSets && width == 640 && height == 480 && bitsPerPixel == 8;
    }
    bool Present(const Surface& picture, const PaletteEntry*) override {
        machine->presents.push_back(machine->now);
        machine->shown = &picture;
        return true;
    }
    bool IsLost() const override { return machine->lost; }
    bool Restore() override { return machine->restores; }
    bool IsFullScreen() const override { return machine->window.fullScreen; }
    void SetFullScreen(bool on) override { machine->window.fullScreen = on; }
};

class FakeMusicPlayer : public MusicPlayer {
public:
    FakeMusicPlayer() { endOfPiece = [this] { ReportEnd(); }; }
    bool Open(const std::string& path) override {
        Log("open " + path, false);
        machine->piecePosition = 0;
        return !machine->missingMusic.count(path);
    }
    bool Play(bool fromStart) override {
        Log(fromStart ? "play from 0" : "play on", true);
        machine->piecePosition = fromStart ? 0 : machine->piecePosition;
        machine->endReported = false;
        return true;
    }
    void Stop() override { Log("stop", false); }
    void Close() override { Log("close", false); machine->piecePosition = 0; }
    void SetVolume(int percent) override { machine->musicVolume = percent; }

private:
    static void Log(const std::string& command, bool playing) {
        machine->music.push_back(command);
        machine->musicPlaying = playing;
    }
};

}  // namespace

int FakeAudioDevice::CreateChannel(const uint8_t* samples, size_t size) {
    if (failCreate)
        return -1;
    // Which WAVE resource holds exactly these samples. Every test loads the same sounds: where samples of
    // this size lay last time is looked at first.
    static std::map<size_t, std::pair<int32_t, size_t>> lastFound;
    auto [waveId, offset] = lastFound.count(size) ? lastFound[size] : std::pair(-1, size_t{0});
    ResourceData data;
    if (waveId < 0 || !FindResource(ResourceType::Wave, waveId, &data) || offset + size > data.size ||
        std::memcmp(data.bytes + offset, samples, size) != 0) {
        waveId = -1;
        for (uint32_t id : ListResources(ResourceType::Wave)) {
            const void* at = size > 0 && FindResource(ResourceType::Wave, id, &data)
                                 ? memmem(data.bytes, data.size, samples, size) : nullptr;
            if (at) {
                lastFound[size] = {static_cast<int32_t>(id), static_cast<const uint8_t*>(at) - data.bytes};
                waveId = static_cast<int32_t>(id);
            }
        }
    }
    channels.push_back(Channel{waveId, size});
    return static_cast<int>(channels.size()) - 1;
}

bool FakeAudioDevice::Play(int channel, bool loop) {
    Channel& c = channels.at(channel);
    c.plays += 1;
    c.playing = true;
    c.loop = loop;
    played.push_back(c.waveId);
    return true;
}

void FakeAudioDevice::Stop(int channel) {
    channels.at(channel).playing = false;
    stopped.push_back(channels.at(channel).waveId);
}

FakeMachine::FakeMachine() {
    machine = this;
    ShellPlatform shell;
    shell.claimSingleInstance = [] { return machine->instance; };
    shell.frameClock = [] { return machine->now; };
    shell.seedClock = [] { return machine->seed; };
    shell.registerWindowClass = [] { return machine->classRegisters; };
    shell.createWindow = [](const WindowPlacement& wanted) -> void* {
        machine->window = wanted;
        machine->windowsCreated += machine->windowCreates;
        return machine->windowCreates ? &windowToken : nullptr;
    };
    shell.hideWindow = [](void*, WindowPlacement* placement) {
        ++machine->windowsHidden;
        *placement = machine->window;
    };
    shell.showCursor = [](bool show) { machine->cursorShown = show; };
    shell.peekMessage = [](ShellMessage* message) {
        if (machine->script.empty() || machine->script.front().first > machine->now)
            return false;
        *message = machine->script.front().second;
        machine->script.pop_front();
        return true;
    };
    shell.waitMessage = [] {
        // Nothing left to wait for would hang the real game too: end it instead.
        if (machine->script.empty())
            machine->Schedule(machine->now, kWmDestroy);
        machine->now = std::max(machine->now, machine->script.front().first);
    };
    shell.sleep = [](uint32_t milliseconds) { machine->now += milliseconds; machine->slept += milliseconds; };
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
    // The US layout's letters, digits, minus and full stop on the main keys (the keypad starts at 71).
    input.keyLabel = [](int scanCode) {
        auto found = machine->layout.find(scanCode);
        char us = scanCode < 71 ? ScanCodeToChar(scanCode) : 0;
        return found != machine->layout.end() ? found->second
                                              : static_cast<uint32_t>(us > ' ' ? std::tolower(us) : 0);
    };
    SetInputPlatform(input);
    SetAudioDeviceFactory([]() -> std::unique_ptr<AudioDevice> {
        auto device = machine->soundDevice ? std::make_unique<FakeAudioDevice>() : nullptr;
        machine->audio = device.get();
        return device;
    });
    // The end of a piece arrives as a message, as the platform posts it to the main loop.
    InstallMusicPlayer(std::make_unique<FakeMusicPlayer>(), [](int code) {
        machine->Schedule(machine->now, kMmMciNotify, static_cast<uintptr_t>(code));
    });
}

FakeMachine::~FakeMachine() {
    ShutdownMusic();
    SetAudioDeviceFactory(nullptr);
    SetDisplayDeviceFactory(nullptr);
    ClearResourceOverrides();
    machine = nullptr;
}

void FakeMachine::AdvanceMusic(int ticks) {
    piecePosition = musicPlaying ? std::min(piecePosition + ticks, 100) : piecePosition;
    if (musicPlaying && piecePosition == 100 && !endReported) {
        endReported = true;
        endOfPiece();
    }
}

std::string FakeMachine::OpenMusic() const {
    auto last = std::find_if(music.rbegin(), music.rend(),
                             [](const std::string& c) { return c[0] == 'o' || c[0] == 'c'; });
    return last == music.rend() || *last == "close" ? "" : last->substr(last->find_last_of('/') + 1);
}

FakeMachine* FakeMachine::Current() { return machine; }
