#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/Rect.h"
#include "gfx/Surface.h"
#include "gfx/ZSprite256.h"

class XAppData;
class ZStateStream;

// The playing field: one 8-bit picture whose pixels are the state of the round. A pixel belongs to the
// player whose colour index it holds; every stamp into it is cut to the paint rectangle.
class XCanvasPlane {
public:
    static constexpr int32_t kFieldWidth = 640;
    static constexpr int32_t kFieldHeight = 448;
    static constexpr uint16_t kFieldBitmap = 107;
    // The paint rectangle lies this far inside the margins.
    static constexpr int32_t kPaintInset = 4;

    struct Margins {
        int32_t left;
        int32_t top;
        int32_t right;
        int32_t bottom;
    };

    // Pixels of each player's colour and of the whole counted rectangle.
    struct AreaCount {
        std::array<int32_t, 4> counts{};
        int32_t total = 0;
    };

    explicit XCanvasPlane(XAppData* app);
    XCanvasPlane(const XCanvasPlane&) = delete;
    XCanvasPlane& operator=(const XCanvasPlane&) = delete;
    virtual ~XCanvasPlane();

    Margins GetMargins() const { return Margins{leftMargin, topMargin, rightMargin, bottomMargin}; }
    int32_t GetWidth() const { return kFieldWidth; }
    int32_t GetHeight() const { return kFieldHeight; }
    ZSprite256* GetFieldSprite() const { return fieldSprite.get(); }
    // Null before the first Reset or when bitmap 107 cannot be loaded.
    Surface* GetFieldSurface() const;

    // The paint rectangle for the current field (right and bottom exclusive).
    Rect GetPaintRect() const;
    // The counted rectangle (right and bottom exclusive).
    Rect GetCountedRect() const;

    // A clean field for a new round.
    void Reset();
    // Counts the pixels of the four colours. Without a field the counts and the total are all 0, and a
    // caller must not divide by that total.
    AreaCount CountArea(const std::array<uint8_t, 4>& colours) const;
    void Draw(int x, int y, Surface* target);
    // Stamps a picture into the field where it stands.
    void Stamp(ZSprite256* stamp);
    // The field for a snapshot of the round: a copy of the whole picture, or while the history is kept, how
    // far it has gone, which going back to undoes every stamp since in the reverse order.
    void KeepHistory(bool keep);
    void SaveState(ZStateStream* out);
    void LoadState(ZStateStream* in);

private:
    void Remember(const Rect& area);

    XAppData* app;
    std::unique_ptr<ZSprite256> fieldSprite;
    int32_t leftMargin = 1;
    int32_t topMargin = 1;
    int32_t rightMargin = 1;
    int32_t bottomMargin = 1;
    // The pixels each stamp covered, before it, in order; changes before the first kept are forgotten.
    struct Change {
        Rect area;
        size_t at;
    };
    bool keeping = false;
    std::vector<Change> changes;
    std::vector<uint8_t> history;
    uint64_t forgotten = 0;
    // The latest snapshots' marks: nothing they may go back to is forgotten.
    std::array<uint64_t, 64> marks{};
    size_t nextMark = 0;
};
