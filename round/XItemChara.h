#pragma once

#include <cstdint>
#include <memory>

#include "gfx/Surface.h"
#include "gfx/ZSprite256.h"

class XAppData;
class XCanvasPlane;
class ZStateStream;

// The one item on the field: kind 0 is none, 1 to 6 the pictures of bitmap 158.
class XItemChara : public ZSprite256 {
public:
    static constexpr int32_t kNone = 0;
    static constexpr int32_t kClock = 1;
    static constexpr int32_t kShoe = 2;
    static constexpr int32_t kMissile = 3;
    static constexpr int32_t kThreeMissiles = 4;
    static constexpr int32_t kPotion = 5;
    static constexpr int32_t kBrushes = 6;

    explicit XItemChara(XAppData* app);
    ~XItemChara() override;

    void Draw(Surface* target) override;
    void DrawShadow(Surface* target);

    // Placement range of the top-left corner, from the canvas margins.
    void SetBounds(const XCanvasPlane* canvas);
    void PlaceRandomly();
    // Puts the item and its footprint at a top-left corner.
    void PlaceAt(int x, int y);
    // What changes during a round, for a snapshot of it.
    void SaveState(ZStateStream* out) const;
    void LoadState(ZStateStream* in);

    int32_t GetKind() const { return kind; }
    void SetKind(int32_t newKind);
    ZSprite256* GetFootprint() const { return footprint.get(); }
    int32_t GetMinX() const { return minX; }
    int32_t GetMaxX() const { return maxX; }
    int32_t GetMinY() const { return minY; }
    int32_t GetMaxY() const { return maxY; }

private:
    XAppData* app;
    int32_t kind = kNone;
    std::unique_ptr<ZSprite256> footprint;
    std::unique_ptr<ZSprite256> shadow;
    int32_t minX = 0;
    int32_t maxX = 0;
    int32_t minY = 0;
    int32_t maxY = 0;
};
