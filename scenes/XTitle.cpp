#include "scenes/XTitle.h"

#include "gfx/Display.h"
#include "shell/XAppData.h"
#include "shell/XMenuData.h"

namespace {

constexpr uint16_t kEntryBitmaps[XTitle::kEntryCount] = {229, 230, 137, 254};
constexpr uint16_t kCharacterBitmaps[XTitle::kCharacterCount] = {166, 167, 168, 169};
// Their lowest positions, 480 pixels below where they come to rest.
constexpr int kCharacterStart[XTitle::kCharacterCount][2] = {{7, 505}, {433, 488}, {342, 709}, {86, 709}};
constexpr uint32_t kRiseFrames = 240;
constexpr int kDirectionUp = 64;

}  // namespace

XTitle::XTitle(XAppData* app)
    : app(app),
      frontEnd(std::make_unique<XFrontEnd>(app)),
      titleLogo(std::make_unique<ZSprite256>(199, 1)),
      logoShadow(std::make_unique<ZSprite256>(201, 1)),
      caption(std::make_unique<ZSprite256>(226, 1)) {
    for (int i = 0; i < kEntryCount; ++i) {
        entries[i] = std::make_unique<ZSprite256>(kEntryBitmaps[i], 1);
    }
    for (int i = 0; i < kCharacterCount; ++i) {
        characters[i] = std::make_unique<ZSprite256>(kCharacterBitmaps[i], 1);
    }
    app->SelectMusic(1);
    titleLogo->SetCentre(310, 92);
    logoShadow->SetCentre(314, 96);
    caption->SetCentre(320, 190);
    for (int i = 0; i < kEntryCount; ++i) {
        entries[i]->SetCentre(320, 330 + 38 * i);
    }
    for (int i = 0; i < kCharacterCount; ++i) {
        characters[i]->SetDirection(kDirectionUp);
        characters[i]->SetSpeed(2.0f);
        characters[i]->SetPosition(kCharacterStart[i][0], kCharacterStart[i][1]);
    }
    // Back from a ranking round the title offers ranking mode again.
    cursor = app->GetMenuSettings()->IsBattleMode() == 1 ? kEntryBattle : kEntryRanking;
}

XTitle::~XTitle() = default;

void XTitle::UpdateFrame() {
    if (frontEnd->GetPhase() == XFrontEnd::kActive) {
        if (frontEnd->GetPhaseCounter() < kRiseFrames) {
            for (auto& character : characters) {
                character->Move();
            }
        }
        // Escape on the title always means leaving the game.
        frontEnd->ChooseEntry(&cursor, kEntryCount, kEntryExit);
    }
    DrawFrame();
    if (frontEnd->Advance()) {
        RunExitAction();
    }
}

void XTitle::RunExitAction() {
    switch (cursor) {
        case kEntryBattle:
            app->GetMenuSettings()->SetBattleMode(1);
            app->sceneState = XAppData::kCreateMenu;
            break;
        case kEntryRanking:
            app->GetMenuSettings()->SetBattleMode(0);
            app->sceneState = XAppData::kCreateRanking;
            break;
        case kEntryOptions: app->sceneState = XAppData::kCreateOptions; break;
        default: app->sceneState = XAppData::kQuit; break;
    }
}

void XTitle::DrawFrame() {
    Surface* back = GetBackSurface();
    if (frontEnd->GetPhase() == XFrontEnd::kFinished) {
        XFrontEnd::DrawFinished(back);
        return;
    }
    frontEnd->DrawBackground(back);
    for (auto& character : characters) {
        character->Draw(back);
    }
    logoShadow->Draw(back);
    titleLogo->Draw(back);
    caption->Draw(back);
    for (auto& entry : entries) {
        entry->Draw(back);
    }
    frontEnd->DrawMarkers(back, *entries[cursor]);
    frontEnd->DrawFade(back);
}
