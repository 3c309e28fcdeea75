#include "gfx/ZSprite256.h"

#include <algorithm>
#include <cstring>

#include "base/ZStateStream.h"
#include "gfx/Display.h"
#include "gfx/Maths.h"
#include "gfx/Pictures.h"

ZSprite256::ZSprite256(uint16_t bitmapId, int frameCount)
    : frameCount(frameCount < 1 ? 1 : frameCount), bitmapId(bitmapId) {
    const Surface* picture = FindPicture(bitmapId);
    if (!picture) {
        return;  // a sprite without a picture draws nothing and collides with nothing
    }
    surface = CreateOffscreenSurface(picture->GetWidth(), picture->GetHeight(), true);
    if (!surface || !RestorePicture()) {
        surface.reset();
        return;
    }
    int key = surface->GetPixel(0, 0) & 0xFF;
    width = picture->GetWidth();
    height = picture->GetHeight() / this->frameCount;
    SetColourKey(key);
}

bool ZSprite256::RestorePicture() {
    const Surface* picture = FindPicture(bitmapId);
    if (!surface || !picture || picture->GetWidth() != surface->GetWidth() ||
        picture->GetHeight() != surface->GetHeight()) {
        return false;
    }
    for (int row = 0; row < picture->GetHeight(); ++row) {
        std::memcpy(surface->Row(row), picture->Row(row), static_cast<size_t>(picture->GetWidth()));
    }
    return true;
}

ZSprite256::~ZSprite256() { surface.reset(); }

int ZSprite256::GetX() const { return RoundToInt(x); }

int ZSprite256::GetY() const { return RoundToInt(y); }

void ZSprite256::Move() {
    x = x + Cos256(direction) * speed;
    y = y - Sin256(direction) * speed;
}

void ZSprite256::Draw(Surface* target) { DrawAt(GetX(), GetY(), target); }

void ZSprite256::SetPosition(int newX, int newY) {
    x = static_cast<float>(newX);
    y = static_cast<float>(newY);
}

void ZSprite256::SetX(int newX) { x = static_cast<float>(newX); }

void ZSprite256::SetY(int newY) { y = static_cast<float>(newY); }

void ZSprite256::SetCentre(int cx, int cy) {
    x = static_cast<float>(cx - width / 2);
    y = static_cast<float>(cy - height / 2);
}

void ZSprite256::SetColourKey(int index) {
    colourKey = index;
    if (surface) {
        surface->SetColourKey(static_cast<uint8_t>(index));
    }
}

void ZSprite256::SetAnimationWait(int wait) {
    // Far beyond any wait of the game; keeps the cycle length inside int.
    animationWait = wait < 0 ? 0 : wait > 1000000 ? 1000000 : wait;
    animationCounter = 0;
}

void ZSprite256::RestartAnimation() {
    cycleRunning = 1;
    animationCounter = 0;
    frame = 0;
}

void ZSprite256::Animate() {
    int64_t cycle = static_cast<int64_t>(animationWait + 1) * frameCount;
    animationCounter = static_cast<int>((static_cast<int64_t>(animationCounter) + 1) % cycle);
    frame = animationCounter / (animationWait + 1);
    if (animationCounter == 0 && cycleRunning == 1) {
        cycleRunning = 0;
    }
}

bool ZSprite256::FrameSource(Rect* source) const {
    if (!surface || frame < 0 || frame >= frameCount || height <= 0) {
        return false;
    }
    *source = Rect{0, frame * height, width, frame * height + height};
    return true;
}

void ZSprite256::DrawAt(int drawX, int drawY, Surface* target) {
    Rect source;
    if (!target || !FrameSource(&source)) {
        return;
    }
    Rect destination = MakeRect(drawX, drawY, static_cast<int64_t>(drawX) + width, static_cast<int64_t>(drawY) + height);
    target->Blt(&destination, *surface, &source, transparent != 0);
}

void ZSprite256::DrawScaled(Surface* target, uint32_t scaleX, uint32_t scaleY) {
    if (!target) {
        return;
    }
    if (scaleX == 100 && scaleY == 100) {
        Draw(target);
        return;
    }
    Rect source;
    if (!FrameSource(&source)) {
        return;
    }
    int scaledWidth = RoundToInt(width * (scaleX / 100.0));
    int scaledHeight = RoundToInt(height * (scaleY / 100.0));
    int64_t left = static_cast<int64_t>(GetCentreX()) - scaledWidth / 2;
    int64_t top = static_cast<int64_t>(GetCentreY()) - scaledHeight / 2;
    Rect destination = MakeRect(left, top, left + scaledWidth, top + scaledHeight);
    target->Blt(&destination, *surface, &source, transparent != 0);
}

bool ZSprite256::CollidesWith(const ZSprite256& other) const {
    Rect mine;
    Rect theirs;
    if (!FrameSource(&mine) || !other.FrameSource(&theirs)) {
        return false;
    }
    int64_t left1 = GetX();
    int64_t top1 = GetY();
    int64_t right1 = left1 + width - 1;
    int64_t bottom1 = top1 + height - 1;
    int64_t left2 = other.GetX();
    int64_t top2 = other.GetY();
    int64_t right2 = left2 + other.width - 1;
    int64_t bottom2 = top2 + other.height - 1;
    if (right1 < left2 || right2 < left1 || bottom1 < top2 || bottom2 < top1) {
        return false;
    }
    int64_t left = std::max(left1, left2);
    int64_t top = std::max(top1, top2);
    int64_t right = std::min(right1, right2);
    int64_t bottom = std::min(bottom1, bottom2);
    uint8_t key1 = static_cast<uint8_t>(colourKey);
    uint8_t key2 = static_cast<uint8_t>(other.colourKey);
    for (int64_t row = top; row <= bottom; ++row) {
        const uint8_t* line1 = surface->Row(static_cast<int>(row - top1 + mine.top));
        const uint8_t* line2 = other.surface->Row(static_cast<int>(row - top2 + theirs.top));
        for (int64_t column = left; column <= right; ++column) {
            if (line1[column - left1] != key1 && line2[column - left2] != key2) {
                return true;
            }
        }
    }
    return false;
}

void ZSprite256::SaveMotion(ZStateStream* out) const {
    out->Put(x, y, speed, direction, frame, animationWait, animationCounter, cycleRunning);
}

void ZSprite256::LoadMotion(ZStateStream* in) {
    in->Get(x, y, speed, direction, frame, animationWait, animationCounter, cycleRunning);
}
