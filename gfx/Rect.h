#pragma once

#include <cstdint>

// A rectangle with right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// Builds a rectangle from wide coordinates, saturating at the int range so that far-off positions
// stay far off instead of wrapping round onto the surface.
Rect MakeRect(int64_t left, int64_t top, int64_t right, int64_t bottom);
