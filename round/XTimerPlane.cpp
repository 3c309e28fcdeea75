#include "round/XTimerPlane.h"

#include "base/ZStateStream.h"
#include "gfx/Display.h"
#include "shell/XAppData.h"
#include "shell/XMenuData.h"

namespace {

constexpr int32_t kSegmentsPerItem = 5;

}  // namespace

XTimerPlane::XTimerPlane(XAppData* app)
    : app(app),
      yellowLamp(std::make_unique<ZSprite256>(131, 2)),
      blueLamp(std::make_unique<ZSprite256>(207, 2)),
      barBackground(std::make_unique<ZSprite256>(202, 1)),
      modeLabel(std::make_unique<ZSprite256>(205, 3)),
      roundDisplay(std::make_unique<ZNumber>(206)) {
    barBackground->SetPosition(0, 448);
    barBackground->SetTransparent(false);
    modeLabel->SetPosition(507, 456);
    roundDisplay->SetSurface(GetBackSurface());
    roundDisplay->SetZeroFill(true);
    const XMenuData* settings = app ? app->GetMenuSettings() : nullptr;
    if (settings && !settings->IsBattleMode()) {
        modeCell = 2;
    } else if (settings && settings->IsSingleBattle() == 0) {
        modeCell = 1;
    }
    modeLabel->SetFrame(modeCell);
}

XTimerPlane::~XTimerPlane() = default;

void XTimerPlane::Reset() {
    itemDue = false;
    itemTimes = 0;
    const XMenuData* settings = app ? app->GetMenuSettings() : nullptr;
    if (settings && !settings->IsBattleMode()) {
        // A ranking round is the last 15 segments of a battle round.
        remainingTicks = kRankingTicks;
        elapsedSegments = kSegmentsPerItem;
    } else {
        remainingTicks = kBattleTicks;
        elapsedSegments = 0;
    }
    previousElapsedSegments = elapsedSegments;
}

void XTimerPlane::Tick() {
    if (remainingTicks > 0) {
        --remainingTicks;
    }
    previousElapsedSegments = elapsedSegments;
    elapsedSegments = static_cast<int32_t>((kBattleTicks - remainingTicks) / kSegmentTicks);
    if (previousElapsedSegments < elapsedSegments && elapsedSegments % kSegmentsPerItem == 0) {
        itemDue = true;
        ++itemTimes;
    } else {
        itemDue = false;
    }
}

void XTimerPlane::Draw(Surface* target) {
    barBackground->Draw(target);
    for (int i = 0; i < kLampCount; ++i) {
        ZSprite256* lamp = (i == 5 || i == 10 || i == 15) ? blueLamp.get() : yellowLamp.get();
        lamp->SetFrame(i < kLampCount - elapsedSegments ? 0 : 1);
        lamp->DrawAt(152 + 17 * i, 457, target);
    }
    roundDisplay->SetSurface(target);
    roundDisplay->DrawNumber(67, 456, static_cast<int32_t>(roundNumber), 2);
    modeLabel->Draw(target);
}

void XTimerPlane::SaveState(ZStateStream* out) const {
    out->Put(remainingTicks, itemDue, elapsedSegments, previousElapsedSegments, itemTimes, roundNumber);
}

void XTimerPlane::LoadState(ZStateStream* in) {
    in->Get(remainingTicks, itemDue, elapsedSegments, previousElapsedSegments, itemTimes, roundNumber);
}
