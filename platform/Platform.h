#pragma once

// Installs the SDL-backed machine (shell, display, input, audio) before the shell starts.
void InstallPlatform();
// Closes the window and the joystick after the shell has returned.
void ShutdownPlatform();
