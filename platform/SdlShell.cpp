#include "platform/SdlShell.h"

#include <SDL.h>

#include <algorithm>
#include <csignal>
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
#include "platform/WindowManager.h"
#include "shell/WindowPlacement.h"

namespace {

constexpr int kGameWidth = 640;
constexpr int kGameHeight = 480;

SDL_Window* mainWindow = nullptr;
bool fullScreen = false;
// The mode, and the window size and place the user chose (unset until they choose).
WindowPlacement userPlacement;
bool cursorWanted = true;
int lockDescriptor = -1;
volatile sig_atomic_t quitSignalled = 0;
// SDL found no display to open a window on, and the user asked for no particular driver.
bool noDisplay = false;
// False on an X server without a window manager, where the borderless desktop-sized window is all
// that full screen can be: asking SDL for more makes it wait in vain for a manager to answer.
bool windowManager = true;

void OnQuitSignal(int) { quitSignalled = 1; }

uint32_t MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t milliseconds = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(milliseconds);
}

InstanceClaim ClaimSingleInstance() {
    for (const std::string& path : InstanceLockPaths()) {
        int fd = TakeInstanceLock(path);
        if (fd == -1) {
            return InstanceClaim::OtherCopy;
        }
        if (fd >= 0) {
            lockDescriptor = fd;
            return InstanceClaim::Held;
        }
    }
    // No lock file can be made at all: the game still runs, but leaves the table alone.
    return InstanceClaim::Unavailable;
}

bool RegisterWindowClass() {
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    bool chosen = asked && *asked;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        noDisplay = !chosen;
        return false;
    }
    // Without a display SDL quietly falls back to drivers that show nothing.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!chosen && driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        noDisplay = true;
        return false;
    }
    return true;
}

// The window's rectangle on its display's usable area (the desktop less panels and docks).
Rect WindowedRect(int display) {
    SDL_Rect usable{0, 0, kGameWidth * 2, kGameHeight * 2};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) {
        SDL_GetDisplayBounds(display, &usable);
    }
    return userPlacement.FittedTo({usable.x, usable.y, usable.x + usable.w, usable.y + usable.h});
}

void* CreateWindow(const WindowPlacement& wanted) {
    userPlacement = wanted;
    fullScreen = wanted.fullScreen;
    const char* driver = SDL_GetCurrentVideoDriver();
    windowManager = !driver || std::strcmp(driver, "x11") != 0 || X11WindowManagerRuns();
    if (fullScreen) {
        // Born where full screen puts it, so a desktop without a window manager shows it whole too.
        SDL_DisplayMode desktop{};
        if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
            desktop.w = kGameWidth * 2;
            desktop.h = kGameHeight * 2;
        }
        // Mapped once, already full screen: switching after the first map unmaps the window, and
        // without a window manager nobody gives the focus back, which would pause the game for good.
        Uint32 flags = SDL_WINDOW_BORDERLESS | (windowManager ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        mainWindow = SDL_CreateWindow(kWindowTitle, 0, 0, desktop.w, desktop.h, flags);
    } else {
        Rect rect = WindowedRect(0);
        mainWindow = SDL_CreateWindow(kWindowTitle, rect.left, rect.top, rect.Width(), rect.Height(),
                                      SDL_WINDOW_RESIZABLE);
    }
    if (!mainWindow) {
        return nullptr;
    }
    SDL_SetWindowMinimumSize(mainWindow, WindowPlacement::kMinWidth, WindowPlacement::kMinHeight);
    SetWindowIcon(mainWindow);
    // Names are typed as the user's keyboard layout types them.
    SDL_StartTextInput();
    SDL_ShowCursor(cursorWanted ? SDL_ENABLE : SDL_DISABLE);
    return mainWindow;
}

void HideWindow(void* window, WindowPlacement* placement) {
    *placement = userPlacement;
    placement->fullScreen = fullScreen;
    SDL_HideWindow(static_cast<SDL_Window*>(window));
}

void ShowCursor(bool show) {
    cursorWanted = show;
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    }
}

bool PeekMessage(ShellMessage* message) {
    if (quitSignalled) {
        quitSignalled = 0;
        *message = {kWmDestroy, 0};
        return true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (TranslateEvent(event, message)) {
            return true;
        }
    }
    return false;
}

// Wakes now and then, so that a quit signal is seen while paused too.
void WaitMessage() { SDL_WaitEventTimeout(nullptr, 250); }

void Sleep(uint32_t milliseconds) { SDL_Delay(milliseconds); }

void ShowMessage(const char* title, const char* text) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title, text, nullptr) != 0) {
        std::fprintf(stderr, "%s: %s\n", title, text);
    }
    if (noDisplay) {
        std::fprintf(stderr, "Tintorix: no X11 or Wayland display found: is DISPLAY or WAYLAND_DISPLAY set?\n");
    }
}

// Remembers a size or place the user gave the window. The place is the frame's, where the window manager
// puts a window asked to go there, so that it comes back to the same spot; a size under the picture's,
// which a window manager may let through, is undone.
void KeepUserPlacement(const SDL_WindowEvent& event) {
    if (event.event == SDL_WINDOWEVENT_MOVED) {
        int top = 0;
        int left = 0;
        SDL_GetWindowBordersSize(mainWindow, &top, &left, nullptr, nullptr);
        userPlacement.x = event.data1 - left;
        userPlacement.y = event.data2 - top;
        return;
    }
    userPlacement.width = std::max(event.data1, WindowPlacement::kMinWidth);
    userPlacement.height = std::max(event.data2, WindowPlacement::kMinHeight);
    if (userPlacement.width != event.data1 || userPlacement.height != event.data2) {
        SDL_SetWindowSize(mainWindow, userPlacement.width, userPlacement.height);
    }
}

bool IsAltEnter(const SDL_KeyboardEvent& key) {
    return (key.keysym.scancode == SDL_SCANCODE_RETURN || key.keysym.scancode == SDL_SCANCODE_KP_ENTER) &&
           (key.keysym.mod & KMOD_ALT);
}

}  // namespace

void InstallQuitSignals() {
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    // Writes past a file size limit or into a closed pipe (standard error piped away) fail instead.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

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
                case SDL_WINDOWEVENT_RESIZED:
                case SDL_WINDOWEVENT_MOVED:
                    // Only a window's size and place are the user's choice; full screen is the desktop's.
                    if (!fullScreen && mainWindow) {
                        KeepUserPlacement(event.window);
                    }
                    return false;
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
        case SDL_TEXTINPUT:
            TextEvent(event.text.text);
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
    if (windowManager) {
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
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
    Rect rect = WindowedRect(SDL_GetWindowDisplayIndex(window));
    SDL_SetWindowSize(window, rect.Width(), rect.Height());
    SDL_SetWindowPosition(window, rect.left, rect.top);
}

bool IsFullScreenWindow() { return fullScreen; }

SDL_Window* GetMainWindow() { return mainWindow; }

void DestroyMainWindow() {
    if (mainWindow) {
        SDL_DestroyWindow(mainWindow);
        mainWindow = nullptr;
    }
}
