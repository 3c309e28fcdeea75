#pragma once

#include <cstdint>

class XAppData;
struct WindowPlacement;

// Window messages the shell answers, with their Windows numbers.
constexpr uint32_t kWmDestroy = 0x0002;
constexpr uint32_t kWmPaint = 0x000F;
constexpr uint32_t kWmQuit = 0x0012;
constexpr uint32_t kWmActivateApp = 0x001C;
constexpr uint32_t kWmNcHitTest = 0x0084;
constexpr uint32_t kWmKeyDown = 0x0100;
constexpr uint32_t kWmSysCommand = 0x0112;
constexpr uint32_t kMmMciNotify = 0x03B9;

constexpr uintptr_t kVirtualKeyP = 80;
constexpr uintptr_t kSysCommandKeyMenu = 0xF100;

constexpr const char* kWindowClassName = "KOVRAGAMES_TINTORIX_CLASS";
constexpr const char* kWindowTitle = "Tintorix";
constexpr const char* kMessageBoxTitle = "Tintorix Message";

// What the single-instance check found: this copy holds the lock, another copy does, or no lock could be
// taken at all.
enum class InstanceClaim { Held, OtherCopy, Unavailable };

struct ShellMessage {
    uint32_t message = 0;
    uintptr_t wParam = 0;
};

// What the shell needs of the operating system; every member must be set.
struct ShellPlatform {
    InstanceClaim (*claimSingleInstance)() = nullptr;
    // Milliseconds of a monotonic clock, wrapping at 32 bits.
    uint32_t (*frameClock)() = nullptr;
    // A value that differs from run to run, for the random seed.
    uint32_t (*seedClock)() = nullptr;
    bool (*registerWindowClass)() = nullptr;
    // The window, full screen or placed as wanted, or null when it cannot be created.
    void* (*createWindow)(const WindowPlacement& wanted) = nullptr;
    // Hides the window; placement takes its mode and the size and place the user gave it.
    void (*hideWindow)(void* window, WindowPlacement* placement) = nullptr;
    void (*showCursor)(bool show) = nullptr;
    // Takes the next waiting message; false when none waits.
    bool (*peekMessage)(ShellMessage* message) = nullptr;
    // Sleeps until a message waits.
    void (*waitMessage)() = nullptr;
    // Sleeps for a number of milliseconds (new messages wait until it ends).
    void (*sleep)(uint32_t milliseconds) = nullptr;
    // Shows a failure text to the user and returns when it has been seen.
    void (*showMessage)(const char* title, const char* text) = nullptr;
};
void SetShellPlatform(const ShellPlatform& platform);

// The process: refuses a second instance, starts everything, runs the message loop and returns the
// exit code. Every exit path comes back here, so the application object's destructor always runs.
int WinMain(XAppData& app, void* instance);
// Everything before the message loop. False when the game ends at once: another copy runs, or no window.
bool StartGame(XAppData& app, void* instance);
bool CreateMainWindow(XAppData& app);
bool StartDisplay(XAppData& app);
// Runs one frame when the frame interval has passed since the last frame's start.
void RunFrame(XAppData& app);
intptr_t WindowProc(XAppData& app, uint32_t message, uintptr_t wParam);
void ApplyPauseState(XAppData& app);
// Releases everything, shows text when there is one and posts the quit message.
void ShutdownGame(XAppData& app, const char* text);

// Online, whether the round is so far behind the others that its frames run at once, unseen.
bool IsCatchingUp(const XAppData& app);
// Milliseconds until the next frame is due, 0 when it is due now.
uint32_t TimeUntilNextFrame(const XAppData& app, uint32_t now);
// True once ShutdownGame has posted the quit message and the loop has not yet taken it.
bool IsQuitPosted();
