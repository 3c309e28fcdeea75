#pragma once

#include <memory>

#include "gfx/Surface.h"
#include "gfx/ZSprite256.h"

// Fixed-pitch text in one of two 38-glyph fonts: A-Z, 0-9, minus and full stop.
class ZAscii {
public:
    ZAscii();
    virtual ~ZAscii();

    void SetFont(int newFont) { font = newFont; }
    void SetSurface(Surface* surface) { target = surface; }
    // Draws from the top-left corner of the first cell; returns the x behind the string.
    int DrawString(int x, int y, const char* text);

    // The glyph cell of a byte, or -1 for none (the cell stays empty).
    static int CellOf(unsigned char c);

private:
    int font = 0;
    std::unique_ptr<ZSprite256> font0;
    std::unique_ptr<ZSprite256> font1;
    Surface* target = nullptr;
};
