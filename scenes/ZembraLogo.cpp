#include "scenes/ZembraLogo.h"

#include "gfx/Display.h"
#include "input/Input.h"
#include "shell/XAppData.h"

namespace {

constexpr int32_t kSoundJingle = 228;
constexpr uint32_t kJingleFrame = 5;
constexpr uint32_t kLastFrame = 225;

}  // namespace

ZembraLogo::ZembraLogo(XAppData* app) : app(app), logo(std::make_unique<ZSprite256>(227, 1)) {
    app->StopMusic();
    logo->SetTransparent(false);
    logo->SetCentre(320, 240);
}

ZembraLogo::~ZembraLogo() = default;

void ZembraLogo::UpdateFrame() {
    Surface* back = GetBackSurface();
    FillSurfaceColor(back, nullptr, 0xFFFFFF);
    logo->Draw(back);
    if (frameCounter == kJingleFrame) {
        app->PlaySoundEffect(kSoundJingle, 0);
    }
    // Read every frame, so that a press too early to count is spent here.
    UpdateInput();
    bool skipped = frameCounter >= kFirstSkippableFrame && (IsConfirmPressed() || IsCancelPressed());
    if (skipped) {
        app->StopSoundEffect(kSoundJingle);
    }
    if (skipped || frameCounter >= kLastFrame) {
        app->sceneState = XAppData::kCreateTitle;
    }
    ++frameCounter;
}
