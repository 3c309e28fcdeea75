#pragma once

#include <cstdint>
#include <memory>

#include "gfx/Surface.h"

class ZStateStream;

// The one drawable object: a sheet of equal frames stacked vertically in its own surface, with a float
// position, a direction and speed, an animation counter and a colour key from the top-left pixel.
class ZSprite256 {
public:
    ZSprite256(uint16_t bitmapId, int frameCount);
    ZSprite256(const ZSprite256&) = delete;
    ZSprite256& operator=(const ZSprite256&) = delete;
    virtual ~ZSprite256();

    // Virtual slots 1 to 4; the round sorts characters and the item and draws them through slot 4.
    virtual int GetX() const;
    virtual int GetY() const;
    virtual void Move();
    virtual void Draw(Surface* target);

    int GetCentreX() const { return GetX() + width / 2; }
    int GetCentreY() const { return GetY() + height / 2; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetDirection() const { return direction; }
    int GetFrame() const { return frame; }
    int GetFrameCount() const { return frameCount; }
    float GetSpeed() const { return speed; }
    float GetExactX() const { return x; }
    float GetExactY() const { return y; }
    Surface* GetSurface() const { return surface.get(); }
    bool IsCycleRunning() const { return cycleRunning != 0; }
    bool IsTransparent() const { return transparent != 0; }
    int GetColourKey() const { return colourKey; }
    int GetAnimationWait() const { return animationWait; }

    void SetPosition(int newX, int newY);
    void SetX(int newX);
    void SetY(int newY);
    void SetCentre(int cx, int cy);
    void SetSpeed(float newSpeed) { speed = newSpeed; }
    void SetDirection(int newDirection) { direction = newDirection; }
    void SetTransparent(bool value) { transparent = value ? 1 : 0; }
    void SetColourKey(int index);
    void SetFrame(int newFrame) { frame = newFrame; }
    void SetAnimationWait(int wait);
    void RestartAnimation();

    // Puts the bitmap's picture back into the sheet, over whatever was drawn into it; false when the
    // picture is gone or no longer fits.
    bool RestorePicture();

    void Animate();
    void DrawAt(int drawX, int drawY, Surface* target);
    void DrawScaled(Surface* target, uint32_t scaleX, uint32_t scaleY);
    void DrawScaled(Surface* target, uint32_t scale) { DrawScaled(target, scale, scale); }
    void DrawScaledVertical(Surface* target, uint32_t scaleY) { DrawScaled(target, 100, scaleY); }
    bool CollidesWith(const ZSprite256& other) const;

    // Where it is, how it moves and how far its animation has gone; the picture stays.
    void SaveMotion(ZStateStream* out) const;
    void LoadMotion(ZStateStream* in);

private:
    // The current frame's rows in the sheet; false for a frame outside the sheet.
    bool FrameSource(Rect* source) const;

    float x = 0.0f;
    float y = 0.0f;
    float speed = 1.0f;
    int direction = -1;
    int width = 0;
    int height = 0;
    int frame = 0;
    int animationWait = 0;
    int animationCounter = 0;
    int frameCount = 1;
    int cycleRunning = 1;
    int transparent = 1;
    int colourKey = 0;
    uint16_t bitmapId;
    std::unique_ptr<Surface> surface;
};
