#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gfx/Surface.h"
#include "gfx/ZSprite256.h"

// Fixed-pitch text in one of two 38-glyph fonts: A-Z, 0-9, minus and full stop. Key labels also draw the
// punctuation and small accented letters of European keyboards, from a sheet in each font's colours.
class ZAscii {
public:
    ZAscii();
    virtual ~ZAscii();

    void SetFont(int newFont) { font = newFont; }
    void SetSurface(Surface* surface) { target = surface; }
    // Draws from the top-left corner of the first cell; returns the x behind the string.
    int DrawString(int x, int y, const char* text);

    // Draws one key's label, a character of the keyboard layout, in one cell; returns the x behind it.
    int DrawKeyLabel(int x, int y, uint32_t codePoint);
    // UTF-8 text that may name keys, one cell a character, each drawn as a key's label.
    int DrawLabels(int x, int y, const std::string& text);
    static int CountCells(const std::string& text);

    // The glyph cell of a byte, or -1 for none (the cell stays empty).
    static int CellOf(unsigned char c);
    // The cell of the key glyph sheets (bitmaps 261 and 260) for a character beyond the fonts' own, or -1.
    static int KeyCellOf(uint32_t codePoint);
    static bool HasKeyLabel(uint32_t codePoint) {
        return (codePoint < 0x80 && CellOf(static_cast<unsigned char>(codePoint)) >= 0) ||
               KeyCellOf(codePoint) >= 0;
    }

private:
    int font = 0;
    std::unique_ptr<ZSprite256> font0;
    std::unique_ptr<ZSprite256> font1;
    std::unique_ptr<ZSprite256> keyGlyphs0;
    std::unique_ptr<ZSprite256> keyGlyphs1;
    Surface* target = nullptr;
};
