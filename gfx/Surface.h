#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "gfx/Rect.h"

// An 8-bit surface of palette indices, with an optional clip rectangle and source colour key.
// Fills and copies follow the display's blit rules: with a clip rectangle the destination is cut to it
// (and the source by the same, or scaled, amounts); without one a destination not wholly inside the
// surface draws nothing and fails; a source rectangle not wholly inside the source fails.
class Surface {
public:
    // Null for a size that is not positive or too large to hold.
    static std::unique_ptr<Surface> Create(int width, int height);
    virtual ~Surface() = default;

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetPitch() const { return pitch; }
    uint8_t* GetPixels() { return pixels.get(); }
    const uint8_t* GetPixels() const { return pixels.get(); }
    uint8_t* Row(int y) { return pixels.get() + static_cast<size_t>(y) * pitch; }
    const uint8_t* Row(int y) const { return pixels.get() + static_cast<size_t>(y) * pitch; }
    uint8_t GetPixel(int x, int y) const { return Row(y)[x]; }

    void SetClipRect(const Rect& clip);
    void ClearClipRect() { clipRect.reset(); }
    const std::optional<Rect>& GetClipRect() const { return clipRect; }

    void SetColourKey(uint8_t index) { colourKey = index; }
    const std::optional<uint8_t>& GetColourKey() const { return colourKey; }

    bool IsLost() const { return lost; }
    void SetLost(bool value) { lost = value; }

    // Colour fill of the rectangle, or of the whole surface when rect is null.
    bool ColourFill(const Rect* rect, uint8_t index);
    // Copies srcRect of source (whole source when null) to dstRect (whole surface when null),
    // stretching when the sizes differ; keyed skips the source's colour-key pixels.
    bool Blt(const Rect* dstRect, const Surface& source, const Rect* srcRect, bool keyed);

private:
    Surface(int width, int height, int pitch);
    // Cuts dst to the clip rectangle; false when the blit must fail.
    bool ClipDestination(const Rect& dst, Rect* visible, bool* empty) const;

    int width;
    int height;
    int pitch;
    std::unique_ptr<uint8_t[]> pixels;
    std::optional<Rect> clipRect;
    std::optional<uint8_t> colourKey;
    bool lost = false;
};
