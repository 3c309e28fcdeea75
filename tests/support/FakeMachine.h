#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "audio/AudioDevice.h"
#include "gfx/Display.h"
#include "input/Input.h"
#include "shell/Shell.h"
#include "shell/WindowPlacement.h"

// The sound output in memory: each channel knows the WAVE resource whose samples it holds, how many, how
// often it was started and whether it plays and loops. Plays and stops are logged by resource number.
class FakeAudioDevice : public AudioDevice {
public:
    struct Channel {
        int32_t waveId;
        size_t size;
        int plays = 0;
        bool playing = false;
        bool loop = false;
        int ducks = 0;  // 1 for a jingle, 2 for speech
    };

    int CreateChannel(const uint8_t* samples, size_t size) override;
    void DestroyChannel(int channel) override { channels.at(channel).size = 0; }
    bool Play(int channel, bool loop) override;
    void Stop(int channel) override;
    void SetVolume(int percent) override { volume = percent; }
    void SetDucksMusic(int channel, bool speech) override { channels.at(channel).ducks = speech ? 2 : 1; }

    std::vector<Channel> channels;
    std::vector<int32_t> played;
    std::vector<int32_t> stopped;
    bool failCreate = false;
    int volume = 100;
};

// The one headless machine tests run the game on: while it lives, every platform service the game asks
// for (shell, display, keyboard and joystick, sound device, music player) is one of its fakes. Its clock
// moves only when the game sleeps or waits, or when a test moves it.
class FakeMachine {
public:
    FakeMachine();
    FakeMachine(const FakeMachine&) = delete;
    FakeMachine& operator=(const FakeMachine&) = delete;
    ~FakeMachine();

    // A message that arrives when the clock reaches time.
    void Schedule(uint32_t time, uint32_t message, uintptr_t wParam = 0) {
        script.push_back({time, {message, wParam}});
    }
    // Stands in for the audio thread: plays ticks of the piece; reaching its end notifies the game.
    void AdvanceMusic(int ticks);
    // The file name (after the last '/') of the piece open now, "" for none.
    std::string OpenMusic() const;
    static FakeMachine* Current();

    // Shell.
    uint32_t now = 1000;
    uint32_t seed = 1;
    uint32_t slept = 0;
    std::deque<std::pair<uint32_t, ShellMessage>> script;
    InstanceClaim instance = InstanceClaim::Held;
    bool classRegisters = true;
    bool windowCreates = true;
    int windowsCreated = 0;
    int windowsHidden = 0;
    WindowPlacement window;  // as created, and as the user leaves it
    bool cursorShown = true;
    std::vector<std::string> shownTexts;  // "title: text" of every message box

    // Display: the times of the presents.
    bool deviceCreates = true;
    bool modeSets = true;
    bool lost = false;
    bool restores = true;
    std::vector<uint32_t> presents;
    const Surface* shown = nullptr;  // the last picture presented

    // Keyboard and joystick 0 (positions 0 to 65535, centred at 32768).
    bool keyboardCreates = true;
    bool joystick = false;
    bool joystickReads = true;
    JoystickReading stick{32768, 32768, 0, 0};
    // The keyboard layout: the character on the key at a scan code where it differs from the US one.
    std::map<int, uint32_t> layout;

    // Sound: the device the last sound list opened (owned by that list), null when there is none.
    bool soundDevice = true;
    FakeAudioDevice* audio = nullptr;

    // Music: the player's commands ("open PATH", "play from 0", "play on", "stop", "close"), files that
    // fail to open, and the piece: 100 ticks long.
    std::vector<std::string> music;
    std::set<std::string> missingMusic;
    int piecePosition = 0;
    int musicVolume = 100;
    bool musicPlaying = false;
    bool endReported = false;
};
