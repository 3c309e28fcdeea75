#pragma once

#include "gfx/Rect.h"

// Full screen or a window, and the window's size and place on the desktop when the user chose them.
struct WindowPlacement {
    // A size or place nobody has chosen yet.
    static constexpr int kUnset = -100000;
    static constexpr int kMinWidth = 640;
    static constexpr int kMinHeight = 480;

    bool fullScreen = true;
    int x = kUnset;
    int y = kUnset;
    int width = kUnset;
    int height = kUnset;

    // The window's rectangle in a desktop's usable area: the size the user chose (never under 640 x 480,
    // never over the area unless the area is smaller), else the largest whole multiple of 640 x 480 that
    // fits; the place the user chose pulled back into the area, else centred.
    Rect FittedTo(const Rect& usable) const;
};
