#pragma once

// Whether a window manager runs on the X server of $DISPLAY: one of today announces itself on the root
// window. True when that cannot be told, or when the build has no X library.
bool X11WindowManagerRuns();
