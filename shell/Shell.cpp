#include "shell/Shell.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdio>
#include <string>

#include "audio/MciSequencer.h"
#include "audio/Music.h"
#include "gfx/Display.h"
#include "gfx/Maths.h"
#include "input/Input.h"
#include "shell/XAppData.h"
#include "shell/XMatchInput.h"
#include "shell/XMatchLink.h"
#include "shell/XSettings.h"

namespace {

constexpr uint32_t kFullScreenExclusive = kDisplayFullScreen | kDisplayExclusive;
// Online the loop sleeps in the network's own wait, which a packet ends early; these bound it while a frame
// waits for the others' input and while paused, so that window messages are still seen.
constexpr uint32_t kStallWaitMs = 20;
constexpr uint32_t kPausedWaitMs = 50;
constexpr uint32_t kMaxBehindMs = 200;
// A frame held this long says whom it waits for; a seat handed to the computer or a stop is told this long.
constexpr uint32_t kHeldMs = 250;
constexpr uint32_t kNoticeMs = 4000;
// Further behind the others than this, frames run at once, unseen: a watcher let in during a match.
constexpr uint32_t kCatchUpFrames = 8;

ShellPlatform platform;
bool quitPosted = false;
int quitCode = 0;

// What the status line of an online match says now, and what it has told already.
struct OnlineNotice {
    std::string shown;
    std::string notice;
    uint32_t noticeSince = 0;
    uint8_t announcedLeft = 0;
    bool announcedWatch = false;
    std::string announcedStop;
};
OnlineNotice online;

uint32_t Now() { return platform.frameClock(); }

void PostQuitMessage(int code) {
    quitPosted = true;
    quitCode = code;
}

std::string Players(uint8_t seats) {
    std::string names;
    for (int seat = 0; seat < 4; ++seat) {
        if (seats >> seat & 1) {
            names += " " + std::to_string(seat + 1);
        }
    }
    return (std::popcount(seats) > 1 ? "PLAYERS" : "PLAYER") + names;
}

std::string Capitals(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// Online during a match: the pause follows whoever paused it for everyone, and the status line says
// what holds the match, who left it and why it stopped.
void FollowOnlineMatch(XAppData& app, XMatchLink* link, uint32_t now) {
    std::string line;
    if (app.sceneState == XAppData::kRunRound) {
        XMatchLink::Status status = link->GetStatus();
        bool pause = status.pausedBy >= 0;
        if (pause != app.paused) {
            app.paused = pause;
            ApplyPauseState(app);
        }
        uint8_t left = static_cast<uint8_t>(status.leftSeats & ~online.announcedLeft);
        std::string stopped = link->GetStopReason();
        if (status.watching && !online.announcedWatch) {
            online.notice = "YOU WATCH THIS MATCH WITHOUT A SEAT";
            online.noticeSince = now;
        } else if (left) {
            online.notice = Players(left) + " LEFT: THE COMPUTER PLAYS";
            online.noticeSince = now;
        } else if (!stopped.empty() && stopped != online.announcedStop) {
            online.notice = "MATCH STOPPED: " + Capitals(stopped);
            online.noticeSince = now;
        }
        online.announcedLeft = status.leftSeats;
        online.announcedWatch = status.watching;
        online.announcedStop = stopped;
        uint32_t held = now - app.lastFrameTime;
        if (pause) {
            line = Players(static_cast<uint8_t>(1 << status.pausedBy)) + " PAUSED";
        } else if (status.waitingFor && now >= app.lastFrameTime && held >= app.frameInterval + kHeldMs) {
            line = "WAITING FOR " + Players(status.waitingFor);
        }
    }
    if (line.empty() && !online.notice.empty() && now - online.noticeSince < kNoticeMs) {
        line = online.notice;
    }
    if (line != online.shown) {
        online.shown = line;
        SetStatusLine(line);
        PresentBackBuffer();
    }
}

}  // namespace

void SetShellPlatform(const ShellPlatform& newPlatform) { platform = newPlatform; }

bool IsQuitPosted() { return quitPosted; }

bool StartGame(XAppData& app, void* instance) {
    quitPosted = false;
    online = {};
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
        XMatchLink* link = app.GetMatchInput()->GetLink();
        if (link) {
            FollowOnlineMatch(app, link, Now());
        }
        if (app.paused) {
            // The other computers of an online match still hear from this one.
            if (link) {
                link->Wait(kPausedWaitMs);
            } else {
                platform.waitMessage();
            }
            continue;
        }
        RunFrame(app);
        // Sleep rather than spin until the next frame is due, or until the others' input is here.
        if (!quitPosted && !app.paused) {
            uint32_t wait = TimeUntilNextFrame(app, Now());
            if (link && (wait > 0 || !app.IsFrameReady())) {
                link->Wait(wait > 0 ? wait : kStallWaitMs);
            } else if (wait > 0) {
                platform.sleep(wait);
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

bool IsCatchingUp(const XAppData& app) {
    return app.sceneState == XAppData::kRunRound && app.GetMatchInput()->GetFramesHeld() > kCatchUpFrames;
}

uint32_t TimeUntilNextFrame(const XAppData& app, uint32_t now) {
    if (IsCatchingUp(app)) {
        return 0;
    }
    uint32_t last = now < app.lastFrameTime ? 0 : app.lastFrameTime;
    uint32_t elapsed = now - last;
    return elapsed >= app.frameInterval ? 0 : app.frameInterval - elapsed;
}

void RunFrame(XAppData& app) {
    uint32_t now = Now();
    if (now < app.lastFrameTime) {
        app.lastFrameTime = 0;  // the clock wrapped
    }
    bool catchingUp = IsCatchingUp(app);
    bool due = catchingUp || now - app.lastFrameTime >= app.frameInterval;
    if (!app.IsFrameReady() || !due) {
        return;
    }
    if (app.GetMatchInput()->GetLink()) {
        // Online frames are due on a fixed schedule, so a late one is made up by the next coming sooner
        // and no computer holds the others back; further behind (a pause, a long wait for the network) the
        // schedule starts again from now.
        app.lastFrameTime += app.frameInterval;
        if (catchingUp || now - app.lastFrameTime >= kMaxBehindMs) {
            app.lastFrameTime = now;
        }
    } else {
        // Measured from this frame's start: a slow frame delays the next one, nothing is skipped.
        app.lastFrameTime = now;
    }
    if (SurfacesLost() && !RestoreSurfaces()) {
        ShutdownGame(app, "Failed to restore surfaces.");
        return;
    }
    app.fastForward = catchingUp;
    app.UpdateFrame();
    app.fastForward = false;
    if (app.sceneState == XAppData::kQuit) {
        // Quitting from the title carries no text; a scene that could not be built does.
        ShutdownGame(app, app.failureText);
        return;
    }
    if (!catchingUp) {
        PresentBackBuffer();
    }
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
            // Online a window in the background holds nobody up.
            if (app.GetMatchInput()->GetLink()) {
                return 0;
            }
            // Coming back always resumes, even after a pause with the pause key.
            app.paused = wParam == 0;
            ApplyPauseState(app);
            return 0;
        case kWmNcHitTest:
            return app.paused ? 0 : 1;
        case kWmKeyDown:
            if (wParam == kVirtualKeyP && app.hotKeysEnabled && app.sceneState == XAppData::kRunRound &&
                app.GetMatchInput()->GetLink()) {
                // Everyone's, so the loop follows the link's word.
                app.GetMatchInput()->GetLink()->TogglePause();
            } else if (wParam == kVirtualKeyP && app.hotKeysEnabled) {
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
