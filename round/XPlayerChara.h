#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "gfx/Surface.h"
#include "gfx/ZSprite256.h"

class XAppData;
class ZStateStream;
class XCanvasPlane;
class XEffectManager;
class XItemChara;

// One painter on the field: turned by a person or the computer, it moves on its own, stamps its brush
// into the canvas, bounces off the others and takes the item.
class XPlayerChara : public ZSprite256 {
public:
    static constexpr int32_t kHuman = 0;
    static constexpr int32_t kComputer = 1;
    static constexpr int32_t kAbsent = 2;

    static constexpr int32_t kNormal = 0;
    static constexpr int32_t kFast = 1;
    static constexpr int32_t kSlowed = 2;
    static constexpr int32_t kFrozen = 3;
    static constexpr int32_t kDrained = 4;
    static constexpr int32_t kWide = 5;
    static constexpr int32_t kBounced = 6;

    static constexpr int32_t kBounceFrames = 34;
    static constexpr int32_t kSlowedFrames = 110;
    static constexpr int32_t kFrozenFrames = 385;
    static constexpr int32_t kSplashCount = 56;

    // Limits of a top-left corner.
    struct Bounds {
        int32_t minX;
        int32_t maxX;
        int32_t minY;
        int32_t maxY;
    };

    XPlayerChara(XAppData* app, uint16_t bodyBitmap, uint16_t brushBitmap, uint16_t wideBrushBitmap,
                 uint16_t blotBitmap, uint16_t bounceBitmap);
    ~XPlayerChara() override;

    void Move() override;
    void Draw(Surface* target) override;

    void SetOpponents(XPlayerChara* first, XPlayerChara* second, XPlayerChara* third);
    void SetItem(XItemChara* newItem) { item = newItem; }
    void SetEffectManager(XEffectManager* manager) { effects = manager; }
    void SetCanvas(XCanvasPlane* newCanvas);
    void SetControlType(int32_t type) { controlType = type; }
    int32_t GetControlType() const { return controlType; }
    void ResetForRound();

    void TurnLeft();
    void TurnRight();
    void SetState(int32_t newState);
    int32_t GetState() const { return state; }
    void UpdateAnimation(uint32_t counter);
    void UpdateState();
    void ClampToField();
    void CheckCharacterCollisions();
    bool CanPickUpItem() const;
    void ApplyItem();
    void Paint();
    void SplashRandomBlot();
    void DrawShadow(Surface* target);
    void SetArrowVisible(bool visible) { arrowVisible = visible; }
    // What changes during a round, for a snapshot of it.
    void SaveState(ZStateStream* out) const;
    void LoadState(ZStateStream* in);

    // The computer player.
    void Think(uint32_t counter);
    int FindThreat() const;
    int EvadeDirection(int opponent) const;
    int NearestOpponent() const;

    uint8_t GetColour() const { return colour; }
    int32_t GetScore() const { return score; }
    void SetScore(int32_t value) { score = value; }
    int32_t GetWins() const { return wins; }
    void SetWins(int32_t value) { wins = value; }
    void SetComputerDelay(int32_t frames) { computerDelay = frames; }
    int32_t GetComputerDelay() const { return computerDelay; }
    bool IsComputerTurning() const { return computerTurning; }
    int32_t GetComputerTarget() const { return computerTarget; }
    int32_t GetHop() const { return hop; }
    int32_t GetStateTimer() const { return stateTimer; }
    int32_t GetSplashCounter() const { return splashCounter; }
    bool IsArrowBright() const { return arrowPhase; }
    const Bounds& GetMoveBounds() const { return moveBounds; }
    const Bounds& GetSplashBounds() const { return splashBounds; }
    const ZSprite256* GetFootprint() const { return footprint.get(); }
    const ZSprite256* GetBrush() const { return brush.get(); }
    XPlayerChara* GetOpponent(int i) const { return opponents[i]; }

private:
    bool TakesPart() const { return controlType != kAbsent; }
    // Turns one step towards a direction unless it is within the dead zone.
    void SteerToward(int direction);
    // Starts a computer turn to the mirror course with a random variation.
    void StartReflectedTurn(int mirrored);
    void Stamp(ZSprite256* stamp, int centreX, int centreY);
    void AddEffect(int32_t kind);

    XAppData* app;
    std::array<XPlayerChara*, 3> opponents{};
    XItemChara* item = nullptr;
    XCanvasPlane* canvas = nullptr;
    XEffectManager* effects = nullptr;
    std::unique_ptr<ZSprite256> bounceImage;
    std::unique_ptr<ZSprite256> frozenImage;
    std::unique_ptr<ZSprite256> drainedImage;
    std::unique_ptr<ZSprite256> brush;
    std::unique_ptr<ZSprite256> wideBrush;
    std::unique_ptr<ZSprite256> blot;
    std::unique_ptr<ZSprite256> bandage;
    std::unique_ptr<ZSprite256> footprint;
    std::unique_ptr<ZSprite256> shadow;
    std::unique_ptr<ZSprite256> arrow;
    std::unique_ptr<ZSprite256> dimArrow;
    int32_t controlType = kHuman;
    bool arrowPhase = false;
    bool arrowVisible = true;
    Bounds moveBounds{0, 0, 0, 0};
    Bounds splashBounds{0, 0, 0, 0};
    int32_t computerTarget = -1;
    int32_t hop = 0;
    int32_t stateTimer = 0;
    int32_t wins = 0;
    int32_t score = 0;
    uint8_t colour = 0;
    bool computerTurning = false;
    int32_t state = kNormal;
    int32_t splashCounter = 0;
    int32_t computerDelay = 0;
};
