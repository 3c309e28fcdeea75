#pragma once

#include <string>

// The lock file that keeps a second copy of the game from starting: named after the window class,
// in $XDG_RUNTIME_DIR, else in the temporary directory with the user id in its name.
std::string InstanceLockPath();
// Takes the exclusive lock without waiting: the open descriptor (held until the process ends),
// -1 when another process holds it, -2 when the file cannot be opened at all.
int TakeInstanceLock(const std::string& path);
