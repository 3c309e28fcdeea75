#pragma once

#include <string>
#include <vector>

// Where the lock file that keeps a second copy of the game from starting may lie, in order: named after
// the window class, in $XDG_RUNTIME_DIR, else in the game's own configuration directory. Only
// directories of this user that nobody else may write count, so that no other user can hold the lock.
std::vector<std::string> InstanceLockPaths();
// Takes the exclusive lock without waiting: the open descriptor (held until the process ends),
// -1 when another process holds it, -2 when the file cannot be opened at all.
int TakeInstanceLock(const std::string& path);
