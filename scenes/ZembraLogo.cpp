#include "scenes/ZembraLogo.h"

#include "gfx/Display.h"
#include "shell/XAppData.h"

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
    if (frameCounter == 5) {
        app->PlaySoundEffect(228, 0);
    }
    if (frameCounter >= 225) {
        app->sceneState = XAppData::kCreateTitle;
    }
    ++frameCounter;
}
