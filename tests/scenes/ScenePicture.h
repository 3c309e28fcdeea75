#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "gfx/Display.h"
#include "gfx/ZSprite256.h"
#include "support/TestSupport.h"

// A frame of a bitmap expected at top-left (x, y); a keyed one leaves the colour of its top-left pixel out.
struct Layer {
    int id, frames, frame, x, y;
    bool keyed = true;
};

// Nothing: no bitmap, off the screen.
inline const Layer kNoLayer{0, 1, 0, 0, 480};

inline Layer Centred(int id, int frames, int frame, int cx, int cy, bool keyed = true) {
    ZSprite256 art(static_cast<uint16_t>(id), frames);
    return {id, frames, frame, cx - art.GetWidth() / 2, cy - art.GetHeight() / 2, keyed};
}

// The front-end screens' band, one pixel higher for every frame counted, under the layers on top.
inline std::vector<Layer> Band(uint32_t frameCounter, std::vector<Layer> onTop = {}) {
    int y = -static_cast<int>(frameCounter % 238);
    onTop.insert(onTop.begin(),
                 {{200, 1, 0, 0, y, false}, {200, 1, 0, 0, y + 238, false}, {200, 1, 0, 0, y + 476, false}});
    return onTop;
}

// The two markers beside an entry: centred 12 pixels left of it and 11 right of it.
inline void AddMarkers(std::vector<Layer>& layers, Layer entry, int frame) {
    ZSprite256 art(static_cast<uint16_t>(entry.id), entry.frames);
    layers.push_back(Centred(135, 2, frame, entry.x - 12, entry.y + art.GetHeight() / 2));
    layers.push_back(Centred(136, 2, frame, entry.x + art.GetWidth() + 11, entry.y + art.GetHeight() / 2));
}

// A line of cells of one sheet from the cell given; cellOf gives a character's frame, or -1 for none.
template <typename CellOf>
void AddText(std::vector<Layer>& layers, Layer cell, const std::string& text, CellOf cellOf) {
    int width = ZSprite256(static_cast<uint16_t>(cell.id), cell.frames).GetWidth();
    for (char c : text) {
        cell.frame = cellOf(c);
        layers.push_back(cell.frame < 0 ? kNoLayer : cell);
        cell.x += width;
    }
}

// The cells of the key glyph sheets, 260 and 261.
inline int KeyGlyphCells() { return ZSprite256(260, 1).GetHeight() / 18; }

// Back-surface pixels that differ from the layers drawn in order over the picture given.
inline int MissesOver(std::unique_ptr<Surface> expected, const std::vector<Layer>& layers) {
    expected->SetClipRect(Rect{0, 0, 640, 480});
    for (const Layer& layer : layers) {
        ZSprite256 art(static_cast<uint16_t>(layer.id), layer.frames);
        art.SetTransparent(layer.keyed);
        art.SetFrame(layer.frame);
        art.DrawAt(layer.x, layer.y, expected.get());
    }
    int misses = 0;
    for (int i = 0; i < 640 * 480; ++i)
        misses += expected->GetPixel(i % 640, i / 640) != GetBackSurface()->GetPixel(i % 640, i / 640);
    return misses;
}

// Back-surface pixels that differ from the layers drawn in order on the ground colour.
inline int Misses(const std::vector<Layer>& layers, uint8_t ground = 0) {
    std::unique_ptr<Surface> expected = Surface::Create(640, 480);
    expected->ColourFill(nullptr, ground);
    return MissesOver(std::move(expected), layers);
}

// 0 when the back surface shows the layers: drawing them over it changes nothing.
inline int Covers(const std::vector<Layer>& layers) {
    std::unique_ptr<Surface> expected = Surface::Create(640, 480);
    expected->Blt(nullptr, *GetBackSurface(), nullptr, false);
    return MissesOver(std::move(expected), layers);
}

// Sound effects started looping: every sound of the screens plays once.
inline int Looping() {
    const auto& all = FakeMachine::Current()->audio->channels;
    return static_cast<int>(std::count_if(all.begin(), all.end(), [](const auto& c) { return c.loop; }));
}
