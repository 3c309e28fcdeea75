#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "audio/MciSequencer.h"
#include "gfx/Display.h"
#include "platform/InstanceLock.h"
#include "platform/PlatformEvents.h"
#include "platform/ScanCodes.h"
#include "platform/SdlDisplayDevice.h"
#include "platform/SdlTestSupport.h"

namespace {

TEST(ScanCodes, KeysMapByPositionOntoTheGamesCodesAndNoTwoKeysShareOne) {
    const std::pair<SDL_Scancode, int> table[] = {
        {SDL_SCANCODE_Q, 16},         {SDL_SCANCODE_P, 25},     {SDL_SCANCODE_A, 30},
        {SDL_SCANCODE_L, 38},         {SDL_SCANCODE_Z, 44},     {SDL_SCANCODE_M, 50},
        {SDL_SCANCODE_1, 2},          {SDL_SCANCODE_0, 11},     {SDL_SCANCODE_ESCAPE, 1},
        {SDL_SCANCODE_RETURN, 28},    {SDL_SCANCODE_SPACE, 57}, {SDL_SCANCODE_BACKSPACE, 14},
        {SDL_SCANCODE_PERIOD, 52},    {SDL_SCANCODE_KP_7, 71},  {SDL_SCANCODE_KP_MINUS, 74},
        {SDL_SCANCODE_KP_4, 75},      {SDL_SCANCODE_KP_6, 77},  {SDL_SCANCODE_KP_0, 82},
        {SDL_SCANCODE_KP_ENTER, 156}, {SDL_SCANCODE_UP, 200},   {SDL_SCANCODE_LEFT, 203},
        {SDL_SCANCODE_RIGHT, 205},    {SDL_SCANCODE_DOWN, 208}, {SDL_SCANCODE_AUDIOPLAY, 0},
    };
    for (const auto& [scancode, code] : table) {
        EXPECT_EQ(DirectInputScanCode(scancode), code) << SDL_GetScancodeName(scancode);
    }
    for (int outside : {-1, int{SDL_NUM_SCANCODES}, 100000}) {
        EXPECT_EQ(DirectInputScanCode(outside), 0);
    }
    std::set<int> seen;
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        int code = DirectInputScanCode(scancode);
        // The two spellings of the hash key are one key.
        if (code != 0 && scancode != SDL_SCANCODE_NONUSHASH) {
            EXPECT_TRUE(code < 256 && seen.insert(code).second) << "code " << code;
        }
    }
    EXPECT_GT(seen.size(), 100u);
}

TEST(InstanceLock, OnlyOneHolderAtATimeAndTheFileFollowsTheRuntimeDirectory) {
    std::string runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string path = InstanceLockPath();
    EXPECT_EQ(path, runtime + "/KOVRAGAMES_TINTORIX_CLASS.lock");
    int first = TakeInstanceLock(path);
    ASSERT_GE(first, 0);
    EXPECT_EQ(TakeInstanceLock(path), -1) << "a second holder must be refused";
    close(first);
    int again = TakeInstanceLock(path);
    EXPECT_GE(again, 0) << "the lock goes with its holder";
    close(again);
    EXPECT_EQ(TakeInstanceLock(runtime + "/missing/dir/x.lock"), -2);
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_NE(InstanceLockPath().find("KOVRAGAMES_TINTORIX_CLASS-" + std::to_string(getuid())),
              std::string::npos);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
}

using SdlTest = SdlFixture;

TEST_F(SdlTest, EventsBecomeShellMessagesAndKeysReachTheKeyboardOnce) {
    for (Uint8 what : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_EXPOSED,
                       SDL_WINDOWEVENT_MOVED, SDL_WINDOWEVENT_CLOSE}) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        SDL_PushEvent(&event);
    }
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_P);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_P, true);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_A);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_A, true);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    // From the audio thread too.
    SDL_WaitThread(SDL_CreateThread(
                       [](void*) {
                           PostMusicNotification(kMusicNotifySuccessful);
                           return 0;
                       },
                       "music", nullptr),
                   nullptr);

    // The pause key once despite its repeat; the music's end as the music message.
    const std::vector<std::pair<uint32_t, uintptr_t>> expected = {{kWmActivateApp, 0},
                                                                  {kWmActivateApp, 1},
                                                                  {kWmPaint, 0},
                                                                  {kWmDestroy, 0},
                                                                  {kWmKeyDown, kVirtualKeyP},
                                                                  {kWmDestroy, 0},
                                                                  {kMmMciNotify, kMciNotifySuccessful}};
    std::vector<std::pair<uint32_t, uintptr_t>> messages;
    for (const ShellMessage& message : Drain()) {
        messages.emplace_back(message.message, message.wParam);
    }
    EXPECT_EQ(messages, expected);
    UpdateInput();
    EXPECT_TRUE(IsKeyDown(25) && IsKeyDown(30));
    ZString typed;
    ReadTypedKeys(typed);
    EXPECT_STREQ(typed.GetBuffer(), "PA") << "auto-repeat must not type again";
    PushKey(SDL_KEYUP, SDL_SCANCODE_A);
    EXPECT_TRUE(Drain().empty());
    UpdateInput();
    EXPECT_FALSE(IsKeyDown(30));
}

TEST_F(SdlTest, ThePresentedFrameShowsTheBackSurfaceThroughThePaletteAndALostOneWaitsForRestore) {
    SDL_Window* window = SDL_CreateWindow("t", 0, 0, 640, 480, 0);
    ASSERT_NE(window, nullptr);
    {
        std::unique_ptr<DisplayDevice> device = SdlDisplayDevice::Create(window);
        ASSERT_TRUE(device && device->SetMode(640, 480, 8, kDisplayFullScreen | kDisplayExclusive));
        std::unique_ptr<Surface> back = Surface::Create(640, 480);
        back->ColourFill(nullptr, 0);
        Rect block{100, 50, 110, 60};
        back->ColourFill(&block, 7);
        PaletteEntry palette[256] = {};
        palette[7] = {200, 100, 50, 4};
        auto pixelAt = [&](int x, int y) {
            Uint32 pixel = 0;
            SDL_Rect one{x, y, 1, 1};
            SDL_RenderReadPixels(static_cast<SdlDisplayDevice*>(device.get())->GetRenderer(), &one,
                                 SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
            return pixel & 0xFFFFFF;
        };
        ASSERT_TRUE(device->Present(*back, palette));
        EXPECT_EQ(pixelAt(105, 55), 0xC86432u);
        EXPECT_EQ(pixelAt(99, 55), 0u);
        EXPECT_EQ(pixelAt(110, 60), 0u);

        SdlDisplayDevice::MarkLost();
        EXPECT_TRUE(device->IsLost());
        EXPECT_FALSE(device->Present(*back, palette));
        ASSERT_TRUE(device->Restore());
        back->ColourFill(nullptr, 7);
        ASSERT_TRUE(device->Present(*back, palette));
        EXPECT_EQ(pixelAt(0, 0), 0xC86432u);
        EXPECT_FALSE(device->Present(*Surface::Create(320, 240), palette));
    }
    SDL_DestroyWindow(window);
}

TEST_F(SdlTest, OnlyAVideoDriverTheUserAskedForCountsAsADisplay) {
    EXPECT_TRUE(platform.registerWindowClass()) << "the fixture asked for dummy by name";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_FALSE(platform.registerWindowClass()) << "an invisible fallback is no window";
    if (!display.empty()) {
        setenv("DISPLAY", display.c_str(), 1);
    }
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_InitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
