#include "shell/Shell.h"

#include <algorithm>
#include <cstdio>

#include "audio/MciSequencer.h"
#include "audio/Music.h"
#include "gfx/Display.h"
#include "gfx/Maths.h"
#include "input/Input.h"
#include "shell/XAppData.h"
#include "shell/XMatchInput.h"
#include "shell/XSettings.h"

namespace {

constexpr uint32_t kFullScreenExclusive = kDisplayFullScreen | kDisplayExclusive;
constexpr uint32_t kNetworkPollMs = 2;

ShellPlatform platform;
bool quitPosted = false;
int quitCode = 0;

uint32_t Now() { return platform.frameClock(); }

void PostQuitMessage(int code) {
    quitPosted = true;
    quitCode = code;
}

}  // namespace

void SetShellPlatform(const ShellPlatform& newPlatform) { platform = newPlatform; }

bool IsQuitPosted() { return quitPosted; }

bool StartGame(XAppData& app, void* instance) {
    quitPosted = false;
    InstanceClaim claim = platform.claimSingleInstance();
    if (claim == InstanceClaim::OtherCopy) {
        // Said where a terminal sees it; a start from the desktop still ends quietly.
        std::fputs("tintorix: Tintorix is already running\n", stderr);
        return false;
    }
    // Without the lock another copy may be running beside this one: only the holder writes the table.
    app.ownsHighScores = claim == InstanceClaim::Held;
    app.instance = instance;
    // A replay goes straight into its match, a joiner to wait for the host's.
    XMatchInput* matchInput = app.GetMatchInput();
    app.sceneState = matchInput->IsReplaying() ? XAppData::kCreateRound
                     : matchInput->IsJoining() ? XAppData::kCreateWaiting
                                               : XAppData::kCreateLogo;
    SeedRandomWith(platform.seedClock());
    BuildDirectionTables();
    platform.showCursor(false);
    SetMusicVolume(app.GetSettings()->musicVolume);
    if (!CreateMainWindow(app)) {
        quitPosted = false;
        return false;
    }
    // A failure here has already shut the game down; the loop ends at its first turn.
    StartDisplay(app);
    if (!CreateInput(app.instance, app.mainWindow)) {
        ShutdownGame(app, "Failed to create DirectInput object.");
    }
    return true;
}

int WinMain(XAppData& app, void* instance) {
    if (!StartGame(app, instance)) {
        return 0;
    }
    for (;;) {
        if (quitPosted) {
            quitPosted = false;
            return quitCode;
        }
        ShellMessage message;
        if (platform.peekMessage(&message)) {
            WindowProc(app, message.message, message.wParam);
            continue;
        }
        if (app.paused) {
            // The other computers of an online match still hear from this one.
            app.IsFrameReady();
            platform.waitMessage();
            continue;
        }
        RunFrame(app);
        // Sleep rather than spin until the next frame is due, or a moment while it waits for the network.
        if (!quitPosted && !app.paused) {
            uint32_t wait = TimeUntilNextFrame(app, Now());
            if (wait > 0) {
                // Online, the network is heard every few milliseconds, not once a frame.
                platform.sleep(app.GetMatchInput()->GetLink() ? std::min(wait, kNetworkPollMs) : wait);
            } else if (!app.IsFrameReady()) {
                platform.sleep(1);
            }
        }
    }
}

bool CreateMainWindow(XAppData& app) {
    if (!platform.registerWindowClass()) {
        ShutdownGame(app, "Failed to register Window class.");
        return false;
    }
    void* window = platform.createWindow(app.GetSettings()->window);
    if (!window) {
        ShutdownGame(app, "Failed to create application window.");
        return false;
    }
    app.mainWindow = window;
    return true;
}

bool StartDisplay(XAppData& app) {
    app.displayDevice = CreateDisplay(app.mainWindow);
    if (!app.displayDevice) {
        ShutdownGame(app, "Failed to create DirectDraw object.");
        return false;
    }
    SetDisplayFlags(kFullScreenExclusive);
    if (!CreateDisplaySurfaces()) {
        ShutdownGame(app, "Failed to create DirectDraw surfaces.");
        return false;
    }
    if (!InitPalette(app.GetSettings()->PaletteBitmap())) {
        ShutdownGame(app, "Failed to initialise palette.");
        return false;
    }
    return true;
}

uint32_t TimeUntilNextFrame(const XAppData& app, uint32_t now) {
    uint32_t last = now < app.lastFrameTime ? 0 : app.lastFrameTime;
    uint32_t elapsed = now - last;
    return elapsed >= app.frameInterval ? 0 : app.frameInterval - elapsed;
}

void RunFrame(XAppData& app) {
    uint32_t now = Now();
    if (now < app.lastFrameTime) {
        app.lastFrameTime = 0;  // the clock wrapped
    }
    bool due = now - app.lastFrameTime >= app.frameInterval;
    if (!app.IsFrameReady() || !due) {
        return;
    }
    // Measured from this frame's start: a slow frame delays the next one, nothing is skipped.
    app.lastFrameTime = now;
    if (SurfacesLost() && !RestoreSurfaces()) {
        ShutdownGame(app, "Failed to restore surfaces.");
        return;
    }
    app.UpdateFrame();
    if (app.sceneState == XAppData::kQuit) {
        // Quitting from the title carries no text; a scene that could not be built does.
        ShutdownGame(app, app.failureText);
        return;
    }
    PresentBackBuffer();
    // Opening the sound device and converting the effects would hold the first picture back; the first
    // effect is due frames later.
    if (!app.GetSoundList()) {
        app.LoadSounds();
    }
}

intptr_t WindowProc(XAppData& app, uint32_t message, uintptr_t wParam) {
    switch (message) {
        case kWmDestroy:
            ShutdownGame(app, nullptr);
            return 0;
        case kWmPaint:
            PresentBackBuffer();
            return 1;
        case kWmActivateApp:
            // Coming back always resumes, even after a pause with the pause key.
            app.paused = wParam == 0;
            ApplyPauseState(app);
            return 0;
        case kWmNcHitTest:
            return app.paused ? 0 : 1;
        case kWmKeyDown:
            if (wParam == kVirtualKeyP && app.hotKeysEnabled) {
                app.paused = !app.paused;
                ApplyPauseState(app);
            }
            return 0;
        case kWmSysCommand:
            return 0;
        case kMmMciNotify:
            if (wParam == kMciNotifySuccessful) {
                app.ReplayMusic();
            }
            return 0;
        default:
            return 0;
    }
}

void ApplyPauseState(XAppData& app) {
    SetPauseOverlay(app.paused);
    if (app.paused) {
        PresentBackBuffer();
        app.PauseMusic();
        UnacquireKeyboard();
    } else {
        app.ResumeMusic();
        AcquireKeyboard();
    }
}

void ShutdownGame(XAppData& app, const char* text) {
    app.paused = true;
    app.StopSoundEffect(0);
    app.StopMusic();
    app.DestroyScenes();
    ReleaseInput();
    ReleaseDisplaySurfaces();
    ReleaseDisplay();
    app.displayDevice = nullptr;
    if (app.mainWindow) {
        platform.hideWindow(app.mainWindow, &app.GetSettings()->window);
    }
    platform.showCursor(true);
    if (text) {
        platform.showMessage(kMessageBoxTitle, text);
    }
    PostQuitMessage(0);
}
