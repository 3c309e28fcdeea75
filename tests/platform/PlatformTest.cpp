#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <set>
#include <string>

#include <unistd.h>

#include "gfx/Display.h"
#include "audio/MciSequencer.h"
#include "input/Input.h"
#include "platform/InstanceLock.h"
#include "platform/PlatformEvents.h"
#include "platform/ScanCodes.h"
#include "platform/SdlDisplayDevice.h"
#include "platform/SdlJoystick.h"
#include "platform/SdlShell.h"

namespace {

TEST(ScanCodes, KeysMapByPositionOntoTheGamesCodes) {
    const char* letters = "QWERTYUIOPASDFGHJKLZXCVBNM";
    const int codes[] = {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 30, 31, 32,
                         33, 34, 35, 36, 37, 38, 44, 45, 46, 47, 48, 49, 50};
    for (int i = 0; letters[i]; ++i) {
        SDL_Scancode scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (letters[i] - 'A'));
        EXPECT_EQ(DirectInputScanCode(scancode), codes[i]) << letters[i];
    }
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_1), 2);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_9), 10);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_0), 11);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_ESCAPE), 1);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_RETURN), 28);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_SPACE), 57);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_BACKSPACE), 14);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_PERIOD), 52);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_KP_7), 71);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_KP_MINUS), 74);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_KP_4), 75);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_KP_6), 77);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_KP_1), 79);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_KP_0), 82);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_KP_PERIOD), 83);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_KP_ENTER), 156);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_UP), 200);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_LEFT), 203);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_RIGHT), 205);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_DOWN), 208);

    // Nothing outside SDL's range, and unknown keys give no byte rather than a wrong one.
    EXPECT_EQ(DirectInputScanCode(-1), 0);
    EXPECT_EQ(DirectInputScanCode(SDL_NUM_SCANCODES), 0);
    EXPECT_EQ(DirectInputScanCode(100000), 0);
    EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_AUDIOPLAY), 0);

    // Two different keys never share a byte (but the two spellings of the hash key do).
    std::set<int> seen;
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        int code = DirectInputScanCode(scancode);
        if (code == 0 || scancode == SDL_SCANCODE_NONUSHASH) {
            continue;
        }
        EXPECT_LT(code, 256);
        EXPECT_TRUE(seen.insert(code).second) << "code " << code << " given twice";
    }
    EXPECT_GT(seen.size(), 100u);
}

TEST(InstanceLock, OnlyOneHolderAtATimeAndTheFileFollowsTheRuntimeDirectory) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    ASSERT_NE(runtime, nullptr);
    std::string saved = runtime;
    EXPECT_EQ(InstanceLockPath(), saved + "/KOVRAGAMES_TINTORIX_CLASS.lock");

    std::string path = InstanceLockPath();
    int first = TakeInstanceLock(path);
    ASSERT_GE(first, 0);
    EXPECT_EQ(TakeInstanceLock(path), -1) << "a second holder must be refused";
    close(first);
    int again = TakeInstanceLock(path);
    EXPECT_GE(again, 0) << "the lock goes with its holder";
    close(again);
    EXPECT_EQ(TakeInstanceLock(saved + "/missing/dir/x.lock"), -2);

    unsetenv("XDG_RUNTIME_DIR");
    std::string fallback = InstanceLockPath();
    setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    EXPECT_NE(fallback.find("KOVRAGAMES_TINTORIX_CLASS-" + std::to_string(getuid())), std::string::npos);
}

class SdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SetInputPlatform(MakeSdlInputPlatform());
        ASSERT_TRUE(CreateInput(nullptr, nullptr));
        platform = MakeSdlShellPlatform();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        ReleaseInput();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    static void PushKey(Uint32 type, SDL_Scancode scancode, bool repeat = false, Uint16 mod = KMOD_NONE) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = mod;
        event.key.repeat = repeat ? 1 : 0;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&event);
    }
    static void PushWindowEvent(Uint8 what) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        SDL_PushEvent(&event);
    }
    std::vector<ShellMessage> Drain() {
        std::vector<ShellMessage> messages;
        ShellMessage message;
        while (platform.peekMessage(&message)) {
            messages.push_back(message);
        }
        return messages;
    }

    ShellPlatform platform;
};

TEST_F(SdlTest, EventsBecomeShellMessagesAndKeysReachTheKeyboardOnce) {
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    PushWindowEvent(SDL_WINDOWEVENT_MOVED);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_P);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_P, true);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_A);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_A, true);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_A, true);
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);

    std::vector<ShellMessage> messages = Drain();
    ASSERT_EQ(messages.size(), 6u);
    EXPECT_EQ(messages[0].message, kWmActivateApp);
    EXPECT_EQ(messages[0].wParam, 0u);
    EXPECT_EQ(messages[1].message, kWmActivateApp);
    EXPECT_EQ(messages[1].wParam, 1u);
    EXPECT_EQ(messages[2].message, kWmPaint);
    EXPECT_EQ(messages[3].message, kWmKeyDown) << "the pause key, once despite the repeat";
    EXPECT_EQ(messages[3].wParam, kVirtualKeyP);
    EXPECT_EQ(messages[4].message, kWmDestroy);
    EXPECT_EQ(messages[5].message, kWmDestroy);

    UpdateInput();
    EXPECT_TRUE(IsKeyDown(25));
    EXPECT_TRUE(IsKeyDown(30));
    ZString typed;
    ReadTypedKeys(typed);
    EXPECT_STREQ(typed.GetBuffer(), "PA") << "auto-repeat must not type again";

    PushKey(SDL_KEYUP, SDL_SCANCODE_A);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_AUDIOPLAY);
    EXPECT_TRUE(Drain().empty());
    UpdateInput();
    EXPECT_FALSE(IsKeyDown(30));
    EXPECT_TRUE(IsKeyDown(25));
}

TEST_F(SdlTest, TheMusicEndReachesTheLoopFromAnotherThread) {
    SDL_Thread* thread = SDL_CreateThread(
        [](void*) -> int {
            PostMusicNotification(kMusicNotifySuccessful);
            return 0;
        },
        "music", nullptr);
    ASSERT_NE(thread, nullptr);
    SDL_WaitThread(thread, nullptr);
    PostMusicNotification(kMusicNotifyAborted);

    std::vector<ShellMessage> messages = Drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, kMmMciNotify);
    EXPECT_EQ(messages[0].wParam, kMciNotifySuccessful);
    EXPECT_EQ(messages[1].message, kMmMciNotify);
    EXPECT_EQ(messages[1].wParam, static_cast<uintptr_t>(kMusicNotifyAborted));
}

TEST_F(SdlTest, ThePresentedFrameShowsTheBackSurfaceThroughThePalette) {
    SDL_Window* window = SDL_CreateWindow("t", 0, 0, 640, 480, 0);
    ASSERT_NE(window, nullptr);
    {
        std::unique_ptr<DisplayDevice> device = SdlDisplayDevice::Create(window);
        ASSERT_NE(device, nullptr);
        ASSERT_TRUE(device->SetMode(640, 480, 8, kDisplayFullScreen | kDisplayExclusive));
        auto* sdlDevice = static_cast<SdlDisplayDevice*>(device.get());

        std::unique_ptr<Surface> back = Surface::Create(640, 480);
        back->ColourFill(nullptr, 0);
        Rect block{100, 50, 110, 60};
        back->ColourFill(&block, 7);
        PaletteEntry palette[256] = {};
        palette[7] = {200, 100, 50, 4};

        auto pixelAt = [&](int x, int y) {
            Uint32 pixel = 0;
            SDL_Rect one{x, y, 1, 1};
            EXPECT_EQ(SDL_RenderReadPixels(sdlDevice->GetRenderer(), &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4), 0);
            return pixel & 0xFFFFFF;
        };
        ASSERT_TRUE(device->Present(*back, palette));
        EXPECT_EQ(pixelAt(105, 55), 0xC86432u);
        EXPECT_EQ(pixelAt(99, 55), 0u);
        EXPECT_EQ(pixelAt(110, 60), 0u);

        // A reset renderer loses the texture: nothing is shown until the device is restored.
        SdlDisplayDevice::MarkLost();
        EXPECT_TRUE(device->IsLost());
        EXPECT_FALSE(device->Present(*back, palette));
        ASSERT_TRUE(device->Restore());
        EXPECT_FALSE(device->IsLost());
        back->ColourFill(nullptr, 7);
        ASSERT_TRUE(device->Present(*back, palette));
        EXPECT_EQ(pixelAt(0, 0), 0xC86432u);

        std::unique_ptr<Surface> wrongSize = Surface::Create(320, 240);
        EXPECT_FALSE(device->Present(*wrongSize, palette));
    }
    SDL_DestroyWindow(window);
}

TEST_F(SdlTest, AVideoDriverTheUserAskedForCountsAsADisplay) {
    // Our SetUp asked for "dummy" by name, so it is taken as the user's wish.
    EXPECT_TRUE(platform.registerWindowClass());
    unsetenv("SDL_VIDEODRIVER");
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    const char* display = std::getenv("DISPLAY");
    std::string savedDisplay = display ? display : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    // Whatever SDL falls back to now shows nothing: that is no window, not an invisible game.
    EXPECT_FALSE(platform.registerWindowClass());
    if (display) {
        setenv("DISPLAY", savedDisplay.c_str(), 1);
    }
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_InitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
