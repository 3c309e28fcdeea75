#include "platform/SdlShell.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "input/Input.h"
#include "platform/InstanceLock.h"
#include "platform/PlatformEvents.h"
#include "platform/ScanCodes.h"
#include "platform/SdlControllers.h"
#include "platform/SdlDisplayDevice.h"
#include "platform/WindowIcon.h"

namespace {

constexpr int kGameWidth = 640;
constexpr int kGameHeight = 480;

SDL_Window* mainWindow = nullptr;
bool fullScreen = false;
bool cursorWanted = true;
int lockDescriptor = -1;

uint32_t MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t milliseconds = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(milliseconds);
}

bool ClaimSingleInstance() {
    int fd = TakeInstanceLock(InstanceLockPath());
    if (fd == -1) {
        return false;
    }
    // A lock file that cannot be made at all does not keep the game from running.
    lockDescriptor = fd;
    return true;
}

bool RegisterWindowClass() {
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return false;
    }
    // Without a display SDL quietly falls back to drivers that show nothing.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!(asked && *asked) && driver &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    return true;
}

void* CreateWindow() {
    // Born where full screen puts it, so a desktop without a window manager shows it whole too.
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        desktop.w = kGameWidth * 2;
        desktop.h = kGameHeight * 2;
    }
    // Mapped once, already full screen: switching after the first map unmaps the window, and
    // without a window manager nobody gives the focus back, which would pause the game for good.
    mainWindow = SDL_CreateWindow(kWindowTitle, 0, 0, desktop.w, desktop.h,
                                  SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (!mainWindow) {
        return nullptr;
    }
    fullScreen = true;
    SetWindowIcon(mainWindow);
    SDL_ShowCursor(cursorWanted ? SDL_ENABLE : SDL_DISABLE);
    return mainWindow;
}

void HideWindow(void* window) { SDL_HideWindow(static_cast<SDL_Window*>(window)); }

void ShowCursor(bool show) {
    cursorWanted = show;
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    }
}

bool PeekMessage(ShellMessage* message) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (TranslateEvent(event, message)) {
            return true;
        }
    }
    return false;
}

void WaitMessage() { SDL_WaitEvent(nullptr); }

void Sleep(uint32_t milliseconds) { SDL_Delay(milliseconds); }

void ShowMessage(const char* title, const char* text) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title, text, nullptr) != 0) {
        std::fprintf(stderr, "%s: %s\n", title, text);
    }
}

bool IsAltEnter(const SDL_KeyboardEvent& key) {
    return (key.keysym.scancode == SDL_SCANCODE_RETURN || key.keysym.scancode == SDL_SCANCODE_KP_ENTER) &&
           (key.keysym.mod & KMOD_ALT);
}

}  // namespace

ShellPlatform MakeSdlShellPlatform() {
    ShellPlatform platform;
    platform.claimSingleInstance = ClaimSingleInstance;
    platform.frameClock = MonotonicMilliseconds;
    platform.seedClock = MonotonicMilliseconds;
    platform.registerWindowClass = RegisterWindowClass;
    platform.createWindow = CreateWindow;
    platform.hideWindow = HideWindow;
    platform.showCursor = ShowCursor;
    platform.peekMessage = PeekMessage;
    platform.waitMessage = WaitMessage;
    platform.sleep = Sleep;
    platform.showMessage = ShowMessage;
    return platform;
}

bool TranslateEvent(const SDL_Event& event, ShellMessage* message) {
    switch (event.type) {
        case SDL_QUIT:
            *message = {kWmDestroy, 0};
            return true;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE: *message = {kWmDestroy, 0}; return true;
                case SDL_WINDOWEVENT_FOCUS_GAINED: *message = {kWmActivateApp, 1}; return true;
                case SDL_WINDOWEVENT_FOCUS_LOST: *message = {kWmActivateApp, 0}; return true;
                case SDL_WINDOWEVENT_EXPOSED: *message = {kWmPaint, 0}; return true;
                default: return false;
            }
        case SDL_KEYDOWN:
            // Auto-repeat is neither a new key press nor a new pause request.
            if (event.key.repeat) {
                return false;
            }
            if (IsAltEnter(event.key)) {
                if (mainWindow) {
                    ToggleFullScreen(mainWindow);
                }
                return false;
            }
            KeyboardEvent(DirectInputScanCode(event.key.keysym.scancode), true);
            if (event.key.keysym.scancode == SDL_SCANCODE_P) {
                *message = {kWmKeyDown, kVirtualKeyP};
                return true;
            }
            return false;
        case SDL_KEYUP:
            KeyboardEvent(DirectInputScanCode(event.key.keysym.scancode), false);
            return false;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            SdlDisplayDevice::MarkLost();
            return false;
        default:
            if (HandleControllerEvent(event)) {
                return false;
            }
            if (event.type == MusicEventType() && MusicEventType() != 0) {
                *message = {kMmMciNotify, static_cast<uintptr_t>(event.user.code)};
                return true;
            }
            return false;
    }
}

void EnterFullScreen(SDL_Window* window) {
    fullScreen = true;
    // Without a window manager the full-screen request is ignored and the window keeps its size:
    // making it a borderless desktop-sized window at (0, 0) first looks the same everywhere.
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(window), &desktop) == 0) {
        SDL_SetWindowResizable(window, SDL_FALSE);
        SDL_SetWindowBordered(window, SDL_FALSE);
        SDL_SetWindowSize(window, desktop.w, desktop.h);
        SDL_SetWindowPosition(window, 0, 0);
    }
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void ToggleFullScreen(SDL_Window* window) {
    if (!fullScreen) {
        EnterFullScreen(window);
        return;
    }
    fullScreen = false;
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowResizable(window, SDL_TRUE);
    SDL_SetWindowSize(window, kGameWidth * 2, kGameHeight * 2);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

SDL_Window* GetMainWindow() { return mainWindow; }

void DestroyMainWindow() {
    if (mainWindow) {
        SDL_DestroyWindow(mainWindow);
        mainWindow = nullptr;
    }
}
