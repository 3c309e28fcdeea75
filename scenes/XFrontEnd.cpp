#include "scenes/XFrontEnd.h"

#include "gfx/Display.h"
#include "gfx/ZAscii.h"
#include "input/Controllers.h"
#include "input/Input.h"
#include "shell/XAppData.h"

namespace {

constexpr int kBackgroundHeight = 238;

}  // namespace

XFrontEnd::XFrontEnd(XAppData* app)
    : app(app),
      background(std::make_unique<ZSprite256>(200, 1)),
      leftMarker(std::make_unique<ZSprite256>(135, 2)),
      rightMarker(std::make_unique<ZSprite256>(136, 2)) {
    background->SetTransparent(false);
    leftMarker->SetAnimationWait(8);
    rightMarker->SetAnimationWait(8);
}

XFrontEnd::~XFrontEnd() = default;

XFrontEnd::Keys XFrontEnd::ReadKeys() {
    UpdateInput();
    Keys keys;
    keys.up = IsKeyPressed(kKeyUp) || IsJoyDirectionEntered(kJoyUp) || IsControllerDirectionEntered(kJoyUp);
    keys.down = !keys.up && (IsKeyPressed(kKeyDown) || IsJoyDirectionEntered(kJoyDown) ||
                             IsControllerDirectionEntered(kJoyDown));
    keys.confirm = IsConfirmPressed();
    keys.cancel = !keys.confirm && IsCancelPressed();
    return keys;
}

uint32_t XFrontEnd::KeyCharacter(int scanCode) {
    uint32_t label = KeyLabel(scanCode);
    if (ZAscii::HasKeyLabel(label)) {
        return label;
    }
    auto us = static_cast<uint32_t>(static_cast<unsigned char>(ScanCodeToChar(scanCode)));
    for (int other = 1; label != 0 && other < 256; ++other) {
        us = other != scanCode && KeyLabel(other) == us ? 0 : us;
    }
    return ZAscii::HasKeyLabel(us) ? us : 0;
}

void XFrontEnd::StepCursor(const Keys& keys, int32_t* cursor, int32_t count) {
    if (keys.up) {
        app->PlaySoundEffect(kSoundMove, 0);
        *cursor = *cursor - 1 < 0 ? count - 1 : *cursor - 1;
    } else if (keys.down) {
        app->PlaySoundEffect(kSoundMove, 0);
        *cursor = *cursor + 1 >= count ? 0 : *cursor + 1;
    }
}

void XFrontEnd::Decide() {
    app->PlaySoundEffect(kSoundDecide, 0);
    leftMarker->SetFrame(0);
    rightMarker->SetFrame(0);
}

void XFrontEnd::ChooseEntry(int32_t* cursor, int32_t count, int32_t cancelEntry) {
    AnimateMarkers();
    Keys keys = ReadKeys();
    StepCursor(keys, cursor, count);
    if (keys.confirm) {
        Decide();
        BeginFadeOut();
    } else if (keys.cancel) {
        Decide();
        *cursor = cancelEntry;
        BeginFadeOut();
    }
}

void XFrontEnd::BeginFadeOut() {
    phaseCounter = 0;
    phase = kFadingOut;
}

void XFrontEnd::AnimateMarkers() {
    leftMarker->Animate();
    rightMarker->Animate();
}

void XFrontEnd::CountFrame() {
    // The keys are read every frame and used only while active, so that a key pressed during a fade is
    // not taken for a new press later and the first active frame compares with the frame before it.
    if (phase != kActive) {
        UpdateInput();
    }
    ++phaseCounter;
    ++frameCounter;
}

bool XFrontEnd::EndPhase() {
    if (phase == kFadingIn && phaseCounter > kFadeLast) {
        phaseCounter = 0;
        phase = kActive;
    } else if (phase == kFadingOut && phaseCounter > kFadeLast) {
        phase = kFinished;
        return true;
    }
    return false;
}

bool XFrontEnd::Advance() {
    CountFrame();
    return EndPhase();
}

void XFrontEnd::DrawBackground(Surface* target) {
    int offset = static_cast<int>(frameCounter % kBackgroundHeight);
    for (int i = 0; i < 3; ++i) {
        background->DrawAt(0, kBackgroundHeight * i - offset, target);
    }
}

void XFrontEnd::DrawMarkers(Surface* target, const ZSprite256& selected) {
    if (phase != kActive && phase != kFadingOut) {
        return;
    }
    int centreY = selected.GetCentreY();
    leftMarker->SetCentre(selected.GetX() - 12, centreY);
    rightMarker->SetCentre(selected.GetX() + selected.GetWidth() + 11, centreY);
    leftMarker->Draw(target);
    rightMarker->Draw(target);
}

void XFrontEnd::DrawFade(Surface* target) const {
    // The counter is read before it goes up, so each fade shows levels 100..0 or 0..100 in 21 frames.
    if (phase == kFadingIn) {
        WipeColumns(target, 100 - 5 * static_cast<int>(phaseCounter));
    } else if (phase == kFadingOut) {
        WipeColumns(target, 5 * static_cast<int>(phaseCounter));
    }
}

void XFrontEnd::DrawFinished(Surface* target) { WipeTopBottom(target, 100); }
