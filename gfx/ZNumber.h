#pragma once

#include <cstdint>
#include <memory>

#include "gfx/Surface.h"
#include "gfx/ZSprite256.h"

// Right-aligned non-negative integers from a 12-cell digit sheet (0-9 and two extra glyphs).
class ZNumber {
public:
    explicit ZNumber(uint16_t bitmapId);
    virtual ~ZNumber();

    void SetSurface(Surface* surface) { target = surface; }
    void SetZeroFill(bool value) { zeroFill = value; }
    // Draws value right-aligned in width cells from x; returns the x behind the last cell.
    int DrawNumber(int x, int y, int32_t value, int width);
    // Cell 11 (the full stop of the ranking's sheet); returns x plus the cell width.
    int DrawGlyph11(int x, int y);
    int GetCellWidth() const { return digits ? digits->GetWidth() : 0; }
    const ZSprite256* GetDigits() const { return digits.get(); }

private:
    std::unique_ptr<ZSprite256> digits;
    Surface* target = nullptr;
    bool zeroFill = true;
};
