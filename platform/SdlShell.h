#pragma once

#include "shell/Shell.h"

union SDL_Event;
struct SDL_Window;

// The shell's machine on SDL: the instance lock, clocks, the window and its event pump.
ShellPlatform MakeSdlShellPlatform();

// SIGTERM, SIGINT and SIGHUP become the destroy request at the next look for messages, so that the
// game always ends through its shutdown and saves its table; a file-size limit makes a save fail
// instead of killing the game. SDL leaves handlers that are already set alone.
void InstallQuitSignals();

// Turns one SDL event into a shell message, feeding keys to the keyboard device on the way;
// false for events the shell has no message for.
bool TranslateEvent(const SDL_Event& event, ShellMessage* message);

// Full screen on the desktop, or a borderless desktop-sized window where the window manager
// (or its absence) does not give the full-screen window the desktop's size.
void EnterFullScreen(SDL_Window* window);
// Alt+Enter: full screen <-> a resizable window at twice the game's size.
void ToggleFullScreen(SDL_Window* window);
bool IsFullScreenWindow();

SDL_Window* GetMainWindow();
void DestroyMainWindow();
