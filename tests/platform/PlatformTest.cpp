#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "audio/MciSequencer.h"
#include "base/ZWinReg.h"
#include "gfx/Display.h"
#include "input/Controllers.h"
#include "input/Input.h"
#include "platform/InstanceLock.h"
#include "platform/Platform.h"
#include "platform/PlatformAudioDevice.h"
#include "platform/PlatformAudioMixer.h"
#include "platform/PlatformEvents.h"
#include "platform/ScanCodes.h"
#include "platform/SdlControllers.h"
#include "platform/SdlDisplayDevice.h"
#include "platform/SdlJoystick.h"
#include "platform/SdlShell.h"
#include "shell/WindowPlacement.h"
#include "shell/XAppData.h"

TEST(ScanCodes, KeysMapByPositionOntoTheGamesCodesAndNoTwoKeysShareOne) {
    // Every key the game reads, and one it does not.
    const char* names[] = {"Escape", "4",    "6",     "Backspace", "P",        "Return",   "Z",
                           "X",      "N",    "M",     "Space",     "Keypad 4", "Keypad 6", "Keypad Enter",
                           "Up",     "Left", "Right", "Down",      "AudioPlay"};
    const int codes[] = {1, 5, 7, 14, 25, 28, 44, 45, 49, 50, 57, 75, 77, 156, 200, 203, 205, 208, 0};
    std::set<int> seen;
    for (int scancode = -1; scancode <= SDL_NUM_SCANCODES; ++scancode) {
        int code = DirectInputScanCode(scancode);
        // The two spellings of the hash key are one key.
        EXPECT_TRUE(code == 0 ||
                    (scancode != SDL_SCANCODE_NONUSHASH && code < 256 && seen.insert(code).second) ||
                    code == 43) << scancode;
    }
    EXPECT_GT(seen.size(), 100u);
    for (size_t i = 0; i < std::size(codes); ++i)
        EXPECT_EQ(DirectInputScanCode(SDL_GetScancodeFromName(names[i])), codes[i]) << names[i];
}

TEST(PlatformAudioDevice, EffectsPlayAtHalfTheMixersVolumeTimesTheSettingAndNothingOutlivesTheDevice) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::unique_ptr<AudioDevice> other = PlatformAudioDevice::Open(), device = PlatformAudioDevice::Open();
    ASSERT_TRUE(other && device);
    const uint8_t samples[64] = {255};
    int channel = device->CreateChannel(samples, sizeof samples);
    EXPECT_TRUE(device->CreateChannel(nullptr, 4) == -1 && device->CreateChannel(samples, 0) == -1);
    // Numbers that name no sound do nothing.
    for (int stranger : {-1, channel + 1, INT32_MAX}) {
        EXPECT_FALSE(device->Play(stranger, false)) << stranger;
        device->Stop(stranger);
        device->SetDucksMusic(stranger, true);
        device->DestroyChannel(stranger);
    }
    // A sound made a voice and destroyed leaves nothing of SDL's behind.
    const int allocations = SDL_GetNumAllocations(), voice = device->CreateChannel(samples, sizeof samples);
    device->SetDucksMusic(voice, true);
    device->DestroyChannel(voice);
    EXPECT_EQ(SDL_GetNumAllocations(), allocations);
    ASSERT_TRUE(device->Play(channel, true));
    int mixer = 0;
    while (mixer < Mix_AllocateChannels(-1) && !Mix_Playing(mixer)) ++mixer;
    std::vector<int> volumes;
    for (int percent : {100, 50, 150, -5}) {
        device->SetVolume(percent);
        volumes.push_back(Mix_Volume(mixer, -1));
    }
    EXPECT_EQ(volumes, (std::vector<int>{MIX_MAX_VOLUME / 2, MIX_MAX_VOLUME / 4, MIX_MAX_VOLUME / 2, 0}));
    // The mixer's first channel steps the music back like any other.
    Mix_PlayChannel(0, Mix_GetChunk(mixer), -1);
    SetDucksMusic(0, MusicDuck::Speech);
    EXPECT_EQ(MusicDucked(), MusicDuck::Speech);
    SetDucksMusic(0, MusicDuck::None);
    Mix_HaltChannel(0);
    device->Stop(channel);
    EXPECT_FALSE(Mix_Playing(mixer));
    // Its sounds stop with it, and the last device closes the mixer.
    ASSERT_TRUE(device->Play(channel, true));
    device.reset();
    EXPECT_EQ(Mix_Playing(-1), 0);
    other.reset();
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0);
}

TEST(PlatformAudioDevice, NoDeviceToOpenMeansSilenceAndNoSecondTry) {
    // In a child: the failure is remembered for the rest of the process.
    if (pid_t child = fork(); child == 0) {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/nonexistent/out.raw", 1);
        const bool silent = !PlatformAudioDevice::Open() && !AcquireMixer();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        _exit(silent && !AcquireMixer() ? 0 : 1);
    } else {
        int status = -1;
        EXPECT_TRUE(waitpid(child, &status, 0) == child && status == 0) << status;
    }
}

TEST(InstanceLock, OnlyOneHolderAtATimeInADirectoryNoOtherUserCanWrite) {
    std::string runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string config = ZWinReg::RegistryFilePath(XAppData::kRegistryKey);
    config = config.substr(0, config.rfind('/'));
    std::filesystem::create_directories(config);
    const std::string name = "/KOVRAGAMES_TINTORIX_CLASS.lock";
    EXPECT_EQ(InstanceLockPaths(), (std::vector<std::string>{runtime + name, config + name}));
    // A shared directory anyone can write to is no place for it: another user could hold it.
    setenv("XDG_RUNTIME_DIR", "/tmp", 1);
    EXPECT_EQ(InstanceLockPaths(), std::vector<std::string>{config + name});
    chmod(config.c_str(), 0770);
    EXPECT_TRUE(InstanceLockPaths().empty());
    // Started with standard input closed, the lock file opens as descriptor 0: still the game's lock.
    const std::string fresh = runtime + "/no-input";
    mkdir(fresh.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", fresh.c_str(), 1);
    const int input = dup(0);
    close(0);
    const InstanceClaim claim = MakeSdlShellPlatform().claimSingleInstance();
    dup2(input, 0);
    close(input);
    EXPECT_EQ(claim, InstanceClaim::Held);
    chmod(config.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);

    int first = TakeInstanceLock(runtime + name), second = TakeInstanceLock(runtime + name);
    close(first);
    int again = TakeInstanceLock(runtime + name);
    close(again);
    EXPECT_TRUE(first >= 0 && second == -1 && again >= 0) << "one holder at a time; the lock goes with it";
    EXPECT_EQ(TakeInstanceLock(runtime + "/missing/dir/x.lock"), -2);
    // The game's own claim holds it from then on; a second copy finds it taken.
    const ShellPlatform shell = MakeSdlShellPlatform();
    EXPECT_EQ(shell.claimSingleInstance(), InstanceClaim::Held);
    EXPECT_EQ(shell.claimSingleInstance(), InstanceClaim::OtherCopy);
}

// SDL's dummy video driver with the input module on the SDL keyboard and joystick, as at start-up.
class SdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SetInputPlatform(MakeSdlInputPlatform());
        ASSERT_TRUE(CreateInput(nullptr, nullptr));
        platform = MakeSdlShellPlatform();
        Drain();
    }
    void TearDown() override {
        if (pad >= 0)
            SDL_JoystickDetachVirtual(pad);
        CloseControllers();
        CloseJoystick();
        ReleaseInput();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK | SDL_INIT_VIDEO);
    }
    static void PushKey(Uint32 type, SDL_Scancode scancode, bool repeat = false, Uint16 mod = 0) {
        SDL_Event event{type};
        event.key = {type, 0, 0, 0, repeat, 0, 0, {scancode, 0, mod, 0}};
        SDL_PushEvent(&event);
    }
    // Every waiting event through the shell's message pump, as message and parameter.
    std::vector<uintptr_t> Drain() {
        std::vector<uintptr_t> messages;
        for (ShellMessage message; platform.peekMessage(&message);)
            messages.insert(messages.end(), {message.message, message.wParam});
        return messages;
    }
    // The game's window, not full screen.
    void* OpenWindow() {
        WindowPlacement placement;
        placement.fullScreen = false;
        return platform.createWindow(placement);
    }
    // A virtual game controller's instance, or -1 where SDL cannot make one that opens as a controller.
    SDL_JoystickID AttachPad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        pad = SDL_JoystickAttachVirtualEx(&desc);
        return pad < 0 || !SDL_IsGameController(pad) ? -1 : SDL_JoystickGetDeviceInstanceID(pad);
    }
    // Sets the pad's d-pad left and stick, then takes a snapshot.
    void Steer(SDL_JoystickID id, bool left, int stick, bool a = false) {
        SDL_Joystick* joystick = SDL_JoystickFromInstanceID(id);
        SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, left);
        SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, a);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(stick));
        Drain();
        UpdateInput();
    }

    ShellPlatform platform;
    int pad = -1;
};

TEST_F(SdlTest, EventsBecomeShellMessagesAndKeysReachTheKeyboardOnce) {
    void* window = OpenWindow();
    ASSERT_NE(window, nullptr);
    auto sizeOf = [window, w = 0, h = 0]() mutable {
        return SDL_GetWindowSize(static_cast<SDL_Window*>(window), &w, &h), std::pair(w, h);
    };
    const auto windowed = sizeOf();
    Drain();
    for (Uint8 what : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_EXPOSED,
                       SDL_WINDOWEVENT_MOVED, SDL_WINDOWEVENT_CLOSE}) {
        SDL_Event event{SDL_WINDOWEVENT};
        event.window = {SDL_WINDOWEVENT, 0, 0, what, 0, 0, 0, 120, 80};
        SDL_PushEvent(&event);
    }
    for (SDL_Scancode key : {SDL_SCANCODE_P, SDL_SCANCODE_A})
        for (bool repeat : {false, true}) PushKey(SDL_KEYDOWN, key, repeat);
    // Alt+Enter switches the window, there and back and there again, and is no key of the game's.
    for (int i = 0; i < 3; ++i) PushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, false, KMOD_LALT);
    // In full screen the window's place is the desktop's, not one the user chose.
    SDL_Event moved{SDL_WINDOWEVENT};
    moved.window = {SDL_WINDOWEVENT, 0, 0, SDL_WINDOWEVENT_MOVED, 0, 0, 0, 0, 0};
    SDL_PushEvent(&moved);
    // The key at Q's place on a French keyboard types A; an accented letter types its plain letter.
    SDL_Event text{SDL_TEXTINPUT};
    std::strcpy(text.text.text, "a\xC3\xA9z");
    SDL_PushEvent(&text);
    SDL_Event quit{SDL_QUIT};
    SDL_PushEvent(&quit);
    SDL_WaitThread(SDL_CreateThread([](void*) { return PostMusicNotification(kMusicNotifySuccessful), 0; },
                                    "music", nullptr), nullptr);
    // The pause key once despite its repeat; the music's end from the audio thread as the music message.
    EXPECT_EQ(Drain(), (std::vector<uintptr_t>{kWmActivateApp, 0, kWmActivateApp, 1, kWmPaint, 0, kWmDestroy,
                                               0, kWmKeyDown, kVirtualKeyP, kWmDestroy, 0, kMmMciNotify,
                                               kMciNotifySuccessful}));
    UpdateInput();
    EXPECT_TRUE(IsKeyDown(25) && IsKeyDown(30) && !IsKeyDown(28));
    ZString typed;
    ReadTypedKeys(typed);
    EXPECT_STREQ(typed.GetBuffer(), "AEZ") << "letters come from the layout's text, not the keys";
    // The US layout's characters; none for Escape, the keypad and the space bar.
    EXPECT_EQ((std::vector<uint32_t>{LayoutCharacter(kKeyZ), LayoutCharacter(kKey4), LayoutCharacter(51),
                                     LayoutCharacter(kKeyEscape), LayoutCharacter(kKeyPad4),
                                     LayoutCharacter(kKeySpace)}),
              (std::vector<uint32_t>{'z', '4', ',', 0, 0, 0}));
    PushKey(SDL_KEYUP, SDL_SCANCODE_A);
    EXPECT_TRUE(Drain().empty());
    UpdateInput();
    EXPECT_FALSE(IsKeyDown(30));
    // The window's last state is what the settings keep, and it goes from the screen at once.
    WindowPlacement placement;
    platform.hideWindow(window, &placement);
    EXPECT_EQ(std::tuple(IsFullScreenWindow(), placement.fullScreen, placement.x, placement.y,
                         SDL_GetWindowFlags(static_cast<SDL_Window*>(window)) & SDL_WINDOW_HIDDEN),
              std::tuple(true, true, 120, 80, SDL_WINDOW_HIDDEN));
    // Back from full screen, the window has its own size, border and handles again.
    ToggleFullScreen(static_cast<SDL_Window*>(window));
    const Uint32 frame = SDL_GetWindowFlags(static_cast<SDL_Window*>(window));
    EXPECT_EQ(std::tuple(sizeOf(), frame & (SDL_WINDOW_BORDERLESS | SDL_WINDOW_RESIZABLE | SDL_WINDOW_FULLSCREEN)),
              std::tuple(windowed, SDL_WINDOW_RESIZABLE));
    DestroyMainWindow();
}

TEST(SdlShell, AMessageWithNoDisplayToShowItOnGoesToTheErrorOutput) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    testing::internal::CaptureStderr();
    MakeSdlShellPlatform().showMessage("Title", "the text");
    EXPECT_EQ(testing::internal::GetCapturedStderr().substr(0, 16), "Title: the text\n");
}

TEST_F(SdlTest, TheFrameClockIsTheMonotonicOneAndADriverThatShowsNothingIsUsedOnlyWhenAskedFor) {
    auto steady = [] {
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now().time_since_epoch()).count());
    };
    const uint32_t before = steady(), clock = platform.frameClock(), after = steady();
    EXPECT_LE(clock - before, after - before) << before << " " << clock << " " << after;
    EXPECT_TRUE(platform.registerWindowClass());
    unsetenv("SDL_VIDEODRIVER");
    EXPECT_FALSE(platform.registerWindowClass()) << "SDL's fallback is no display";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    // Refused, it is closed again: one close each for the set-up and the first registration.
    for (int i = 0; i < 2; ++i) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

TEST_F(SdlTest, QuitSignalsAskForTheShutdownAndAFileSizeLimitOrAClosedPipeKillsNothing) {
    InstallQuitSignals();
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGXFSZ, SIGPIPE}) {
        raise(signal);
        std::vector<uintptr_t> destroy = {kWmDestroy, 0};
        bool ignored = signal == SIGXFSZ || signal == SIGPIPE;
        EXPECT_EQ(Drain(), ignored ? std::vector<uintptr_t>{} : destroy) << signal;
    }
}

TEST_F(SdlTest, ThePresentedFrameShowsTheBackSurfaceThroughThePaletteAndALostOneWaitsForRestore) {
    SDL_Window* window = SDL_CreateWindow("t", 0, 0, 640, 520, 0);
    std::unique_ptr<DisplayDevice> device = SdlDisplayDevice::Create(window);
    ASSERT_TRUE(device && !device->Restore()) << "nothing to restore before a mode is set";
    ASSERT_TRUE(device->SetMode(640, 480, 8, kDisplayFullScreen | kDisplayExclusive));
    std::unique_ptr<Surface> back = Surface::Create(640, 480);
    back->ColourFill(nullptr, 0);
    Rect block{100, 50, 110, 60};
    back->ColourFill(&block, 7);
    PaletteEntry palette[256] = {};
    palette[7] = {200, 100, 50, 4};
    // What the window shows, the picture 20 rows down in it.
    SDL_Surface* shown = SDL_GetWindowSurface(window);
    auto pixelAt = [&](int x, int y) {
        return static_cast<Uint32*>(shown->pixels)[(y + 20) * shown->pitch / 4 + x] & 0xFFFFFF;
    };
    // Above and below the picture black, whatever was shown there before.
    SDL_FillRect(shown, nullptr, 0xFFFFFF);
    ASSERT_TRUE(device->Present(*back, palette));
    EXPECT_EQ((std::vector{pixelAt(105, 55), pixelAt(99, 55), pixelAt(110, 60), pixelAt(0, -20),
                           pixelAt(639, 499)}), (std::vector{0xC86432u, 0u, 0u, 0u, 0u}));
    SdlDisplayDevice::MarkLost();
    EXPECT_TRUE(device->IsLost() && !device->Present(*back, palette));
    back->ColourFill(nullptr, 7);
    EXPECT_TRUE(device->Restore() && device->Present(*back, palette) && pixelAt(0, 0) == 0xC86432u);
    for (auto [width, height] : {std::pair(320, 480), std::pair(640, 240)})
        EXPECT_FALSE(device->Present(*Surface::Create(width, height), palette)) << width;
    device.reset();
    EXPECT_NE(SdlDisplayDevice::Create(window), nullptr) << "the window takes the next display";
    SDL_DestroyWindow(window);
}

TEST_F(SdlTest, WindowsDisplaysAndModesMadeAgainAndAgainKeepNoMemory) {
    auto held = [] { return static_cast<long>(mallinfo2().uordblks + mallinfo2().hblkhd); };
    long modesGrew = 0;
    auto cycle = [&] {
        std::unique_ptr<DisplayDevice> device = SdlDisplayDevice::Create(OpenWindow());
        device->SetMode(640, 480, 8, 0);
        const long before = held();
        for (int mode = 0; mode < 10; ++mode) device->SetMode(640, 480, 8, 0);
        modesGrew = std::max(modesGrew, held() - before);
        device.reset();
        DestroyMainWindow();
        Drain();
    };
    cycle();
    const long before = held();
    for (int i = 0; i < 20; ++i) cycle();
    EXPECT_LT(held() - before, 64 << 10) << "windows";
    EXPECT_LT(modesGrew, 64 << 10) << "modes";
}

TEST_F(SdlTest, APluggedInControllerIsPlayerTwosButtonByButtonUntilUnpluggedAndJoystickZeroStaysPlayerOnes) {
    ASSERT_TRUE(SDL_WasInit(SDL_INIT_GAMECONTROLLER)) << "the game controller events must be on";
    SDL_JoystickID id = AttachPad();
    if (id < 0 || SDL_JoystickID(OpenJoystickInstance()) == id)
        GTEST_SKIP() << "no virtual game controller beside joystick 0 here";
    Drain();
    ASSERT_EQ(GetControllerPlayer(id), 1);
    SDL_Joystick* joystick = SDL_JoystickFromInstanceID(id);
    // An SDL button (or none) and the stick's vertical axis; what the game reads: the pad button's place in
    // PadButton's order from 1, plus 10, 20, 40 or 80 for a direction up, down, left or right entered; the
    // stick past its dead zone points the d-pad's way.
    const int cases[][3] = {
        {SDL_CONTROLLER_BUTTON_A, 0, 1},          {SDL_CONTROLLER_BUTTON_B, 0, 2},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, 0, 13},   {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0, 24},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0, 45}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0, 86},
        {SDL_CONTROLLER_BUTTON_X, 0, 0},          {-1, -30000, 13},
        {-1, 30000, 24},                          {-1, -kPadDeadZone + 1, 0}};
    const int directions[] = {kJoyUp, kJoyDown, kJoyLeft, kJoyRight};
    for (auto [button, stick, want] : cases)
        for (bool down : {true, false}) {
            if (button >= 0)
                SDL_JoystickSetVirtualButton(joystick, button, down);
            SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, down ? stick : 0);
            Drain();
            UpdateInput();
            int read = 0;
            for (int b = 0; b < 6; ++b) read += IsControllerButtonPressed(PadButton(b)) ? b + 1 : 0;
            for (int d = 0; d < 4; ++d) read += IsControllerDirectionEntered(directions[d]) ? 10 << d : 0;
            EXPECT_EQ(read, down ? want : 0) << button << " " << stick;
        }
    Steer(id, true, 0);
    EXPECT_EQ(std::pair(GetControllerHorizontal(1), GetKeyHorizontal()), std::pair(kJoyLeft, kJoyNone));
    Steer(id, false, 30000, true);
    EXPECT_EQ(GetControllerHorizontal(1), kJoyRight);
    EXPECT_TRUE(IsConfirmPressed());
    SDL_JoystickDetachVirtual(std::exchange(pad, -1));
    Steer(id, false, 0);
    EXPECT_EQ(std::pair(GetControllerPlayer(id), GetControllerHorizontal(1)), std::pair(-1, kJoyNone));
    // Found at start-up, a controller is joystick 0: player 1's, and no extra controller.
    ReleaseInput();
    id = AttachPad();
    ASSERT_TRUE(CreateInput(nullptr, nullptr));
    Drain();
    ASSERT_EQ(SDL_JoystickID(OpenJoystickInstance()), id);
    Steer(id, true, -30000);
    EXPECT_EQ(std::tuple(GetControllerPlayer(id), GetControllerHorizontal(1), GetJoyHorizontal(1)),
              std::tuple(-1, kJoyNone, kJoyLeft));
    // Unplugged mid-turn, joystick 0 reads as centred, not as a stick pushed up and left.
    SDL_JoystickDetachVirtual(std::exchange(pad, -1));
    Steer(id, false, 0);
    EXPECT_EQ(GetJoyHorizontal(1), kJoyNone);
}

TEST_F(SdlTest, AtShutdownTheGameLetsGoOfItsControllersAndWindowAndClosesTheirDrivers) {
    SDL_JoystickID id = AttachPad();
    if (id < 0 || SDL_JoystickID(OpenJoystickInstance()) == id)
        GTEST_SKIP() << "no virtual game controller beside joystick 0 here";
    Drain();
    ASSERT_EQ(GetControllerPlayer(id), 1);
    ASSERT_NE(OpenWindow(), nullptr);
    ShutdownPlatform();
    const Uint32 open = SDL_WasInit(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER);
    EXPECT_EQ(std::tuple(GetControllerPlayer(id), GetMainWindow(), open), std::tuple(-1, nullptr, 0u));
}
