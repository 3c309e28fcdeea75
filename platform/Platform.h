#pragma once

// Installs the SDL-backed devices (display, input, audio) before the shell starts.
void InstallPlatform();
