#include "round/XPlayerChara.h"

#include <cstdlib>

#include "base/ZStateStream.h"
#include "gfx/Maths.h"
#include "round/XCanvasPlane.h"
#include "round/XEffectManager.h"
#include "round/XItemChara.h"
#include "shell/XAppData.h"

namespace {

constexpr int32_t kCollisionSound = 178;
constexpr int32_t kSplashSound = 185;
// The stamp and the shadow sit at the character's feet, below the body's centre.
constexpr int kFeetOffset = 14;
constexpr int kShadowOffset = 15;
constexpr int kGroundLift = 14;
constexpr float kArrowDistance = 20.0f;

// Rise per update of the first half of a bounce; the second half comes down the same curve.
constexpr int32_t kHopRise[17] = {8, 7, 6, 6, 5, 5, 5, 4, 4, 4, 3, 3, 3, 2, 2, 1, 0};

// The computer's radii, cone and steering dead zone.
constexpr double kNearRadius = 80.0;
constexpr double kAheadRadius = 130.0;
constexpr int kConeHalfWidth = 32;
constexpr int kDeadZone = 10;
constexpr int kSwerve = 12;
constexpr double kFarAway = 1000000.0;

}  // namespace

XPlayerChara::XPlayerChara(XAppData* app, uint16_t bodyBitmap, uint16_t brushBitmap, uint16_t wideBrushBitmap,
                           uint16_t blotBitmap, uint16_t bounceBitmap)
    : ZSprite256(bodyBitmap, 4),
      app(app),
      bounceImage(std::make_unique<ZSprite256>(bounceBitmap, 1)),
      frozenImage(std::make_unique<ZSprite256>(159, 1)),
      drainedImage(std::make_unique<ZSprite256>(171, 4)),
      brush(std::make_unique<ZSprite256>(brushBitmap, 1)),
      wideBrush(std::make_unique<ZSprite256>(wideBrushBitmap, 1)),
      blot(std::make_unique<ZSprite256>(blotBitmap, 1)),
      bandage(std::make_unique<ZSprite256>(121, 1)),
      footprint(std::make_unique<ZSprite256>(119, 1)),
      shadow(std::make_unique<ZSprite256>(120, 1)),
      arrow(std::make_unique<ZSprite256>(117, 32)),
      dimArrow(std::make_unique<ZSprite256>(118, 32)) {
    if (const Surface* surface = brush->GetSurface()) {
        colour = surface->GetPixel(brush->GetWidth() / 2, brush->GetHeight() / 2);
    }
}

XPlayerChara::~XPlayerChara() = default;

void XPlayerChara::SetOpponents(XPlayerChara* first, XPlayerChara* second, XPlayerChara* third) {
    opponents = {first, second, third};
}

void XPlayerChara::SetCanvas(XCanvasPlane* newCanvas) {
    canvas = newCanvas;
    if (!canvas) {
        return;
    }
    XCanvasPlane::Margins m = canvas->GetMargins();
    int fieldWidth = canvas->GetWidth();
    int fieldHeight = canvas->GetHeight();
    // The body may reach above the field by its lift: its feet are what stays on the ground.
    moveBounds = Bounds{m.left, fieldWidth - m.right - GetWidth(), m.top - kGroundLift,
                        fieldHeight - m.bottom - GetHeight() - kGroundLift};
    splashBounds = Bounds{m.left + 4, fieldWidth - m.right - brush->GetWidth() - 3, m.top + 4,
                          fieldHeight - m.bottom - brush->GetHeight() - 3};
}

void XPlayerChara::ResetForRound() {
    RestartAnimation();
    computerTurning = false;
    SetState(kNormal);
    hop = 0;
    score = 0;
    arrowPhase = false;
    computerDelay = 0;
    // Blots still due from the last round would paint the new round's clean field.
    splashCounter = 0;
}

void XPlayerChara::TurnLeft() {
    if (GetDirection() != -1) {
        SetDirection(NormaliseDirection(GetDirection() + 4));
    }
}

void XPlayerChara::TurnRight() {
    if (GetDirection() != -1) {
        SetDirection(NormaliseDirection(GetDirection() - 4 + 256));
    }
}

void XPlayerChara::SetState(int32_t newState) {
    state = newState;
    stateTimer = 0;
    switch (newState) {
        case kNormal:
            SetAnimationWait(3);
            SetSpeed(4.0f);
            break;
        case kFast:
            SetAnimationWait(2);
            SetSpeed(6.0f);
            break;
        case kSlowed:
            SetAnimationWait(4);
            SetSpeed(2.0f);
            break;
        case kFrozen:
            SetSpeed(0.0f);
            AddEffect(XEffectManager::kMagic);
            break;
        case kDrained:
            SetAnimationWait(3);
            SetSpeed(3.0f);
            AddEffect(XEffectManager::kMagic);
            break;
        case kWide:
            SetAnimationWait(3);
            SetSpeed(4.0f);
            break;
        case kBounced:
            SetSpeed(4.0f);
            break;
        default:
            break;
    }
}

void XPlayerChara::UpdateAnimation(uint32_t counter) {
    Animate();
    arrowPhase = (counter / 6) % 2 == 0;
}

void XPlayerChara::Move() {
    if (!TakesPart()) {
        return;
    }
    ZSprite256::Move();
    footprint->SetPosition(GetX(), GetY());
}

void XPlayerChara::UpdateState() {
    if (!TakesPart()) {
        return;
    }
    switch (state) {
        case kBounced:
            if (stateTimer < 17) {
                hop += kHopRise[stateTimer];
            } else if (stateTimer < kBounceFrames) {
                hop -= kHopRise[33 - stateTimer];
            }
            ++stateTimer;
            if (stateTimer >= kBounceFrames) {
                SetState(kSlowed);
            }
            break;
        case kSlowed:
            if (++stateTimer >= kSlowedFrames) {
                SetState(kNormal);
            }
            break;
        case kFrozen:
            if (++stateTimer >= kFrozenFrames) {
                SetState(kNormal);
            }
            break;
        case kFast:
            if (++stateTimer % 4 == 0) {
                AddEffect(XEffectManager::kSpeed);
            }
            break;
        case kDrained:
            ++stateTimer;
            break;
        case kWide:
            if (++stateTimer % 6 == 0) {
                AddEffect(XEffectManager::kExtend);
            }
            break;
        default:
            break;
    }
    if (splashCounter > 0) {
        if (splashCounter % 4 == 0 && app) {
            app->PlaySoundEffect(kSplashSound, 0);
        }
        SplashRandomBlot();
        --splashCounter;
    }
}

void XPlayerChara::SplashRandomBlot() {
    int x = Random(splashBounds.maxX - splashBounds.minX) + splashBounds.minX;
    int y = Random(splashBounds.maxY - splashBounds.minY) + splashBounds.minY;
    brush->SetPosition(x, y);
    if (canvas) {
        canvas->Stamp(brush.get());
    }
    if (effects) {
        effects->AddEffect(XEffectManager::kBomb, brush->GetCentreX(), brush->GetCentreY());
    }
}

void XPlayerChara::ClampToField() {
    if (!TakesPart()) {
        return;
    }
    if (GetX() < moveBounds.minX) {
        SetX(moveBounds.minX);
    } else if (GetX() > moveBounds.maxX) {
        SetX(moveBounds.maxX);
    }
    if (GetY() < moveBounds.minY) {
        SetY(moveBounds.minY);
    } else if (GetY() > moveBounds.maxY) {
        SetY(moveBounds.maxY);
    }
}

void XPlayerChara::CheckCharacterCollisions() {
    if (!TakesPart() || state == kBounced) {
        return;
    }
    for (XPlayerChara* other : opponents) {
        if (!other || !other->TakesPart() || other->state == kBounced) {
            continue;
        }
        if (!footprint->CollidesWith(*other->footprint) || !CollidesWith(*other)) {
            continue;
        }
        if (app) {
            app->PlaySoundEffect(kCollisionSound, 0);
        }
        int mine = GetDirection();
        SetDirection(other->GetDirection());
        other->SetDirection(mine);
        other->SetState(kBounced);
        SetState(kBounced);
        return;
    }
}

bool XPlayerChara::CanPickUpItem() const {
    if (!TakesPart() || state == kBounced || state == kFrozen || !item ||
        item->GetKind() == XItemChara::kNone) {
        return false;
    }
    return footprint->CollidesWith(*item->GetFootprint()) && CollidesWith(*item);
}

void XPlayerChara::ApplyItem() {
    if (!item) {
        return;
    }
    switch (item->GetKind()) {
        case XItemChara::kClock:
        case XItemChara::kPotion: {
            bool clock = item->GetKind() == XItemChara::kClock;
            for (XPlayerChara* other : opponents) {
                if (!other || !other->TakesPart() || other->state == kBounced) {
                    continue;
                }
                other->SetState(clock ? kFrozen : kDrained);
                if (!clock) {
                    other->computerDelay = Random(80);
                }
            }
            break;
        }
        case XItemChara::kShoe:
            SetState(kFast);
            break;
        case XItemChara::kMissile:
            Stamp(blot.get(), item->GetCentreX(), item->GetCentreY());
            if (effects) {
                effects->AddEffect(XEffectManager::kBigBomb, item->GetCentreX(), item->GetCentreY());
            }
            break;
        case XItemChara::kThreeMissiles:
            splashCounter = kSplashCount;
            break;
        case XItemChara::kBrushes:
            SetState(kWide);
            break;
        default:
            break;
    }
    item->SetKind(XItemChara::kNone);
}

void XPlayerChara::Paint() {
    if (!TakesPart() || state == kDrained || state == kBounced) {
        return;
    }
    Stamp(state == kWide ? wideBrush.get() : brush.get(), GetCentreX(), GetCentreY() + kFeetOffset);
}

void XPlayerChara::Stamp(ZSprite256* stamp, int centreX, int centreY) {
    if (!canvas || !canvas->GetFieldSurface()) {
        return;
    }
    stamp->SetCentre(centreX, centreY);
    canvas->Stamp(stamp);
}

void XPlayerChara::AddEffect(int32_t kind) {
    if (effects) {
        effects->AddEffect(kind, GetCentreX(), GetCentreY());
    }
}

void XPlayerChara::DrawShadow(Surface* target) {
    if (!TakesPart()) {
        return;
    }
    shadow->SetCentre(GetCentreX(), GetCentreY() + kShadowOffset);
    shadow->Draw(target);
}

void XPlayerChara::Draw(Surface* target) {
    if (!TakesPart()) {
        return;
    }
    int x = GetX();
    int y = GetY() - hop;
    switch (state) {
        case kSlowed:
            DrawAt(x, y, target);
            bandage->SetCentre(GetCentreX() - 1, GetCentreY() + 2);
            bandage->Draw(target);
            break;
        case kFrozen:
            frozenImage->DrawAt(x, y, target);
            break;
        case kDrained:
            drainedImage->SetFrame(GetFrame());
            drainedImage->DrawAt(x, y, target);
            break;
        case kBounced:
            bounceImage->DrawAt(x, y, target);
            break;
        default:
            DrawAt(x, y, target);
            break;
    }
    if (!arrowVisible) {
        return;
    }
    float ax = static_cast<float>(GetCentreX()) + Cos256(GetDirection()) * kArrowDistance;
    float ay = static_cast<float>(GetCentreY()) - Sin256(GetDirection()) * kArrowDistance;
    ZSprite256* pointer = arrowPhase ? arrow.get() : dimArrow.get();
    pointer->SetCentre(RoundToInt(ax), RoundToInt(ay) - hop);
    pointer->SetFrame(DirectionTo32(GetDirection()));
    pointer->Draw(target);
}

void XPlayerChara::Think(uint32_t counter) {
    if (controlType != kComputer) {
        return;
    }
    if (computerTurning) {
        int d = TurnToward(GetDirection(), computerTarget, 4);
        SetDirection(d);
        if (std::abs(d - computerTarget) <= 2) {
            computerTurning = false;
        }
        return;
    }
    if (state != kDrained) {
        int threat = FindThreat();
        if (threat != -1) {
            computerTurning = true;
            computerTarget = EvadeDirection(threat);
        }
    }
    computerDelay = computerDelay - 1 <= 0 ? 0 : computerDelay - 1;
    if (item && item->GetKind() != XItemChara::kNone && computerDelay == 0) {
        SteerToward(DirectionBetween(GetCentreX(), GetCentreY(), item->GetCentreX(), item->GetCentreY()));
        return;
    }
    if (state == kDrained && computerDelay == 0) {
        int nearest = NearestOpponent();
        if (nearest != -1) {
            const XPlayerChara* other = opponents[nearest];
            SteerToward(
                DirectionBetween(GetCentreX(), GetCentreY(), other->GetCentreX(), other->GetCentreY()));
        }
        return;
    }
    int direction = GetDirection();
    int x = GetX();
    if ((x <= moveBounds.minX || x >= moveBounds.maxX) && direction != 64 && direction != 192) {
        StartReflectedTurn(ReflectAtVerticalWall(direction));
        return;
    }
    int y = GetY();
    if ((y <= moveBounds.minY || y >= moveBounds.maxY) && direction != 128 && direction != 0) {
        StartReflectedTurn(ReflectAtHorizontalWall(direction));
        return;
    }
    // Left for a quarter, right for a half, left for a quarter: a snake along a straight course.
    uint32_t weave = (counter / 6) % 4;
    if (weave == 0 || weave == 3) {
        TurnLeft();
    } else {
        TurnRight();
    }
}

void XPlayerChara::StartReflectedTurn(int mirrored) {
    computerTurning = true;
    computerTarget = NormaliseDirection(mirrored + Random(5) * 4 - 8);
}

void XPlayerChara::SteerToward(int direction) {
    int diff = NormaliseDirection(direction - GetDirection());
    if (diff > kDeadZone && diff <= 128) {
        TurnLeft();
    } else if (diff > 128 && diff < 256 - kDeadZone) {
        TurnRight();
    }
}

int XPlayerChara::FindThreat() const {
    double best = kFarAway;
    int result = -1;
    int direction = GetDirection();
    for (int i = 0; i < 3; ++i) {
        const XPlayerChara* other = opponents[i];
        if (!other || !other->TakesPart()) {
            continue;
        }
        double dist = Distance(GetCentreX(), GetCentreY(), other->GetCentreX(), other->GetCentreY());
        if (dist < kNearRadius && dist < best) {
            best = dist;
            result = i;
            continue;
        }
        int a = DirectionBetween(GetCentreX(), GetCentreY(), other->GetCentreX(), other->GetCentreY());
        int lo = NormaliseDirection(direction - kConeHalfWidth);
        int hi = NormaliseDirection(direction + kConeHalfWidth);
        bool ahead = hi > lo ? (lo <= a && a <= hi) : (a <= hi || a >= lo);
        if (ahead && dist < kAheadRadius && dist < best) {
            best = dist;
            result = i;
        }
    }
    return result;
}

int XPlayerChara::EvadeDirection(int opponent) const {
    const XPlayerChara* other = opponent >= 0 && opponent < 3 ? opponents[opponent] : nullptr;
    if (!other) {
        return GetDirection();
    }
    int a = DirectionBetween(GetCentreX(), GetCentreY(), other->GetCentreX(), other->GetCentreY());
    int diff = NormaliseDirection(a - GetDirection());
    return diff <= 128 ? SubtractDirection(GetDirection(), kSwerve) : AddDirection(GetDirection(), kSwerve);
}

int XPlayerChara::NearestOpponent() const {
    double best = kFarAway;
    int result = -1;
    for (int i = 0; i < 3; ++i) {
        const XPlayerChara* other = opponents[i];
        if (!other || !other->TakesPart()) {
            continue;
        }
        double dist = Distance(GetCentreX(), GetCentreY(), other->GetCentreX(), other->GetCentreY());
        if (dist < best) {
            best = dist;
            result = i;
        }
    }
    return result;
}

void XPlayerChara::SaveState(ZStateStream* out) const {
    SaveMotion(out);
    footprint->SaveMotion(out);
    out->Put(controlType, arrowPhase, arrowVisible, computerTarget, hop, stateTimer, wins, score, computerTurning,
             state, splashCounter, computerDelay);
}

void XPlayerChara::LoadState(ZStateStream* in) {
    LoadMotion(in);
    footprint->LoadMotion(in);
    in->Get(controlType, arrowPhase, arrowVisible, computerTarget, hop, stateTimer, wins, score, computerTurning,
            state, splashCounter, computerDelay);
}
